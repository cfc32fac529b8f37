# The Debian package: `cpack -G DEB` in the build folder makes
# package/clockvane_<version>_amd64.deb of everything `cmake --install` puts under /usr, both
# programs included. dpkg-shlibdeps (dpkg-dev) works out the libraries it depends on.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clockvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orvanta)
set(CPACK_PACKAGE_CONTACT "Orvanta Clockvane developers <clockvane@orvanta.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own buttons and file dialogs in German come from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "${PROJECT_DESCRIPTION}\n"
    " Orvanta Clockvane opens a video BIOS image of a Radeon HD 3850, HD 3870 or\n"
    " HD 3870 X2 card, changes the GPU clock, memory clock and VCore of its five\n"
    " power states and saves a modified copy with the image's byte sum kept as it\n"
    " was. It never talks to the hardware. The package holds the desktop editor\n"
    " (clockvane-editor) and the command-line tool (clockvane).")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")

include(CPack)
