# Fails when any file of the toolkit-free core includes a Qt header.
file(GLOB_RECURSE core_files
  ${SOURCE_DIR}/rom/* ${SOURCE_DIR}/clocks/* ${SOURCE_DIR}/writeback/* ${SOURCE_DIR}/checksum/*)
set(offenders "")
foreach(core_file IN LISTS core_files)
  file(STRINGS ${core_file} qt_includes REGEX "#[ \t]*include[ \t]*[<\"]Q")
  if(qt_includes)
    list(APPEND offenders "${core_file}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt includes in the core: ${offenders}")
endif()
message(STATUS "core is toolkit-free (${CMAKE_CURRENT_LIST_FILE})")
