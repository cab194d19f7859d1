#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# Cache hits across checkouts in different folders (CI clones elsewhere).
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
cmake --preset dev
cmake --build --preset dev -j2
# The Windows cross builds, when the project provides them: x86_64 first, so
# that its tests under Wine (core suite, smoke, COM import), which mostly wait
# on Wine, run while the i686 build compiles.
if [ -x .ci/cross-windows ]; then
  FURLONG_WINDOWS_TARGETS=x86_64 .ci/cross-windows
  wine_pid=
  if [ -x .ci/wine-tests ]; then
    .ci/wine-tests &
    wine_pid=$!
  fi
  FURLONG_WINDOWS_TARGETS=i686 .ci/cross-windows
  if [ -n "$wine_pid" ]; then wait "$wine_pid"; fi
fi
ctest --preset dev -j2 --output-junit "$(pwd)/build/dev/ctest-junit.xml"
# Every suite ran, none shrank, and the window was built.
bash scripts/check-test-counts.sh build/dev build/dev/ctest-junit.xml
# Imports killed at random moments leave every store file whole.
bash scripts/crash-test.sh build/dev/src/cli/furlong-cli 24
# The sanitizer and fuzz runs: only the core test binary and the fuzz targets.
bash scripts/sanitizers.sh
