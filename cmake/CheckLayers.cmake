# The core is a stack of layers, each a folder of src/ and a library of its own. A file may
# include headers of its own layer and of the layers below it, never of a layer above, and no
# core file includes Qt. Runs at configure time (a violation stops the build) and as a test.
#
#   files   reading, safe writing, save names
#   edit    write-back, corrections, the save pipeline
#   image   the loaded image, identification, structure
#   text    every user-visible text in both languages, numbers taken from the layout
#   layout  the table of power states, limits, field codecs, voltage texts
#   bytes   byte views, results, codecs, search, sums
#
# The system's own headers belong to the file layer alone, which is built from different files
# on each system: Windows headers only in files/*_win32.*, POSIX headers only in the other
# files/ sources. No core file asks which system it is built for (#if ... _WIN32): the build
# picks the files instead.
cmake_policy(SET CMP0057 NEW)
set(CLOCKVANE_LAYERS bytes layout text image edit files)

set(violations "")
set(allowed "")
foreach(layer IN LISTS CLOCKVANE_LAYERS)
  list(APPEND allowed ${layer})
  file(GLOB layer_files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(layer_file IN LISTS layer_files)
    get_filename_component(file_name ${layer_file} NAME_WE)
    set(windows_file OFF)
    if(layer STREQUAL "files" AND file_name MATCHES "_win32$")
      set(windows_file ON)
    endif()
    file(STRINGS ${layer_file} platform_tests REGEX "^#[ \t]*(if|ifdef|ifndef|elif).*_WIN32")
    foreach(line IN LISTS platform_tests)
      list(APPEND violations "${layer_file}: the build, not the code, picks a system's files: ${line}")
    endforeach()
    file(STRINGS ${layer_file} includes REGEX "^#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*<Q")
        list(APPEND violations "${layer_file}: Qt in the core: ${line}")
      elseif(line MATCHES "#[ \t]*include[ \t]*<(windows|io|winbase|fileapi)\\.h>" AND NOT windows_file)
        list(APPEND violations "${layer_file}: Windows headers belong in files/*_win32.*: ${line}")
      elseif(line MATCHES "#[ \t]*include[ \t]*<(unistd|fcntl|sys/[a-z]+)\\.h>"
             AND (NOT layer STREQUAL "files" OR windows_file))
        list(APPEND violations "${layer_file}: POSIX headers belong in the POSIX files of files/: ${line}")
      elseif(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        if(NOT CMAKE_MATCH_1 IN_LIST allowed)
          list(APPEND violations "${layer_file}: ${layer} may not include ${CMAKE_MATCH_1}/: ${line}")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that break the core's layers:\n  ${text}")
endif()
