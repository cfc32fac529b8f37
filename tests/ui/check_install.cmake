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
# one), and a desktop then knows a BIOS image by its name and, named otherwise, by 55 AA with a
# PCI data structure ("PCIR") within its first kilobyte.
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${PREFIX}/${DATADIR}
                        update-mime-database ${PREFIX}/${DATADIR}/mime
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "update-mime-database refused the file type (${result}): ${errors}")
endif()
# 1,100 bytes: 55 AA, a length byte and "PCIR" at `pcir`. The magic cannot follow the word at
# 0x18, so these files need none; CMake strings could not hold its zero byte anyway.
function(write_option_rom path pcir)
  string(ASCII 85 170 2 start)
  string(REPEAT "x" 1100 filler)
  math(EXPR before "${pcir} - 3")
  math(EXPR after "1100 - ${pcir} - 4")
  string(SUBSTRING "${filler}" 0 ${before} middle)
  string(SUBSTRING "${filler}" 0 ${after} tail)
  file(WRITE ${path} "${start}${middle}PCIR${tail}")
endfunction()
# Each file and the type it must get: the sample by its name alone (it has no PCI data
# structure), the same bytes unnamed (55 AA alone is no BIOS), option ROMs whose "PCIR" lies at
# the first and the last offset looked at, and one past them, and a text file.
set(check ${PREFIX}/check)
configure_file(${SAMPLE} ${check}/card-image COPYONLY)
write_option_rom(${check}/pcir-at-28 28)
write_option_rom(${check}/pcir-at-1023 1023)
write_option_rom(${check}/pcir-at-1024 1024)
write_option_rom(${check}/pcir-at-27 27)
file(WRITE ${check}/notes.txt "not a BIOS\n")
set(cases ${SAMPLE} ${mime_type} ${check}/card-image application/octet-stream
          ${check}/pcir-at-28 ${mime_type} ${check}/pcir-at-1023 ${mime_type}
          ${check}/pcir-at-1024 application/octet-stream
          ${check}/pcir-at-27 application/octet-stream ${check}/notes.txt text/plain)
set(paths "")
set(expected "")
foreach(item IN LISTS cases)
  if(item MATCHES "^/")
    list(APPEND paths ${item})
  else()
    string(APPEND expected "${item}\n")
  endif()
endforeach()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${PREFIX}/${DATADIR}:/usr/share
          XDG_DATA_HOME=${check} ${MIME_TYPE_OF} ${paths}
  OUTPUT_VARIABLE types RESULT_VARIABLE result)
if(NOT types STREQUAL expected)
  message(FATAL_ERROR "file types of ${paths}:\n${types}expected:\n${expected}")
endif()
message(STATUS "installed under ${PREFIX} as ${APP_ID}")
