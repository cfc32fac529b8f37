# Installs the command-line tool with its manual page and its bash completion.
install(TARGETS clockvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

include(${PROJECT_SOURCE_DIR}/cmake/ManPages.cmake)
clockvane_man_page(clockvane "read, edit and compare HD 3850/3870/3870 X2 video BIOS images")

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
