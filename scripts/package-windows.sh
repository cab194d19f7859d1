#!/usr/bin/env bash
# Writes the Windows program a user unzips: dist/furlong-<version>-windows-x86.zip,
# one folder with furlong.exe and furlong-cli.exe (32-bit, so that both load
# the 32-bit JV-Link control into their own process), the Qt and compiler
# DLLs and plugins they load, Qt's Japanese translations, the help page, the
# licence texts of what it ships and はじめにお読みください.txt.
#
#   bash scripts/package-windows.sh
#
# Builds what is missing first (.ci/cross-windows for i686, with the window).
# The DLLs are found as windeployqt finds them: by walking the import tables
# of the programs and of every DLL and plugin shipped, from Qt's prefix and
# the cross compiler's runtime; Windows' own DLLs stay out.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deps="${FURLONG_WINDOWS_DEPS:-$here/build/windows-deps}"
build="$here/build/mingw-i686"
triple=i686-w64-mingw32
qt="$deps/$triple/qt6"

if [ ! -f "$build/src/app/furlong.exe" ] || [ ! -f "$build/src/cli/furlong-cli.exe" ]; then
  FURLONG_WINDOWS_TARGETS=i686 "$here/.ci/cross-windows"
fi
[ -f "$build/src/app/furlong.exe" ] || { echo "package-windows: $build/src/app/furlong.exe was not built" >&2; exit 1; }

version=$(sed -n 's/^project(furlong VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
name="furlong-$version"
stage="$here/dist/$name-windows-x86"
zip="$here/dist/$name-windows-x86.zip"
rm -rf "$stage" "$zip"
mkdir -p "$stage/$name"
out="$stage/$name"

objdump=$triple-objdump
strip=$triple-strip
gcc_runtime=$(dirname "$("$triple-g++-posix" -print-libgcc-file-name)")
search=("$qt/bin" "$gcc_runtime" "/usr/$triple/lib")

# Copies a DLL found on the search path, then what it imports in turn.
declare -A shipped=()
ship_imports() {
  local file=$1 dll found dir
  while read -r dll; do
    [ -n "${shipped[${dll,,}]:-}" ] && continue
    found=
    for dir in "${search[@]}"; do
      if [ -f "$dir/$dll" ]; then found="$dir/$dll"; break; fi
    done
    # Not ours to ship: a DLL of Windows itself.
    [ -n "$found" ] || continue
    shipped[${dll,,}]=1
    cp "$found" "$out/$dll"
    "$strip" --strip-unneeded "$out/$dll"
    ship_imports "$out/$dll"
  done < <("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r')
}

cp "$build/src/app/furlong.exe" "$build/src/cli/furlong-cli.exe" "$out/"
"$strip" "$out/furlong.exe" "$out/furlong-cli.exe"
# The plugins Qt loads by name: the platform and the native style.
mkdir -p "$out/platforms" "$out/styles"
cp "$qt/plugins/platforms/qwindows.dll" "$out/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$out/styles/"
"$strip" --strip-unneeded "$out/platforms/qwindows.dll" "$out/styles/qwindowsvistastyle.dll"
for f in "$out/furlong.exe" "$out/furlong-cli.exe" "$out/platforms/qwindows.dll" "$out/styles/qwindowsvistastyle.dll"; do
  ship_imports "$f"
done
# Qt finds its plugins and translations beside the program.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$out/qt.conf"
mkdir -p "$out/translations" "$out/help" "$out/licenses"
cp /usr/share/qt6/translations/qtbase_ja.qm "$out/translations/"
cp "$here/docs/help/index.html" "$out/help/"

# The licences of what the folder holds.
# shellcheck source=scripts/debian-source.sh
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
. "$here/scripts/debian-source.sh"
lhasa_source=$(debian_source lhasa "lhasa-*/COPYING")
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
cp /usr/share/common-licenses/LGPL-3 "$out/licenses/Qt-LGPL-3.0.txt"
cp /usr/share/common-licenses/GPL-3 "$out/licenses/Qt-GPL-3.0.txt"
cp /usr/share/doc/libqt6core6/copyright "$out/licenses/Qt-copyright.txt"
cp "$lhasa_source" "$out/licenses/lhasa-COPYING.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$out/licenses/gcc-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$out/licenses/mingw-w64-copyright.txt"
cp /usr/share/doc/libsimpleini-dev/copyright "$out/licenses/SimpleIni-copyright.txt"
cp /usr/share/doc/libcli11-dev/copyright "$out/licenses/CLI11-copyright.txt"
cp /usr/share/doc/nlohmann-json3-dev/copyright "$out/licenses/nlohmann-json-copyright.txt"
# Qt is used under the LGPL: where its sources and this program's come from.
cat >"$out/licenses/README.txt" <<EOF
The Qt libraries (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and the plugins in
platforms/ and styles/) are Qt $qt_version, built unchanged from
Debian's source package qt6-base, and are used under the GNU LGPL version 3
(Qt-LGPL-3.0.txt, with Qt-GPL-3.0.txt that it extends). They may be replaced
by other builds of the same Qt version. The copyright file lists the authors
and the licences of Qt and of the libraries it bundles.
The compiler runtime (libstdc++-6.dll, libgcc_s_dw2-1.dll) is under the GCC
Runtime Library Exception; libwinpthread-1.dll under the MinGW-w64 licence.
The programs include lhasa (ISC licence), SimpleIni, CLI11 and nlohmann/json.
EOF
# はじめにお読みください: UTF-8 with a byte order mark and CR LF, as Notepad reads it.
printf '\xef\xbb\xbf' >"$out/はじめにお読みください.txt"
sed 's/$/\r/' "$here/docs/windows-readme-ja.txt" >>"$out/はじめにお読みください.txt"

# The zip: names in UTF-8 (flagged so), the folder first.
python3 - "$stage" "$name" "$zip" <<'EOF'
import os, sys, zipfile
stage, name, target = sys.argv[1:4]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(os.path.join(stage, name)):
        dirs.sort()
        rel = os.path.relpath(folder, stage)
        z.write(folder, rel + "/")
        for f in sorted(files):
            z.write(os.path.join(folder, f), os.path.join(rel, f))
EOF
echo "package-windows: $zip ($(du -h "$zip" | cut -f1), $(find "$out" -type f | wc -l) files)"
