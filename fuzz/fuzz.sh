#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build directory, then
#   fuzz/fuzz.sh BUILD_DIR JOBS smoke     the short runs registered with CTest
#   fuzz/fuzz.sh BUILD_DIR JOBS SECONDS   each target for SECONDS (make fuzz)
# Without clang and its libFuzzer runtime a smoke run is skipped, a long run fails.
set -euo pipefail

build=$1
jobs=$2
mode=$3
cd "$(dirname "$0")/.."

probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' >"$probe/p.cpp"
if ! command -v clang++ >/dev/null || ! clang++ -fsanitize=fuzzer "$probe/p.cpp" -o "$probe/p" 2>/dev/null; then
  echo "fuzz: clang++ with libFuzzer (libclang-rt-dev) not found"
  [ "$mode" = smoke ] && { echo "fuzz: smoke runs skipped"; exit 0; }
  exit 1
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIN_WERROR=ON \
    -DTARVIN_FUZZ=ON -DTARVIN_GUI=OFF -DTARVIN_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j"$jobs" --target fuzz_all

if [ "$mode" = smoke ]; then
  cd "$build" && ctest -L fuzz --output-on-failure -j"$jobs"
else
  bash fuzz/run.sh "$build" "$mode"
fi
