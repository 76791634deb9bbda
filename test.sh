#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the core tests
# under AddressSanitizer, then the whole suite on the Release build.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
pixtor_install
PIXTOR_TARGET=core_tests pixtor_build build-asan -DPIXTOR_SANITIZE=ON -DPIXTOR_BENCHMARKS=OFF
ctest --test-dir build-asan --output-on-failure -L core -j"$(nproc)"
pixtor_build build
ctest --test-dir build --output-on-failure -j"$(nproc)"
