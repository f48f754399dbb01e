#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs them one after the other, each
# for half the time given, on copies of their seed corpora, so that the
# repository's corpora stay as they are. Prints a line and succeeds when
# there is no clang++ to build them with.
# Usage: run-fuzz.sh <build dir> <seconds>
set -uo pipefail

build=$1
seconds=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if ! command -v clang++ >/dev/null; then
  echo "fuzzing skipped: no clang++"
  exit 0
fi
# clang without its fuzzer runtime (libclang-rt-dev) cannot build the targets.
mkdir -p "$build"
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
  clang++ -x c++ -fsanitize=fuzzer -o "$build/probe" - >/dev/null 2>&1; then
  echo "fuzzing skipped: clang++ has no libFuzzer runtime"
  exit 0
fi
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$build" -j2 >/dev/null || exit 1

# An input that takes 10 s counts as a hang. The resource manager builds its
# sound slots, which want an audio device; the null one will do.
export ALSOFT_DRIVERS=null
# fuzz <target> <what it fuzzes> <dictionary> <seed files>...
fuzz() {
  local target=$1 what=$2 dict=$3
  shift 3
  local work="$build/run-$target"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  cp "$@" "$work/corpus/"
  if ! "$build/$target" -max_total_time="$((seconds / 2))" -timeout=10 -dict="$dict" \
    -artifact_prefix="$work/" "$work/corpus" >"$work/fuzz.out" 2>&1; then
    grep -E -A40 'ERROR|SUMMARY|deadly|timeout|leak' "$work/fuzz.out" | head -80
    echo "FAIL: the $what fuzz target found an input that breaks it (in $work):"
    ls "$work" | grep -E '^(crash|timeout|leak|oom|slow-unit)-'
    return 1
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE' "$work/fuzz.out"
  echo "$what fuzzing: no finding in $((seconds / 2)) s"
}

status=0
fuzz SpriteLoaderFuzz "sprite loader" "$here/sprite.dict" "$here"/corpus/* || status=1
fuzz TerminalInputFuzz "terminal input" "$here/terminal.dict" \
  "$here"/../data/terminal-streams/*.bytes || status=1
exit $status
