# furlong_windows_program(<target> <description>): on Windows, gives the
# program its version resource and the icon, and lets a 32-bit build use the
# whole 4 GiB of address space that 64-bit Windows gives it (large address aware).
function(furlong_windows_program target description)
  if(NOT WIN32)
    return()
  endif()
  set(FURLONG_RC_NAME ${target})
  set(FURLONG_RC_FILE ${target}.exe)
  set(FURLONG_RC_DESCRIPTION "${description}")
  set(FURLONG_RC_ICON "${PROJECT_SOURCE_DIR}/src/app/resources/furlong.ico")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/WindowsResource.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--large-address-aware)
  endif()
endfunction()

# furlong_qt_compiler_runtime(): the programs of the calling directory take
# the compiler runtime as DLLs, as the Qt DLLs they load do. A program that
# carries its own static copy beside Qt's shared one loses its exceptions:
# on 32-bit mingw the program registers its unwind tables with the shared
# runtime once that is loaded, and its own static unwinder then finds no
# frame to unwind and aborts.
macro(furlong_qt_compiler_runtime)
  if(MINGW)
    string(REPLACE "-static -static-libgcc -static-libstdc++" "" CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS}")
  endif()
endmacro()
