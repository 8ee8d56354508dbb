# Run by CPack on the staged files, before they become the Debian package: moves the program from usr/bin to
# usr/games, where Debian keeps the programs of its games section.
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr)
file(MAKE_DIRECTORY ${staged}/games)
file(RENAME ${staged}/bin/ivok2 ${staged}/games/ivok2)
file(GLOB left ${staged}/bin/*)
if(NOT left)
  file(REMOVE_RECURSE ${staged}/bin)
endif()
