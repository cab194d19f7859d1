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
# The Windows cross build of the core, when the project provides it.
if [ -x .ci/cross-windows ]; then .ci/cross-windows; fi
ctest --preset dev -j2 --output-junit "$(pwd)/build/dev/ctest-junit.xml"
# Every suite ran, none shrank, and the window was built.
bash scripts/check-test-counts.sh build/dev build/dev/ctest-junit.xml
