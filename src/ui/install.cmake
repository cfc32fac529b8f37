# Installs the editor the way desktops find it: the program, its .desktop file, the AppStream
# metainfo and the scalable icon, all under the one application ID, and the README that the
# About window opens.
install(TARGETS clockvane-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CLOCKVANE_DATA_DIR}/${CLOCKVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CLOCKVANE_DATA_DIR}/${CLOCKVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CLOCKVANE_DATA_DIR}/${CLOCKVANE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
