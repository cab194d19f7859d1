# Shared part of the mingw-w64 toolchain files: set FURLONG_MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR, then include this file.
#
# Libraries that Debian does not ship for mingw (lhasa, GoogleTest) are built
# into a prefix of their own by scripts/build-windows-deps.sh; this file finds
# them there. The prefix is FURLONG_WINDOWS_DEPS (a CMake variable or an
# environment variable) followed by the triple, by default
# build/windows-deps/<triple> of this checkout.
set(CMAKE_SYSTEM_NAME Windows)

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

if(NOT FURLONG_WINDOWS_DEPS)
  if(DEFINED ENV{FURLONG_WINDOWS_DEPS} AND NOT "$ENV{FURLONG_WINDOWS_DEPS}" STREQUAL "")
    set(FURLONG_WINDOWS_DEPS "$ENV{FURLONG_WINDOWS_DEPS}")
  else()
    get_filename_component(FURLONG_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps" ABSOLUTE)
  endif()
endif()
set(FURLONG_WINDOWS_DEPS_PREFIX "${FURLONG_WINDOWS_DEPS}/${FURLONG_MINGW_TRIPLE}")
# try_compile projects read the toolchain file again: hand them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES FURLONG_WINDOWS_DEPS)

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

set(CMAKE_FIND_ROOT_PATH ${FURLONG_WINDOWS_DEPS_PREFIX} /usr/${FURLONG_MINGW_TRIPLE} ${FURLONG_HEADER_ONLY_ROOT})
# Qt for Windows (scripts/build-windows-qt.sh), when it was built: its own
# root, with Debian's Qt tools of the same version (moc, rcc, uic) as the host
# tools. Qt's own build does not look there.
if(NOT FURLONG_MINGW_SHARED_RUNTIME AND EXISTS ${FURLONG_WINDOWS_DEPS_PREFIX}/qt6/lib/cmake/Qt6)
  list(APPEND CMAKE_FIND_ROOT_PATH ${FURLONG_WINDOWS_DEPS_PREFIX}/qt6)
  set(QT_HOST_PATH /usr)
  file(GLOB FURLONG_HOST_QT_CMAKE /usr/lib/*-linux-gnu/cmake/Qt6/Qt6Config.cmake)
  if(FURLONG_HOST_QT_CMAKE)
    list(GET FURLONG_HOST_QT_CMAKE 0 FURLONG_HOST_QT_CMAKE)
    get_filename_component(QT_HOST_PATH_CMAKE_DIR ${FURLONG_HOST_QT_CMAKE} DIRECTORY)
    get_filename_component(QT_HOST_PATH_CMAKE_DIR ${QT_HOST_PATH_CMAKE_DIR} DIRECTORY)
  endif()
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must not hand out the host's libraries: only .pc files of the
# dependency prefix and of the cross environment count, and their paths are
# not put below a sysroot.
set(ENV{PKG_CONFIG_LIBDIR} "${FURLONG_WINDOWS_DEPS_PREFIX}/lib/pkgconfig:/usr/${FURLONG_MINGW_TRIPLE}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Executables carry their runtime, so they run on a Windows without mingw DLLs.
# Qt's own build (scripts/build-windows-qt.sh) sets FURLONG_MINGW_SHARED_RUNTIME:
# its DLLs share the runtime DLLs shipped beside them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES FURLONG_MINGW_SHARED_RUNTIME)
if(NOT FURLONG_MINGW_SHARED_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
  set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()
