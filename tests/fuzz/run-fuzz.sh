#!/usr/bin/env bash
# Builds the sprite loader's fuzz target with clang and runs it for a bounded
# time on a copy of the seed corpus, so the repository's corpus stays as it
# is. Prints a line and succeeds when there is no clang++ to build it with.
# Usage: run-fuzz.sh <build dir> <seconds>
set -uo pipefail

build=$1
seconds=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if ! command -v clang++ >/dev/null; then
  echo "sprite loader fuzzing skipped: no clang++"
  exit 0
fi
# clang without its fuzzer runtime (libclang-rt-dev) cannot build the target.
mkdir -p "$build"
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
  clang++ -x c++ -fsanitize=fuzzer -o "$build/probe" - >/dev/null 2>&1; then
  echo "sprite loader fuzzing skipped: clang++ has no libFuzzer runtime"
  exit 0
fi
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$build" -j2 >/dev/null || exit 1

work="$build/run"
rm -rf "$work"
mkdir -p "$work/corpus"
cp "$here"/corpus/* "$work/corpus/"
# An input that takes 10 s counts as a hang. The resource manager builds its
# sound slots, which want an audio device; the null one will do.
export ALSOFT_DRIVERS=null
if ! "$build/SpriteLoaderFuzz" -max_total_time="$seconds" -timeout=10 -dict="$here/sprite.dict" \
  -artifact_prefix="$work/" "$work/corpus" >"$work/fuzz.out" 2>&1; then
  grep -E -A40 'ERROR|SUMMARY|deadly|timeout|leak' "$work/fuzz.out" | head -80
  echo "FAIL: the sprite loader fuzz target found an input that breaks it (in $work):"
  ls "$work" | grep -E '^(crash|timeout|leak|oom|slow-unit)-'
  exit 1
fi
grep -E '^#[0-9]+[[:space:]]+DONE' "$work/fuzz.out"
echo "sprite loader fuzzing: no finding in $seconds s"
