#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the normal build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and a short run of each fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export LC_ALL=C.UTF-8
fuzz_seconds=${KDX_FUZZ_SECONDS:-15}

step() { printf '\n=== %s\n' "$*"; }

step "Installing packages"
scripts/install-deps.sh

step "Build (warnings are errors)"
scripts/build.sh build -DKDX_WERROR=ON
step "Tests"
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 300

step "Sanitizer build"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DKDX_SANITIZE=ON
step "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)" --timeout 600

step "Fuzz targets (${fuzz_seconds} s each)"
CC=clang CXX=clang++ scripts/build.sh build-fuzz -DKDX_FUZZ=ON -DKDX_BUILD_TESTS=OFF
mkdir -p build-fuzz/corpus
for target in build-fuzz/fuzz/fuzz_*; do
  name=$(basename "$target")
  mkdir -p "build-fuzz/corpus/$name"
  seeds="$root/fuzz/seeds/${name#fuzz_}"
  args=("build-fuzz/corpus/$name")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "--- $name"
  "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "${args[@]}" 2>&1 | tail -n 2
done
step "All tests passed"
