#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build-fuzz/ and runs
# each for a bounded time on a copy of its seeds (the repository's corpus is
# never written). Skips with a note when clang or libFuzzer is missing.
#
#   tests/fuzz/run_libfuzzer.sh [SECONDS_PER_TARGET]   (default 10)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-10}"
targets=(cp936 document_text index_line catalogue_file library_file ini_file drive_table note_file class_file
  record_file pending_work)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# clang++ with libFuzzer: a one-line fuzz target must compile and link.
if ! command -v clang >/dev/null || ! command -v clang++ >/dev/null ||
   ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
     clang++ -x c++ -fsanitize=fuzzer - -o "$work/probe" 2>/dev/null; then
  echo "libFuzzer not available (clang++ with -fsanitize=fuzzer): skipping the libFuzzer runs"
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DZELBRIN_FUZZ=ON -DZELBRIN_TESTS=OFF \
  -DZELBRIN_GUI=OFF -DZELBRIN_BENCH=OFF -DZELBRIN_SANITIZE=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# All targets at once, each with its own copy of the seeds, log and artifacts.
pids=()
for t in "${targets[@]}"; do
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp -r "tests/fuzz/corpus/$t/." "$work/$t/corpus/"
  build-fuzz/tests/fuzz/fuzz_"$t" -max_total_time="$seconds" -seed=1 -max_len=4096 \
    -timeout=20 -rss_limit_mb=2048 -dict=tests/fuzz/fuzz.dict \
    -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" >"$work/$t/log" 2>&1 &
  pids+=("$!")
done

failed=0
for i in "${!targets[@]}"; do
  t="${targets[$i]}"
  if wait "${pids[$i]}"; then
    echo "fuzz_$t (libFuzzer, ${seconds} s): $(grep -E '^#[0-9]+' "$work/$t/log" | tail -n 1)"
  else
    failed=$((failed + 1))
    echo "fuzz_$t (libFuzzer) FAILED:"
    tail -n 60 "$work/$t/log"
    for a in "$work/$t/artifacts"/*; do
      if [ -f "$a" ]; then echo "input ($(basename "$a")): $(od -An -v -tx1 "$a" | tr -d ' \n')"; fi
    done
  fi
done
echo "libFuzzer: $((${#targets[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
