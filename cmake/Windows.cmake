# What every Windows program of the project gets, whichever compiler builds it: Windows 7 SP1
# as the oldest system, the wide (UTF-16) API names, static linking so that the .exe alone is
# enough on the user's machine, and for each program a version resource and an application
# manifest (clockvane_windows_resources below).
enable_language(RC)

# 0x0601 is Windows 7; no API of a later system may be called without a run-time check.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 UNICODE _UNICODE NOMINMAX
                        WIN32_LEAN_AND_MEAN)
add_link_options(-static)

set(CLOCKVANE_WINDOWS_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/windows)

# clockvane_windows_resources(TARGET DESCRIPTION): compiles TARGET's version resource (from the
# one project version) and its manifest into the executable.
function(clockvane_windows_resources target description)
  set(CLOCKVANE_RC_NAME ${target})
  set(CLOCKVANE_RC_DESCRIPTION "${description}")
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  configure_file(${CLOCKVANE_WINDOWS_TEMPLATES}/app.manifest.in ${dir}/${target}.manifest @ONLY)
  configure_file(${CLOCKVANE_WINDOWS_TEMPLATES}/resources.rc.in ${dir}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${dir}/${target}.rc)
  set_source_files_properties(${dir}/${target}.rc PROPERTIES OBJECT_DEPENDS ${dir}/${target}.manifest)
endfunction()
