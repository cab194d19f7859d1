#!/usr/bin/env bash
# The core suite under AddressSanitizer and UBSan, the threaded tests under
# ThreadSanitizer, and every fuzz target for a short fixed time from its seed
# corpus. Builds only the core test binary and the fuzz targets.
#   scripts/sanitizers.sh [asan] [tsan] [fuzz]   (default: all three)
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(asan tsan fuzz)
# The tests that run work on more than one thread.
THREADED='ParallelFor*:DayLoading*:Durability.*:FilingTest.*:DemoAnalysis*:MeetingFlow*:HitReport*:ImportDriver*'
FUZZ_SECONDS="${FUZZ_SECONDS:-20}"

for step in "${steps[@]}"; do
  case "$step" in
    asan)
      cmake --preset asan >/dev/null
      cmake --build --preset asan --target furlong_tests -j2
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        build/asan/tests/furlong_tests --gtest_brief=1
      ;;
    tsan)
      cmake --preset tsan >/dev/null
      cmake --build --preset tsan --target furlong_tests -j2
      TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
        build/tsan/tests/furlong_tests --gtest_brief=1 --gtest_filter="$THREADED"
      ;;
    fuzz)
      cmake --preset fuzz >/dev/null
      cmake --build --preset fuzz -j2
      for target in day_loading odds lzh settings filing; do
        scratch="$(mktemp -d)"
        # New inputs go to the scratch folder; the seeds in the tree stay as they are.
        echo "fuzz_$target, ${FUZZ_SECONDS} s:"
        build/fuzz/fuzz/fuzz_"$target" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -print_final_stats=1 \
          -artifact_prefix="$scratch/" "$scratch" "fuzz/corpus/$target" 2>&1 |
          grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|==[0-9]+== ?ERROR)' || true
        if ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* >/dev/null 2>&1; then
          echo "fuzz target $target failed; inputs kept in $scratch" >&2
          exit 1
        fi
        rm -rf "$scratch"
      done
      ;;
    *) echo "unknown step $step (asan, tsan, fuzz)" >&2; exit 2 ;;
  esac
done
