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
cmake_policy(SET CMP0057 NEW)
set(CLOCKVANE_LAYERS bytes layout text image edit files)

set(violations "")
set(allowed "")
foreach(layer IN LISTS CLOCKVANE_LAYERS)
  list(APPEND allowed ${layer})
  file(GLOB layer_files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(layer_file IN LISTS layer_files)
    file(STRINGS ${layer_file} includes REGEX "^#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*<Q")
        list(APPEND violations "${layer_file}: Qt in the core: ${line}")
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
