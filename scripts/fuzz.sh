#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then fuzzes each target named
# (every one of tests/fuzz when none is) for a minute each (FUZZ_SECONDS=n
# for another length). New inputs gather in build-fuzz/corpus/<target>; a
# crashing input is left in build-fuzz/ and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name%_fuzz}")
  done
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKEYHOLM_FUZZ=ON -DKEYHOLM_TESTS=OFF -DKEYHOLM_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "${JOBS:-2}" --target "${targets[@]/%/_fuzz}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  build-fuzz/tests/fuzz/${target}_fuzz -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 \
    -timeout=10 -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus" tests/fuzz/corpus/$target
done
