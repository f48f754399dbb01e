#!/usr/bin/env bash
# Plays the real game binary on an X server of its own with random input for a set
# time (pointer moves in and out of the window, P, clicks, other keys tapped
# and held, never Q), then presses Q. It must exit 0 soon after, with no
# sanitizer report on standard error, and its resident memory must not grow
# once it has warmed up.
# Usage: soak.sh <quillmoth binary> <repository root> <seconds> [<warm-up seconds>]
set -uo pipefail

binary=$1
root=$2
seconds=$3
# What the program holds grows while it warms up: the font's glyphs, the GL
# driver's buffers, the audio streams and the sanitizer's allocator caches.
# Only samples after this are compared: a minute in a long run; 20 s in the
# short one that the test suite runs, where that is all there is time for.
warm_up=${4:-$((seconds >= 180 ? 60 : 20))}
# Memory may still move a little after the warm-up (allocator caches, the
# font's glyph pages): up to this many kB above the highest warm sample.
tolerance_kb=8192
sample_every=5

work=$(mktemp -d)
# shellcheck source=game-driver.sh
source "$(dirname "${BASH_SOURCE[0]}")/game-driver.sh"
clean_up_on_exit "$work"

fail() {
  echo "FAIL: $*"
  echo "--- memory samples (s, kB) ---"
  cat "$work/samples" 2>/dev/null
  echo "--- stderr ---"
  tail -n 60 "$work/stderr" 2>/dev/null
  exit 1
}

ln -s "$root/Sprites" "$root/Sounds" "$root/qm-font.ttf" "$work/"
cd "$work" || exit 1

# The GL and audio drivers are unloaded before a sanitizer build's leak check,
# so their allocations would read as leaks; every other sanitizer report
# still fails the run. A small quarantine lets freed memory be reused within
# seconds, so that resident memory levels off instead of growing by the
# quarantine's size over the first minutes.
export ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16
export UBSAN_OPTIONS=print_stacktrace=1
export ALSOFT_DRIVERS=null

own_x_server 1280x1024 "$work" || fail "no X server of its own to play in"

launch_game "$binary" || fail "no window titled Quillmoth appeared"

keys=(a b c d e f g h i j k l m n o r s t u v w x y z 0 1 2 3 4 5 6 7 8 9 space Return Escape
  Tab BackSpace Left Right Up Down F1 F5 F12 comma period minus shift ctrl)
# One burst of a few random actions in one xdotool call, with short pauses so
# that they fall into different passes of the game loop.
burst() {
  local actions=() n held
  for n in 1 2 3 4 5 6; do
    case $((RANDOM % 10)) in
    0 | 1 | 2) actions+=(mousemove --window "$window" $((RANDOM % 1024)) $((RANDOM % 768))) ;;
    3) actions+=(mousemove $((RANDOM % 1280)) $((RANDOM % 1024))) ;; # often outside it
    4) actions+=(key p) ;;
    5) actions+=(click $((RANDOM % 3 + 1))) ;;
    6)
      held=${keys[RANDOM % ${#keys[@]}]}
      actions+=(keydown "$held" sleep 0.3 keyup "$held")
      ;;
    *) actions+=(key "${keys[RANDOM % ${#keys[@]}]}") ;;
    esac
    actions+=(sleep 0.04)
  done
  xdotool "${actions[@]}" 2>/dev/null
}

start=$(date +%s)
next_sample=0
: >"$work/samples"
while true; do
  elapsed=$(($(date +%s) - start))
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended before Q, after ${elapsed} s"
  if [ "$elapsed" -ge "$next_sample" ]; then
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status")
    echo "$elapsed $rss" >>"$work/samples"
    next_sample=$((next_sample + sample_every))
  fi
  [ "$elapsed" -lt "$seconds" ] || break
  burst
done
# Keys released by now, held ones included, so that Q comes alone.
xdotool keyup shift ctrl 2>/dev/null
sleep 0.2

# Q quits on the start screen and in a game; during an end screen it does
# nothing, so it is pressed until the game ends (an end screen lasts 3 s).
status=""
for _ in $(seq 1 50); do
  xdotool key q 2>/dev/null
  sleep 0.2
  if ! kill -0 "$game_pid" 2>/dev/null; then
    wait "$game_pid"
    status=$?
    break
  fi
done
[ -n "$status" ] || fail "still running 10 s after the first Q"
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Q, expected 0"
if grep -q -E 'ERROR: AddressSanitizer|runtime error:|SUMMARY: (Address|Undefined|Leak)' \
  "$work/stderr"; then
  fail "sanitizer report on standard error"
fi
log="$work/quillmoth.log"
if grep -E 'Error|WARNING|Warning' "$log"; then
  fail "the log reports errors"
fi
# The start screen and each game's score display log their addresses.
screens=$(grep -c -E '^Message : (0x)?[0-9a-f]+$' "$log")
[ "$screens" -ge 2 ] || fail "no game was started: $screens address lines in the log"
echo "$((screens - 1)) start screens and games made"

read -r start_rss max_rss end_rss warm_max late_max < <(awk -v warm="$warm_up" -v end="$seconds" '
  NR == 1 { first = $2 }
  { if ($2 > max) max = $2; last = $2 }
  $1 >= warm && $1 < warm + 15 && $2 > warm_max { warm_max = $2 }
  $1 >= end - 15 && $2 > late_max { late_max = $2 }
  END { print first, max, last, warm_max, late_max }' "$work/samples")
echo "resident memory (kB): start $start_rss, end $end_rss, max $max_rss;" \
  "highest at ${warm_up}-$((warm_up + 15)) s $warm_max, in the last 15 s $late_max"
echo "samples (s:kB):" $(tr ' ' ':' <"$work/samples")
[ -n "$warm_max" ] && [ -n "$late_max" ] || fail "too few memory samples"
[ "$late_max" -le $((warm_max + tolerance_kb)) ] ||
  fail "resident memory grew by $((late_max - warm_max)) kB after the warm-up"
echo "1 passed, 0 failed"
