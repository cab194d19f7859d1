# Cross compiling for 64-bit Windows with mingw-w64: the target the tests run
# on under Wine (64-bit Wine runs no 32-bit programs without its 32-bit half).
#   bash scripts/build-windows-deps.sh x86_64
#   cmake -S . -B build/mingw-x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FURLONG_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
