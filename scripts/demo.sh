#!/usr/bin/env bash
# Installs what is needed, builds, writes the demo store and runs the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
cmake --preset dev >/dev/null
cmake --build --preset dev -j2
CLI=build/dev/src/cli/furlong-cli
GUI=build/dev/src/app/furlong
if [ ! -x "$GUI" ]; then
  echo "demo: the window ($GUI) was not built" >&2
  exit 1
fi
DEMO=${DEMO_ROOT:-demo}
if [ ! -d "$DEMO/Data" ]; then "$CLI" sample --root "$DEMO"; fi
# The window makes its data root the current folder: give it absolute paths.
DEMO=$(cd "$DEMO" && pwd)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$GUI" --root "$DEMO"
fi
echo "No display: writing screenshots of the first demo race to $DEMO/screenshots instead."
first=$("$CLI" meetings --root "$DEMO" | head -n 1)
QT_QPA_PLATFORM=offscreen "$GUI" --root "$DEMO" --meeting "$first" --race 1 --screenshot "$DEMO/screenshots"
ls "$DEMO/screenshots"
