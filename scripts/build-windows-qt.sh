#!/usr/bin/env bash
# Builds the Qt 6 modules the window needs for 32-bit Windows (i686) from
# Debian's own source package (apt-get source qt6-base): Core, Gui, Widgets,
# the windows and offscreen platform plugins and the windowsvista style.
#
#   bash scripts/build-windows-qt.sh [i686]
#
# The Qt prefix is built once per set of inputs (the Qt version, this
# script, the mingw toolchain files and the compiler version) into
# $FURLONG_QT_CACHE/<triple>-<key> (default ~/.cache/furlong-qt), outside the
# checkout so that a new clone (as CI makes) reuses it; the dependency prefix
# gets a link to it, <deps>/<triple>/qt6. Older keys of the same triple are
# removed. Objects go through ccache when it is installed. The Qt host tools
# (moc, rcc, uic) are Debian's own (/usr), of the same version.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deps="${FURLONG_WINDOWS_DEPS:-$here/build/windows-deps}"
cache="${FURLONG_QT_CACHE:-$HOME/.cache/furlong-qt}"
jobs="${FURLONG_JOBS:-2}"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(i686)

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
# shellcheck source=scripts/debian-source.sh
. "$here/scripts/debian-source.sh"

host_qt_cmake=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)/cmake
if [ ! -f "$host_qt_cmake/Qt6/Qt6Config.cmake" ] || ! command -v ninja >/dev/null 2>&1; then
  echo "build-windows-qt: Debian's host Qt and ninja are needed (bash scripts/setup-debian.sh)" >&2
  exit 1
fi
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)

# Everything not named here is left as Qt's default. Only what the window and
# its tests use is built: no network, SQL, D-Bus, printing, OpenGL or test
# library; the image formats, zlib, PCRE2, HarfBuzz and FreeType are Qt's
# bundled copies (FreeType serves the offscreen platform's fonts). Debian's
# source has no pen-tablet sources.
qt_features=(
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_sql_sqlite=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_freetype=ON
  -DFEATURE_androiddeployqt=OFF -DFEATURE_windeployqt=OFF
)

for arch in "${targets[@]}"; do
  case "$arch" in
    i686) triple=i686-w64-mingw32 ;;
    x86_64) triple=x86_64-w64-mingw32 ;;
    *) echo "build-windows-qt: unknown target $arch (i686 or x86_64)" >&2; exit 2 ;;
  esac
  cxx=$(command -v "$triple-g++-posix" || command -v "$triple-g++")
  # Debian's qt6-base source and binary packages move together: the host
  # tools' version names the source too.
  key=$( {
    echo "qt6-base $host_version"
    "$cxx" --version | head -n 1
    printf '%s\n' "${qt_features[@]}"
    cat "$0" "$here/cmake/mingw-w64-common.cmake" "$here/cmake/mingw-w64-$arch.cmake"
  } | sha256sum | cut -c1-16)
  prefix="$cache/$triple-$key"
  link="$deps/$triple/qt6"
  mkdir -p "$deps/$triple"
  if [ -f "$prefix/.built" ]; then
    echo "build-windows-qt: $prefix is up to date (qt6-base $host_version)"
  else
    start=$(date +%s)
    qt_source=$(debian_source qt6-base "qt6-base-*/src/corelib/global/qglobal.h")
    qt_source=${qt_source%/src/corelib/global/qglobal.h}
    # Qt 6.4's Windows platform plugin asks the dynamic OpenGL loader even
    # when OpenGL is left out: without OpenGL there is no software GL.
    sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
      "$qt_source/src/plugins/platforms/windows/qwindowswindow.cpp"
    echo "build-windows-qt: building $(basename "$qt_source") for $triple into $prefix"
    mkdir -p "$cache"
    rm -rf "$prefix" "$cache/build-$triple"
    # Prefixes of older inputs go: only the newest of a triple is kept.
    find "$cache" -maxdepth 1 -name "$triple-*" -exec rm -rf {} + 2>/dev/null || true
    launcher=()
    if command -v ccache >/dev/null 2>&1; then
      launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    # The Qt DLLs take the compiler runtime as DLLs (shipped beside them);
    # GCC 12 warns about every dllimport redeclaration in Qt's headers.
    cmake -S "$qt_source" -B "$cache/build-$triple" -G Ninja "${launcher[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-$arch.cmake" \
      -DFURLONG_WINDOWS_DEPS="$deps" -DFURLONG_MINGW_SHARED_RUNTIME=ON \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_CXX_FLAGS="-Wno-attributes" -DCMAKE_C_FLAGS="-Wno-attributes" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_qt_cmake" \
      -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
      -DQT_GENERATE_SBOM=OFF -DINPUT_openssl=no "${qt_features[@]}" >"$cache/configure-$triple.log" 2>&1 || {
      tail -n 40 "$cache/configure-$triple.log" >&2
      echo "build-windows-qt: the configure failed (log: $cache/configure-$triple.log)" >&2
      exit 1
    }
    cmake --build "$cache/build-$triple" -j "$jobs" >"$cache/build-$triple.log" 2>&1 || {
      grep -B2 -A20 -m3 'FAILED\|error:' "$cache/build-$triple.log" | head -n 80 >&2
      echo "build-windows-qt: the build failed (log: $cache/build-$triple.log)" >&2
      exit 1
    }
    cmake --install "$cache/build-$triple" >/dev/null
    for f in bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll plugins/platforms/qwindows.dll \
             plugins/platforms/qoffscreen.dll plugins/styles/qwindowsvistastyle.dll; do
      [ -f "$prefix/$f" ] || { echo "build-windows-qt: $prefix/$f was not built" >&2; exit 1; }
    done
    rm -rf "$cache/build-$triple"
    echo "$key" >"$prefix/.built"
    echo "build-windows-qt: built in $(( $(date +%s) - start )) s ($(du -sh "$prefix" | cut -f1))"
  fi
  ln -sfn "$prefix" "$link"
done
