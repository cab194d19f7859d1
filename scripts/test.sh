#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test, printing
# the time of each stage.
set -euo pipefail
cd "$(dirname "$0")/.."
run_start=$(date +%s)
stage() {
  local name=$1 start
  shift
  start=$(date +%s)
  "$@"
  echo "test.sh: stage '$name' took $(( $(date +%s) - start )) s"
}
stage setup bash scripts/setup-debian.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# Cache hits across checkouts in different folders (CI clones elsewhere).
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
stage "dev build" sh -c 'cmake --preset dev >/dev/null && cmake --build --preset dev -j2'
# The 32-bit Windows programs (Qt for Windows built once and cached), their
# package, and everything under Wine, which mostly waits on Wine: it runs
# beside the Linux suites.
wine_pid=
if [ -x .ci/cross-windows ]; then
  stage "windows build" .ci/cross-windows
  stage "windows package" bash scripts/package-windows.sh
  if [ -x .ci/wine-tests ]; then
    ( start=$(date +%s); .ci/wine-tests; echo "test.sh: stage 'wine tests' took $(( $(date +%s) - start )) s" ) &
    wine_pid=$!
  fi
fi
stage ctest ctest --preset dev -j2 --output-junit "$(pwd)/build/dev/ctest-junit.xml"
# Every suite ran, none shrank, and the window was built.
bash scripts/check-test-counts.sh build/dev build/dev/ctest-junit.xml
# Imports killed at random moments leave every store file whole.
stage "crash test" bash scripts/crash-test.sh build/dev/src/cli/furlong-cli 24
# The sanitizer and fuzz runs: only the core test binary and the fuzz targets.
stage sanitizers bash scripts/sanitizers.sh
if [ -n "$wine_pid" ]; then wait "$wine_pid"; fi
echo "test.sh: everything passed in $(( $(date +%s) - run_start )) s"
