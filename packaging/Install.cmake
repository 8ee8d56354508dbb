# What `cmake --install` puts where the desktop looks for it, and the Debian package `make package` builds.

include(GNUInstallDirs)

set(IVOK2_ICON_SIZES 16 32 48 64 128 256)
set(IVOK2_METAINFO io.github.ivok2.ivok2.metainfo.xml)
set(IVOK2_MAINTAINER "Ivok2 maintainers <maintainers@users.noreply.c-seed-fb3f4f8a.example>"
    CACHE STRING "Maintainer named in the Debian package")

# Relocations resolved at start-up and then made read-only, as Debian's hardened programs are linked.
target_link_options(ivok2 PRIVATE LINKER:-z,relro LINKER:-z,now)

install(TARGETS ivok2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/ivok2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${IVOK2_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/ivok2.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${IVOK2_ICON_SIZES})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/ivok2-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ivok2.png)
endforeach()

# The manual page and the changelog are installed compressed, as Debian expects; gzip -n keeps the bytes free
# of time stamps so that two builds give the same package.
find_program(IVOK2_GZIP gzip REQUIRED)
foreach(doc ivok2.6 ja/ivok2.6 changelog)
  get_filename_component(doc_dir ${CMAKE_BINARY_DIR}/packaging/${doc} DIRECTORY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${doc}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${doc_dir}
    COMMAND ${IVOK2_GZIP} -9nc ${CMAKE_CURRENT_LIST_DIR}/${doc} > ${CMAKE_BINARY_DIR}/packaging/${doc}.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${doc}
    VERBATIM)
endforeach()
add_custom_target(ivok2_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/ivok2.6.gz
                                         ${CMAKE_BINARY_DIR}/packaging/ja/ivok2.6.gz
                                         ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
# The manual in English, and in Japanese where the reader's locale asks for it.
install(FILES ${CMAKE_BINARY_DIR}/packaging/ivok2.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/packaging/ja/ivok2.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man6)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ivok2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${IVOK2_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "visual attention training game")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ivok2)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${IVOK2_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver is a plug-in loaded at run time, which the scan of linked libraries cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk, libqt6sql6-sqlite")
# Native on a Wayland session, where the flicker counts the display's refreshes; without it Qt runs the game
# through XWayland on the timer. Qt's own dialogs speak Japanese with the translations; without them, English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
# CPack puts the summary on the first line and indents this text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Up to 100 symbols are scattered over the window. Two pictures of them
alternate without end, each followed by a blank field, and the second
picture differs from the first in exactly one symbol: another colour,
another or a look-alike symbol, a symbol gone, or a symbol moved to a
neighbouring cell. Because of the blank in between the change does not
catch the eye; the player searches for it and clicks it, and a score
board keeps the last five times.

The interface is Japanese.")
# Debian keeps the programs of its games section in /usr/games; a plain install keeps bin/.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianGamesDir.cmake)
include(CPack)
