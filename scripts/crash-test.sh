#!/usr/bin/env bash
# Kills an import of the demo feed at random moments and checks what is left:
# every store file keeps its record layout, a re-run ends with exactly the
# store of an uninterrupted import, and no temporary file remains.
#   scripts/crash-test.sh [furlong-cli] [kills]
set -euo pipefail
cli="$(realpath "${1:-build/dev/src/cli/furlong-cli}")"
kills="${2:-24}"
# In memory when the system has it: the copies are many and the kill is of
# the process, not of the machine.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then work="$(mktemp -d -p /dev/shm)"; else work="$(mktemp -d)"; fi
trap 'rm -rf "$work"' EXIT

"$cli" sample --root "$work/pristine" >/dev/null
cp -a "$work/pristine" "$work/reference"
start=$(date +%s%N)
"$cli" import --root "$work/reference" >/dev/null
took_ms=$(( ($(date +%s%N) - start) / 1000000 ))
# Kill moments spread over the whole import and a little beyond.
span_ms=$(( took_ms * 5 / 4 + 20 ))

fail() { echo "crash test: $*" >&2; exit 1; }

# Record lengths by extension (CR LF included); runner files hold 216 slots
# and horse masters one record.
check_layout() {
  find "$1" -type f -printf '%s %p\n' | awk '
    function bad(why) { print "crash test: " why ": " $0 > "/dev/stderr"; failed = 1 }
    /\.(jvRA|jvSERA)$/ { if ($1 % 1272) bad("no whole number of 1272-byte records") }
    /\.jvSEr$/ { if ($1 != 216 * 555) bad("a runner file not of 216 slots") }
    /\.jvSEI$/ { if ($1 % 555) bad("no whole number of 555-byte records") }
    /\.jvHR$/ { if ($1 % 719) bad("no whole number of 719-byte records") }
    /\.jvUM2$/ { if ($1 != 1609) bad("a horse master not of one record") }
    /\.yoz$/ { if ($1 % 1461) bad("no whole number of 1461-byte records") }
    END { exit failed }' || exit 1
}

temp_files() { find "$1" -regextype posix-extended -regex '.*\.tmp[0-9]+-[0-9]+-[0-9]+$' | wc -l; }

changed=0 leftovers=0
for i in $(seq 1 "$kills"); do
  run="$work/run"
  rm -rf "$run"
  # Linked, not copied: the import replaces files by renames, never in place.
  cp -al "$work/pristine" "$run"
  ms=$(( (RANDOM * 32768 + RANDOM) % span_ms ))
  ( timeout -s KILL "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))" "$cli" import --root "$run" >/dev/null 2>&1 || true ) 2>/dev/null
  # The killed import is gone before anything looks at its store.
  while pgrep -f -- "--root $run\$" >/dev/null; do sleep 0.01; done
  check_layout "$run"
  diff -rq "$work/pristine" "$run" >/dev/null 2>&1 || changed=$((changed + 1))
  left=$(temp_files "$run")
  leftovers=$((leftovers + (left > 0 ? 1 : 0)))
  "$cli" import --root "$run" >/dev/null
  [ "$(temp_files "$run")" -eq 0 ] || fail "temporary files left after the re-run (kill at ${ms} ms): $(find "$run" -name "*.tmp*" | head -3)"
  diff -r "$work/reference" "$run" >/dev/null || fail "the re-run after a kill at ${ms} ms differs from an uninterrupted import"
done
echo "crash test: $kills kills over ${span_ms} ms (an import takes ${took_ms} ms); $changed left a changed store," \
  "$leftovers left temporary files; every file kept its layout and every re-run equals an uninterrupted import"
