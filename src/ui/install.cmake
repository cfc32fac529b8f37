# Installs the editor the way desktops find it: the program, its .desktop file, the AppStream
# metainfo and the scalable icon, all under the one application ID, and the README that the
# About window opens. They form the install component "editor".
install(TARGETS clockvane-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT editor)
install(FILES ${CLOCKVANE_DATA_DIR}/${CLOCKVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT editor)
install(FILES ${CLOCKVANE_METAINFO}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT editor)
install(FILES ${CLOCKVANE_DATA_DIR}/${CLOCKVANE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT editor)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT editor)
# The README shows the window's picture from docs/, next to it.
install(FILES ${PROJECT_SOURCE_DIR}/docs/screenshot.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
        COMPONENT editor)
# The file type of video BIOS images, so that file managers offer the editor for them; the
# shared-mime-info database is rebuilt from it on installation (dpkg's trigger does that).
install(FILES ${CLOCKVANE_DATA_DIR}/${CLOCKVANE_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${CLOCKVANE_APP_ID}.xml
        COMPONENT editor)

include(${PROJECT_SOURCE_DIR}/cmake/ManPages.cmake)
clockvane_help2man_page(clockvane-editor "desktop editor for HD 3850/3870/3870 X2 video BIOS images"
                        COMPONENT editor INCLUDE ${CLOCKVANE_DATA_DIR}/clockvane-editor.h2m)
