#!/usr/bin/env bash
# Installs what building, running and testing ハロンボード needs on Debian 12.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libsimpleini-dev libcli11-dev nlohmann-json3-dev liblhasa-dev
  # The window: Qt's own buttons and dialogs speak Japanese with its
  # translations (which the Windows package ships too).
  qt6-base-dev libgl-dev qt6-translations-l10n
  # The window's tests and pictures: the Japanese fonts, a display for the demo.
  fonts-noto-cjk xvfb xauth jlha-utils
  # The Windows builds and their package; the source packages they build from.
  mingw-w64 dpkg-dev python3
  # The fuzz targets (libFuzzer) and the sanitizer runs; pgrep for the crash test.
  clang-14 libclang-rt-14-dev procps
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
