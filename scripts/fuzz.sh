#!/usr/bin/env bash
# Fuzzes the libFuzzer targets of fuzz/ under AddressSanitizer and
# UndefinedBehaviorSanitizer:
#
#   scripts/fuzz.sh SECONDS [TARGET...]     (all targets when none is named)
#
# Builds them with clang into build-fuzz/, replays each target's
# fuzz/regressions/TARGET/ inputs, then fuzzes it for SECONDS, its corpus
# growing in build-fuzz/corpus/TARGET/ from the seeds. An input that makes a
# target fail lands in build-fuzz/crashes/TARGET/ and the script fails;
# once fixed, copy it into fuzz/regressions/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
source scripts/setup.sh
pixtor_install

targets=("$@")
if ((${#targets[@]} == 0)); then
  mapfile -t targets < <(sed -n 's/^pixtor_add_fuzzer(\([a-z0-9_]*\).*/\1/p' fuzz/CMakeLists.txt)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Release -DPIXTOR_FUZZ=ON -DPIXTOR_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz-}"

for target in "${targets[@]}"; do
  fuzzer=build-fuzz/fuzz/fuzz-$target
  regressions=(fuzz/regressions/"$target"/*)
  if [ -e "${regressions[0]}" ]; then
    echo "== $target: replaying ${#regressions[@]} regression inputs"
    "$fuzzer" "${regressions[@]}"
  fi
  corpus=build-fuzz/corpus/$target crashes=build-fuzz/crashes/$target
  mkdir -p "$corpus" "$crashes"
  echo "== $target: fuzzing for $seconds s"
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "build-fuzz/fuzz/seeds/$target"
done
