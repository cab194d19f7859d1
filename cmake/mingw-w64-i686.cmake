# Cross compiling for 32-bit Windows with mingw-w64 (the JV-Link control is a
# 32-bit in-process server, so the Windows program is a 32-bit process).
#   cmake -S . -B build/mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(FURLONG_MINGW_TRIPLE i686-w64-mingw32)

# The "posix" thread model gives std::thread and std::mutex with GCC 12.
find_program(FURLONG_MINGW_CXX NAMES ${FURLONG_MINGW_TRIPLE}-g++-posix ${FURLONG_MINGW_TRIPLE}-g++ REQUIRED)
find_program(FURLONG_MINGW_CC NAMES ${FURLONG_MINGW_TRIPLE}-gcc-posix ${FURLONG_MINGW_TRIPLE}-gcc)
find_program(FURLONG_MINGW_RC NAMES ${FURLONG_MINGW_TRIPLE}-windres)
set(CMAKE_CXX_COMPILER ${FURLONG_MINGW_CXX})
if(FURLONG_MINGW_CC)
  set(CMAKE_C_COMPILER ${FURLONG_MINGW_CC})
endif()
if(FURLONG_MINGW_RC)
  set(CMAKE_RC_COMPILER ${FURLONG_MINGW_RC})
endif()

# Header-only libraries of the host (SimpleIni, CLI11, nlohmann/json) serve
# every target. They are offered through a root of their own that holds links
# to them alone, so the host's C library headers never reach the compiler.
set(FURLONG_HEADER_ONLY_ROOT ${CMAKE_BINARY_DIR}/header-only-root)
foreach(header SimpleIni.h CLI nlohmann)
  if(EXISTS /usr/include/${header} AND NOT EXISTS ${FURLONG_HEADER_ONLY_ROOT}/usr/include/${header})
    file(MAKE_DIRECTORY ${FURLONG_HEADER_ONLY_ROOT}/usr/include)
    file(CREATE_LINK /usr/include/${header} ${FURLONG_HEADER_ONLY_ROOT}/usr/include/${header} SYMBOLIC)
  endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${FURLONG_MINGW_TRIPLE} ${FURLONG_HEADER_ONLY_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must not hand out the host's libraries (lhasa): only .pc files of
# the cross environment count.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/${FURLONG_MINGW_TRIPLE}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Executables carry their runtime, so they run on a Windows without mingw DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
