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
# The Windows cross builds (i686 and x86_64), when the project provides them.
if [ -x .ci/cross-windows ]; then .ci/cross-windows; fi
# The x86_64 Windows build under Wine (core suite, smoke, COM import).
if [ -x .ci/wine-tests ]; then .ci/wine-tests; fi
ctest --preset dev -j2
