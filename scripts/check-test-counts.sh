#!/usr/bin/env bash
# After ctest: fails unless the window was built and each suite ran at least
# the number of tests tests/minimum-test-counts names; prints the counts.
#   scripts/check-test-counts.sh BUILD_DIR JUNIT_FILE
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
junit=${2:-$build/ctest-junit.xml}
export LC_ALL=C

failed=0
for exe in src/app/furlong tests/gui/furlong_gui_tests; do
  if [ ! -x "$build/$exe" ]; then
    echo "check-test-counts: $build/$exe was not built" >&2
    failed=1
  fi
done
if [ ! -s "$junit" ]; then
  echo "check-test-counts: no test results in $junit" >&2
  exit 1
fi

# Tests that ran (passed or failed; not skipped), by name.
ran=$(grep -o '<testcase name="[^"]*"[^>]*status="\(run\|fail\)"' "$junit" | sed 's/^<testcase name="\([^"]*\)".*/\1/' | sort -u)
total=0
while read -r suite floor; do
  case "$suite" in '' | '#'*) continue ;; esac
  names=$(ctest --test-dir "$build" -N -L "^$suite\$" | sed -n 's/^ *Test *#[0-9]*: //p' | sort -u)
  count=$(comm -12 <(printf '%s\n' "$ran") <(printf '%s\n' "$names") | grep -c . || true)
  echo "$suite suite: $count tests run (at least $floor expected)"
  if [ "$count" -lt "$floor" ]; then
    echo "check-test-counts: the $suite suite ran $count tests, fewer than $floor" >&2
    failed=1
  fi
  total=$((total + count))
done < tests/minimum-test-counts
[ "$failed" -eq 0 ] || exit 1
fails=$(grep -c '<testcase [^>]*status="fail"' "$junit" || true)
echo "suites: $((total - fails)) passed, $fails failed"
