# Manual pages made at build time from each program's --help and --version (Debian's
# help2man), so that a page never describes an option the program does not have.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
  message(WARNING "help2man not found: the manual pages are not built (apt-get install help2man)")
endif()

# clockvane_man_page(TARGET SUMMARY [COMPONENT component] [INCLUDE file]): builds TARGET.1,
# with the extra sections of a help2man include file, and installs it into section 1.
function(clockvane_man_page target summary)
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
  add_custom_target(${target}_man_page ALL DEPENDS ${page})
  if(PAGE_COMPONENT)
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${PAGE_COMPONENT})
  else()
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endfunction()
