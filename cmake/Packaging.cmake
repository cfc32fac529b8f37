# The Debian package: `cpack -G DEB` in the build folder makes
# package/clockvane_<version>_amd64.deb of everything `cmake --install` puts under /usr, both
# programs included. dpkg-shlibdeps (dpkg-dev) works out the libraries it depends on.
# The package is built here, from the project's own tree, with no Debian revision: Debian
# calls that a native package, whose changelog is changelog.gz.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clockvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orvanta)
set(CPACK_PACKAGE_CONTACT "Orvanta Clockvane developers <clockvane@orvanta.example>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own buttons and file dialogs in German come from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
# The synopsis is the project's description; CPack puts it on the Description line itself and
# indents the long description under it, which must not repeat it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvanta Clockvane opens a video BIOS image of a Radeon HD 3850, HD 3870 or\n"
    "HD 3870 X2 card, changes the GPU clock, memory clock and VCore of its five\n"
    "power states and saves a modified copy with the image's byte sum kept as it\n"
    "was. It never talks to the hardware. The package holds the desktop editor\n"
    "(clockvane-editor) and the command-line tool (clockvane).")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")

# The copyright file in Debian's machine-readable format, and the changelog entry of this
# version, compressed with gzip -9n like the manual pages.
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# RFC 5322 form of a YYYY-MM-DD date, as Debian's changelog wants it: the weekday by Sakamoto's
# method (0 is Sunday).
function(clockvane_changelog_date date out_var)
  string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-0?([0-9]+)$" _ ${date})
  set(year ${CMAKE_MATCH_1})
  set(month ${CMAKE_MATCH_2})
  set(day ${CMAKE_MATCH_3})
  set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR month_index "${month} - 1")
  list(GET month_offsets ${month_index} month_offset)
  if(month LESS 3)
    math(EXPR year_before "${year} - 1")
  else()
    set(year_before ${year})
  endif()
  math(EXPR weekday "(${year_before} + ${year_before} / 4 - ${year_before} / 100 \
                     + ${year_before} / 400 + ${month_offset} + ${day}) % 7")
  set(weekday_names Sun Mon Tue Wed Thu Fri Sat)
  set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekday_names ${weekday} weekday_name)
  list(GET month_names ${month_index} month_name)
  if(day LESS 10)
    set(day 0${day})
  endif()
  set(${out_var} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()
clockvane_changelog_date(${CLOCKVANE_RELEASE_DATE} CLOCKVANE_CHANGELOG_DATE)

set(changelog ${CMAKE_BINARY_DIR}/package-files/changelog)
configure_file(${PROJECT_SOURCE_DIR}/data/changelog.in ${changelog} @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND ${GZIP} -9nkf ${changelog}
  DEPENDS ${changelog}
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
