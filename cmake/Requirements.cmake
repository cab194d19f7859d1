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

# Qt 6 Widgets, the one Qt module the window uses (its charts are painted
# with QPainter like the grids).
macro(furlong_require_qt)
  find_package(Qt6 QUIET COMPONENTS Widgets)
  if(NOT Qt6Widgets_FOUND)
    message(FATAL_ERROR
      "Qt 6 Widgets not found: the window cannot be built. On Debian: apt-get install qt6-base-dev "
      "(scripts/setup-debian.sh installs everything; for Windows, scripts/build-windows-qt.sh), or "
      "configure with -DFURLONG_BUILD_GUI=OFF to build without the window.")
  endif()
endmacro()
