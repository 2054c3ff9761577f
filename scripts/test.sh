#!/usr/bin/env bash
# Sets up, then runs every test twice (build/ and the sanitizer build build-asan/),
# then each fuzz target for a short while. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-30}
failed=0

scripts/setup.sh || exit 1
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_ctest() {
  echo "test: running the tests in $1"
  (cd "$1" && ctest --output-on-failure -j "$jobs" --timeout 600) | tee "$1/ctest.log"
  local rc=${PIPESTATUS[0]}
  grep -E 'tests passed|tests failed' "$1/ctest.log" | sed "s|^|$1: |"
  return "$rc"
}

run_ctest build || failed=1

echo "test: building build-asan/ (-fsanitize=address,undefined)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVK_SANITIZE=ON >/dev/null &&
  cmake --build build-asan || failed=1
run_ctest build-asan || failed=1

echo "test: building the fuzz targets in build-fuzz/ (clang-14)"
if cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK_FUZZ=ON \
     -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null && cmake --build build-fuzz; then
  for target in build-fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    work=$(mktemp -d)
    dict=()
    [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
    echo "test: fuzzing $name for ${fuzz_seconds}s"
    if ! "$target" -max_total_time="$fuzz_seconds" -timeout=20 -rss_limit_mb=4096 \
         -artifact_prefix="$work/" "${dict[@]}" "$work" "fuzz/corpus/$name" \
         >"$work.log" 2>&1; then
      echo "test: FAILED: $name found a crash; its log follows"
      tail -n 60 "$work.log"
      ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* 2>/dev/null
      failed=1
    else
      tail -n 1 "$work.log"
    fi
    rm -rf "$work" "$work.log"
  done
else
  failed=1
fi

if [ "$failed" -ne 0 ]; then
  echo "test: FAILED"
  exit 1
fi
echo "test: all passed"
