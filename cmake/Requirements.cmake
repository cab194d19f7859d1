# What the build cannot do without stops the configure with the Debian package
# that brings it, so that nothing is left out quietly.
# scripts/setup-debian.sh installs every package named here.

# furlong_require(<found> <what> <package>...): fails the configure unless the
# variable <found> is true.
function(furlong_require found what)
  if(NOT ${found})
    string(JOIN " " packages ${ARGN})
    message(FATAL_ERROR
      "${what} not found. On Debian: apt-get install ${packages} "
      "(scripts/setup-debian.sh installs everything the build needs).")
  endif()
endfunction()

# The Qt 6 parts of the window, each with its Debian package. Qt Charts needs
# Qt's OpenGL development files, which its package does not pull in.
macro(furlong_require_qt)
  find_package(Qt6 QUIET COMPONENTS Widgets OpenGL Charts)
  set(_furlong_qt_missing)
  if(NOT Qt6Widgets_FOUND)
    list(APPEND _furlong_qt_missing qt6-base-dev libgl-dev)
  endif()
  if(NOT Qt6OpenGL_FOUND)
    list(APPEND _furlong_qt_missing libqt6opengl6-dev)
  endif()
  if(NOT Qt6Charts_FOUND)
    list(APPEND _furlong_qt_missing libqt6charts6-dev)
  endif()
  if(_furlong_qt_missing)
    list(REMOVE_DUPLICATES _furlong_qt_missing)
    string(JOIN " " _furlong_qt_packages ${_furlong_qt_missing})
    message(FATAL_ERROR
      "Qt 6 Widgets/Charts not found: the window cannot be built. On Debian: apt-get install "
      "${_furlong_qt_packages} (scripts/setup-debian.sh installs everything), or configure with "
      "-DFURLONG_BUILD_GUI=OFF to build without the window.")
  endif()
endmacro()
