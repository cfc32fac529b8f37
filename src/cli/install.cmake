# Installs the command-line tool with its manual page, its guide and its bash completion.
install(TARGETS clockvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# clockvane(1) is written from the tool's and each command's --help text (one source: the page,
# the help and the options cannot drift apart), followed by its own EXAMPLES and SEE ALSO.
include(${PROJECT_SOURCE_DIR}/cmake/ManPages.cmake)
add_executable(clockvane_make_man_page make_man_page.cpp)
target_link_libraries(clockvane_make_man_page PRIVATE clockvane_cli_lib clockvane_version)
set(clockvane_page ${CMAKE_CURRENT_BINARY_DIR}/clockvane.1)
set(clockvane_page_sections ${PROJECT_SOURCE_DIR}/data/clockvane-man-sections.roff)
add_custom_command(OUTPUT ${clockvane_page}
  COMMAND clockvane_make_man_page ${clockvane_page} ${clockvane_page_sections}
          ${CLOCKVANE_RELEASE_DATE} "read, edit and compare HD 3850/3870/3870 X2 video BIOS images"
  DEPENDS clockvane_make_man_page ${clockvane_page_sections}
  COMMENT "Writing the manual page clockvane(1)"
  VERBATIM)
clockvane_install_man_page(${clockvane_page} clockvane)

# The guide with sample output, beside the README.
install(FILES ${PROJECT_SOURCE_DIR}/docs/cli.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The completion goes where bash-completion looks for it, taken relative to its prefix so that
# an installation under another prefix (~/.local) keeps the same layout.
set(completions_dir ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(BASH_COMPLETION QUIET bash-completion)
  if(BASH_COMPLETION_FOUND)
    pkg_get_variable(completions_absolute bash-completion completionsdir)
    pkg_get_variable(completions_prefix bash-completion prefix)
    file(RELATIVE_PATH completions_dir ${completions_prefix} ${completions_absolute})
  endif()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/clockvane.bash-completion DESTINATION ${completions_dir}
        RENAME clockvane)
