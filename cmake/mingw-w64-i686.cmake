# Cross compiling for 32-bit Windows with mingw-w64: the production target,
# since the JV-Link control is a 32-bit in-process server.
#   bash scripts/build-windows-deps.sh i686
#   cmake -S . -B build/mingw-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(FURLONG_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
