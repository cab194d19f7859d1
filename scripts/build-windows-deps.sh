#!/usr/bin/env bash
# Builds the libraries that Debian does not ship for mingw-w64 into the prefix
# the toolchain files read (cmake/mingw-w64-common.cmake):
#   lhasa       from Debian's source package (apt-get source lhasa)
#   GoogleTest  from the sources that libgtest-dev installs in /usr/src/googletest
#
#   bash scripts/build-windows-deps.sh [i686] [x86_64]     (default: both)
#
# The prefix is $FURLONG_WINDOWS_DEPS/<triple>, by default
# build/windows-deps/<triple> of this checkout. A prefix already built from
# the same sources is kept. Every step is required: a missing source or a
# failed build stops the script.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deps="${FURLONG_WINDOWS_DEPS:-$here/build/windows-deps}"
jobs="${FURLONG_JOBS:-2}"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(i686 x86_64)

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

gtest_src=/usr/src/googletest
if [ ! -f "$gtest_src/CMakeLists.txt" ]; then
  echo "build-windows-deps: $gtest_src missing (apt-get install libgtest-dev)" >&2
  exit 1
fi

# shellcheck source=scripts/debian-source.sh
. "$here/scripts/debian-source.sh"

# The library part of lhasa (the command-line tool is not needed). Its
# sources compile as they are, without a configure step.
build_lhasa() {
  local triple=$1 prefix=$2 src=$3
  local cc
  cc=$(command -v "$triple-gcc-posix" || command -v "$triple-gcc")
  local obj="$prefix/build/lhasa"
  rm -rf "$obj" && mkdir -p "$obj" "$prefix/lib/pkgconfig" "$prefix/include/liblhasa-1.0"
  local version
  version=$(sed -n 's/^AC_INIT(\[*[A-Za-z]*\]*, *\[*\([0-9.]*\).*/\1/p' "$src/configure.ac")
  # The sources the library is made of, as lib/Makefile.am lists them.
  local files
  files=$(sed -n '/^SRC *=/,/^$/p' "$src/lib/Makefile.am" | grep -o '[a-z0-9_]*\.c')
  local f
  for f in $files; do
    "$cc" -O2 -std=gnu99 -I"$src/lib" -I"$src/lib/public" -c "$src/lib/$f" -o "$obj/${f%.c}.o"
  done
  "$triple-ar" rcs "$prefix/lib/liblhasa.a" "$obj"/*.o
  cp "$src"/lib/public/*.h "$prefix/include/liblhasa-1.0/"
  # Relocatable: the prefix may be copied to a Windows machine (README, "Windows").
  cat >"$prefix/lib/pkgconfig/liblhasa.pc" <<EOF
prefix=\${pcfiledir}/../..
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: liblhasa
Description: LHA (de)compression library
Version: ${version:-0}
Libs: -L\${libdir} -llhasa
Cflags: -I\${includedir}/liblhasa-1.0
EOF
}

# The header-only libraries of the host (SimpleIni, CLI11, nlohmann/json), so
# that the prefix alone serves a build on Windows.
copy_headers() {
  local prefix=$1 header
  for header in SimpleIni.h CLI nlohmann; do
    if [ ! -e "/usr/include/$header" ]; then
      echo "build-windows-deps: /usr/include/$header missing (bash scripts/setup-debian.sh)" >&2
      exit 1
    fi
    cp -r "/usr/include/$header" "$prefix/include/"
  done
}

build_gtest() {
  local arch=$1 prefix=$2
  local generator=()
  if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  rm -rf "$prefix/build/googletest"
  cmake -S "$gtest_src" -B "$prefix/build/googletest" "${generator[@]}" "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-$arch.cmake" \
    -DFURLONG_WINDOWS_DEPS="$deps" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=ON >/dev/null
  cmake --build "$prefix/build/googletest" -j "$jobs" >/dev/null
  cmake --install "$prefix/build/googletest" >/dev/null
}

lhasa_dir=$(debian_source lhasa "lhasa-*/lib/lha_reader.c")
lhasa_dir=${lhasa_dir%/lib/lha_reader.c}
gtest_version=$(dpkg-query -W -f='${Version}' libgtest-dev 2>/dev/null || echo unknown)
stamp_text="layout 2; lhasa $(basename "$lhasa_dir"); googletest $gtest_version"

for arch in "${targets[@]}"; do
  case "$arch" in
    i686) triple=i686-w64-mingw32 ;;
    x86_64) triple=x86_64-w64-mingw32 ;;
    *) echo "build-windows-deps: unknown target $arch (i686 or x86_64)" >&2; exit 2 ;;
  esac
  prefix="$deps/$triple"
  if [ -f "$prefix/.built" ] && [ "$(cat "$prefix/.built")" = "$stamp_text" ]; then
    echo "build-windows-deps: $prefix is up to date"
    continue
  fi
  rm -f "$prefix/.built"
  echo "build-windows-deps: $stamp_text -> $prefix"
  build_lhasa "$triple" "$prefix" "$lhasa_dir"
  build_gtest "$arch" "$prefix"
  copy_headers "$prefix"
  [ -f "$prefix/lib/liblhasa.a" ] && [ -f "$prefix/lib/libgtest.a" ] || {
    echo "build-windows-deps: $prefix is incomplete" >&2
    exit 1
  }
  echo "$stamp_text" >"$prefix/.built"
done
