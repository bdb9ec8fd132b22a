#!/usr/bin/env bash
# Sets up what is missing, checks the formatting of the sources, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs every test; then the
# fuzz targets with clang and libFuzzer in build-fuzz/, when available.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
# Every C++ source formatted as .clang-format says, before anything is built.
./scripts/check_format.sh
# Files change only through the files layer's confined roots.
./scripts/check_confined.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZELBRIN_SANITIZE=ON -DZELBRIN_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan
# Sound is played in the tests through a private sound server with a null output.
../scripts/with_sound_server.sh ctest --output-on-failure -j"$(nproc)"
cd ..

# The fuzz targets under libFuzzer (clang), each for a bounded time; skipped
# with a note when clang or libFuzzer is not installed.
tests/fuzz/run_libfuzzer.sh 10
