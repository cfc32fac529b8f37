# Installs the build into a scratch prefix and checks that desktops can find the editor: the
# program, its .desktop file, the AppStream metainfo and the icon, all under one application
# ID that the files name consistently, and the README the About window opens.
# Arguments: BUILD_DIR, PREFIX, APP_ID, BINDIR, DATADIR, DOCDIR.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} --component editor
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(program ${PREFIX}/${BINDIR}/clockvane-editor)
set(desktop ${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop)
set(metainfo ${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml)
set(icon ${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg)
set(readme ${PREFIX}/${DOCDIR}/README.md ${PREFIX}/${DOCDIR}/docs/screenshot.png)
foreach(installed IN ITEMS ${program} ${desktop} ${metainfo} ${icon} ${readme})
  if(NOT EXISTS ${installed})
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()

file(STRINGS ${desktop} exec_line REGEX "^Exec=")
file(STRINGS ${desktop} icon_line REGEX "^Icon=")
if(NOT exec_line STREQUAL "Exec=clockvane-editor" OR NOT icon_line STREQUAL "Icon=${APP_ID}")
  message(FATAL_ERROR "desktop file names another program or icon: ${exec_line} ${icon_line}")
endif()
file(READ ${metainfo} component)
foreach(expected IN ITEMS "<id>${APP_ID}</id>"
                          "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
                          "<binary>clockvane-editor</binary>")
  string(FIND "${component}" "${expected}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "metainfo lacks ${expected}")
  endif()
endforeach()
message(STATUS "installed under ${PREFIX} as ${APP_ID}")
