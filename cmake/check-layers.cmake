cmake_minimum_required(VERSION 3.25)

# Fails when a file of the logic layer includes what lies above that layer: a Qt header from outside
# QtCore, or a header of the project that is not itself part of the layer.
#   ROOT    the source tree
#   FILES   the layer's files, relative to ROOT, separated by ","
#   DIRS    folders below ROOT whose every file belongs to the layer, separated by ","
#   QTCORE  QtCore's include folder
string(REPLACE "," ";" files "${FILES}")
string(REPLACE "," ";" dirs "${DIRS}")
foreach(dir IN LISTS dirs)
  file(GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${dir}/*")
  list(APPEND files ${found})
endforeach()
list(REMOVE_DUPLICATES files)
if(NOT files OR NOT IS_DIRECTORY "${QTCORE}")
  message(FATAL_ERROR "nothing to check: FILES '${FILES}', DIRS '${DIRS}', QTCORE '${QTCORE}'")
endif()

set(faults)
foreach(file IN LISTS files)
  file(STRINGS "${ROOT}/${file}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "include[ \t]*<([^>]+)>")
      set(header "${CMAKE_MATCH_1}")
      if(header MATCHES "^Q" AND NOT header MATCHES "^QtCore(/|$)" AND NOT EXISTS "${QTCORE}/${header}")
        list(APPEND faults "${file} includes <${header}>, which is not a QtCore header")
      endif()
    elseif(line MATCHES "include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      if(NOT header IN_LIST files)
        list(APPEND faults "${file} includes \"${header}\", which is not part of the layer")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "The logic layer reaches above itself:\n  ${text}")
endif()
list(LENGTH files count)
message(STATUS "${count} files checked: QtCore and their own layer only")
