#!/usr/bin/env bash
# Checks the tree against the naming style of .clang-tidy (about three
# minutes on two cores, so not part of test.sh): every file of the build's
# compile_commands.json that belongs to the project. Usage: scripts/naming.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/compile_commands.json" ] || cmake -S . -B "$build" >/dev/null
run-clang-tidy -p "$build" -j "$(nproc)" -quiet "$(pwd)/(core|platform|frontend|dialogs|tools|skins|bench|fuzz|desktop|tests)/"
