include_guard(GLOBAL)

# Manual pages are installed compressed with gzip -9n, as Debian wants them: the most
# compression, and no name or time stamp in the header so that two builds give the same bytes.
find_program(GZIP gzip REQUIRED)

# clockvane_install_man_page(PAGE TARGET [COMPONENT component]): compresses the section-1 page
# PAGE (made by the custom command of TARGET's page) and installs it.
function(clockvane_install_man_page page target)
  cmake_parse_arguments(PAGE "" "COMPONENT" "" ${ARGN})
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${GZIP} -9nkf ${page}
    DEPENDS ${page}
    VERBATIM)
  add_custom_target(${target}_man_page ALL DEPENDS ${page}.gz)
  if(PAGE_COMPONENT)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${PAGE_COMPONENT})
  else()
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endfunction()

# The editor's page is made at build time from its --help and --version (Debian's help2man),
# so that it never describes an option the program does not have.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
  message(WARNING "help2man not found: the editor's manual page is not built (apt-get install help2man)")
endif()

# clockvane_help2man_page(TARGET SUMMARY [COMPONENT component] [INCLUDE file]): builds TARGET.1,
# with the extra sections of a help2man include file, and installs it into section 1.
function(clockvane_help2man_page target summary)
  cmake_parse_arguments(PAGE "" "COMPONENT;INCLUDE" "" ${ARGN})
  set(include)
  if(PAGE_INCLUDE)
    set(include --include=${PAGE_INCLUDE})
  endif()
  if(NOT HELP2MAN)
    return()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
  # A sanitizer build runs the program too; a leak report of Qt's at exit is no reason to stop.
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${HELP2MAN} --no-info --no-discard-stderr --section=1 --name=${summary} ${include}
            --output=${page} $<TARGET_FILE:${target}>
    DEPENDS ${target} ${PAGE_INCLUDE}
    COMMENT "Writing the manual page ${target}(1)"
    VERBATIM)
  if(PAGE_COMPONENT)
    clockvane_install_man_page(${page} ${target} COMPONENT ${PAGE_COMPONENT})
  else()
    clockvane_install_man_page(${page} ${target})
  endif()
endfunction()
