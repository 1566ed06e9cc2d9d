#!/usr/bin/env bash
# Builds the mbhost fuzz target with clang (libFuzzer, AddressSanitizer, UBSan) and runs it for
# a bounded time over MapBasic text given to eval and execute.
# Usage: scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build/fuzz

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer" \
  -DVELTRANO_FUZZ=ON -DVELTRANO_BUILD_TESTS=OFF -DVELTRANO_BUILD_BENCH=OFF \
  -DVELTRANO_BUILD_QT=OFF >/dev/null
cmake --build "$build" --target mbhost_fuzz -j "$(nproc)"

# New inputs go to a scratch corpus; the seeds in the repository stay as they are.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export LSAN_OPTIONS="suppressions=$PWD/mbhost/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The fuzzer's chatter goes to a log; a failure shows its end.
log="$build/fuzz.log"
if "$build/mbhost/mbhost_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=4096 -print_final_stats=1 "$work" mbhost/fuzz/corpus >"$log" 2>&1; then
  echo "mbhost fuzzing: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -n 1), no crash"
else
  status=$?
  tail -n 60 "$log"
  echo "mbhost fuzzing failed (exit $status); full log: $log" >&2
  exit "$status"
fi
