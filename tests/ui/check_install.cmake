# Installs the build into a scratch prefix and checks that desktops can find the editor: the
# program, its .desktop file, the AppStream metainfo, the icon and the file type, all under one
# application ID that the files name consistently, the manual pages, the bash completion, and
# the README the About window opens, found from the program's folder.
# Arguments: BUILD_DIR, PREFIX, APP_ID, BINDIR, DATADIR, DOCDIR, MANDIR, WITH_CLI (0 or 1),
# ABOUT_ADDRESS, MIME_TYPE_OF (the mime_type_of tool), SAMPLE (a generated BIOS image).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(program ${PREFIX}/${BINDIR}/clockvane-editor)
set(desktop ${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop)
set(metainfo ${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml)
set(icon ${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg)
set(mime_package ${PREFIX}/${DATADIR}/mime/packages/${APP_ID}.xml)
set(readme ${PREFIX}/${DOCDIR}/README.md ${PREFIX}/${DOCDIR}/docs/screenshot.png)
set(installed ${program} ${desktop} ${metainfo} ${icon} ${mime_package} ${readme}
              ${PREFIX}/${MANDIR}/man1/clockvane-editor.1.gz)
if(WITH_CLI)
  list(APPEND installed ${PREFIX}/${BINDIR}/clockvane ${PREFIX}/${MANDIR}/man1/clockvane.1.gz
       ${PREFIX}/${DOCDIR}/cli.md
       ${PREFIX}/${DATADIR}/bash-completion/completions/clockvane)
endif()
if(NOT IS_ABSOLUTE "${ABOUT_ADDRESS}" AND NOT ABOUT_ADDRESS MATCHES "^[a-z]+:")
  # The About window's page, as the program finds it from its own folder.
  list(APPEND installed ${PREFIX}/${BINDIR}/${ABOUT_ADDRESS})
endif()
foreach(file IN LISTS installed)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

set(mime_type application/x-video-bios-rom)
file(STRINGS ${desktop} exec_line REGEX "^Exec=")
file(STRINGS ${desktop} icon_line REGEX "^Icon=")
file(STRINGS ${desktop} mime_line REGEX "^MimeType=")
if(NOT exec_line STREQUAL "Exec=clockvane-editor %f" OR NOT icon_line STREQUAL "Icon=${APP_ID}")
  message(FATAL_ERROR "desktop file names another program or icon: ${exec_line} ${icon_line}")
endif()
string(FIND "${mime_line}" "=${mime_type}" offered)  # file(STRINGS) escapes the ";"
if(offered EQUAL -1)
  message(FATAL_ERROR "desktop file does not offer the editor for ${mime_type}: ${mime_line}")
endif()
file(READ ${metainfo} component)
foreach(expected IN ITEMS "<id>${APP_ID}</id>"
                          "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
                          "<binary>clockvane-editor</binary>" "<binary>clockvane</binary>"
                          "<mediatype>${mime_type}</mediatype>" "<screenshot type=\"default\">")
  string(FIND "${component}" "${expected}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "metainfo lacks ${expected}")
  endif()
endforeach()

# The file type: shared-mime-info builds its database from the package (and refuses a broken
# one), and a desktop then knows a BIOS image by its name and, named otherwise, by its 55 AA.
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${PREFIX}/${DATADIR}
                        update-mime-database ${PREFIX}/${DATADIR}/mime
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "update-mime-database refused the file type (${result}): ${errors}")
endif()
set(unnamed ${PREFIX}/check/card-image)
configure_file(${SAMPLE} ${unnamed} COPYONLY)
file(WRITE ${PREFIX}/check/notes.txt "not a BIOS\n")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${PREFIX}/${DATADIR}:/usr/share
          XDG_DATA_HOME=${PREFIX}/check ${MIME_TYPE_OF} ${SAMPLE} ${unnamed} ${PREFIX}/check/notes.txt
  OUTPUT_VARIABLE types RESULT_VARIABLE result)
if(NOT types STREQUAL "${mime_type}\n${mime_type}\ntext/plain\n")
  message(FATAL_ERROR "file types of a .rom image, an unnamed image and a text file: ${types}")
endif()
message(STATUS "installed under ${PREFIX} as ${APP_ID}")
