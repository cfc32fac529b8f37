# Cross-builds the Windows programs for i686 with Debian's MinGW-w64 compilers, the variant
# with POSIX threads (std::thread and std::mutex need it): g++-mingw-w64-i686-posix.
# scripts/build-windows.sh passes this file; cmake/Windows.cmake adds the Windows settings.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CLOCKVANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-toolchain.cmake)
