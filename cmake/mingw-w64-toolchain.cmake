# What both MinGW-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR and
# CLOCKVANE_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${CLOCKVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CLOCKVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CLOCKVANE_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW-w64 tree only; programs run at build time (the
# sample generator) are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${CLOCKVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
