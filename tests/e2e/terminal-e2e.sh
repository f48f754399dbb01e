#!/usr/bin/env bash
# Plays the real game binary in a text terminal, a tmux pane without any X
# server: the start screen read back as text against the sprite it is drawn
# from, P, the arena and the score, the platform steered by pointer reports
# column for column, resizes below and above 80x24, Ctrl-Z and fg, and Q and
# stop signals each leaving the pane as it was found. Then the one line of a
# start that asks for no display there is.
# Usage: terminal-e2e.sh <quillmoth binary> <repository root>
set -uo pipefail

binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$2
work=$(mktemp -d)
# shellcheck source=terminal-driver.sh
source "$(dirname "${BASH_SOURCE[0]}")/terminal-driver.sh"

fail() {
  echo "FAIL: $*"
  echo "--- screen ---"
  screen_text 2>/dev/null
  echo "--- log ---"
  cat "$work/quillmoth.log" 2>/dev/null
  exit 1
}

start_tmux_server
ln -s "$root/Sprites" "$root/Sounds" "$root/qm-font.ttf" "$work/"
cd "$work" || exit 1
# The audio driver is unloaded before a sanitizer build's leak check, so its
# allocations would read as leaks and turn the exit status non-zero. A
# sanitizer's report aborts, so that it reaches the screen after the game.
game=(env -u DISPLAY ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 QUILLMOTH_DISPLAY=terminal)
# shellcheck disable=SC2034 # read by the driver's fail
log="$work/quillmoth.log"

# The start screen in a pane of columns x rows, from the game_start sprite
# file: one of its frames, whichever the animation is at, centred.
start_screen_matches() {
  local columns=$1 rows=$2 shown frame
  local pad sprite="$root/Sprites/game_start_spr.txt"
  pad=$(printf '%*s' $(((columns - 80) / 2)) '')
  shown=$(screen_text)
  for frame in $(seq 0 15); do
    expected=$(
      for _ in $(seq 1 $(((rows - 24) / 2))); do echo; done
      sed -n "$((6 + frame * 24)),$((5 + (frame + 1) * 24))p" "$sprite" |
        sed "s/^/$pad/; s/[[:space:]]*$//"
    )
    expected=$(without_blank_end <<<"$expected")
    [ "$shown" = "$expected" ] && return 0
  done
  return 1
}

# The start screen, whole, and the modes of a game on screen.
start_pane 100 30 "${game[@]}" ALSOFT_DRIVERS=null "$binary"
wait_for_screen 'P to play' || fail "no start screen within 10 s"
start_screen_matches 100 30 || fail "the start screen is not the start sprite centred in 100x30"
[ "$(pane_modes)" = "1 0 1 1" ] || fail "modes in play $(pane_modes), expected alternate screen, no cursor, pointer on"

# Too small: the notice, with the sizes; big enough again: the picture whole.
tmux_do resize-window -t play -x 60 -y 20
wait_for_screen '^Needs a terminal of at least 80x24; this one is 60x20\.$' 3 ||
  fail "no notice in a 60x20 terminal"
[ "$(screen_text | wc -l)" -eq 1 ] || fail "more than the notice in a 60x20 terminal"
tmux_do resize-window -t play -x 120 -y 40
sleep 0.3
start_screen_matches 120 40 || fail "the start screen is not whole and centred after growing to 120x40"
tmux_do resize-window -t play -x 100 -y 30
sleep 0.3

# P: the arena, its walls and the score.
tmux_do send-keys -t play p
wait_for_screen '\| Points 0 \|' 3 || fail "no score display after P"
screen_text | sed -n 4p | grep -q -E '^ {10}=+\+-+\+=+$' || fail "no top wall on the arena's first row"
[ "$(screen_text | sed -n '5,27p' | cut -c11-12 | grep -c -E '^ ?[#|]')" -eq 23 ] ||
  fail "no left wall down the arena"

# Pointer reports in SGR form, motion without a button, at terminal columns
# 20 to 60 of row 25 (1-based): the platform, on that row, follows column
# for column.
offset=""
for column in $(seq 20 4 60); do
  tmux_do send-keys -t play -l $'\e[<35;'"$column"$';25M'
  sleep 0.15
  left=$(screen_text | sed -n 25p | grep -o -b '<=' | head -n 1 | cut -d: -f1)
  [ -n "$left" ] || fail "no platform on row 25 after a pointer report at column $column"
  [ -z "$offset" ] && offset=$((left - column))
  [ $((left - column)) -eq "$offset" ] ||
    fail "the platform stood at $left for the pointer at $column, expected $((column + offset))"
done

# Q: the game ends at once and the pane is as it was.
tmux_do send-keys -t play q
wait_for_pane_end || fail "still running 5 s after Q"
[ "$status" = 0 ] || fail "exit status $status after Q, expected 0"
[ "$(pane_modes)" = "0 1 0 0" ] || fail "modes after Q $(pane_modes), expected main screen, cursor, no pointer"
grep -q -E 'Error|WARNING|Warning' "$log" && fail "the log reports errors"

# Without a sound device the game is silent, and the one line that says so
# waits until the terminal is given back; SIGTERM ends the game as Q does.
start_pane 100 30 "${game[@]}" ALSOFT_DRIVERS=none "$binary"
wait_for_screen 'P to play' || fail "no start screen without a sound device"
sleep 0.5
screen_text | grep -q 'sound' && fail "the line about sound reached the game's screen"
start_screen_matches 100 30 || fail "the start screen is not whole without a sound device"
kill -TERM "$game_pid"
wait_for_pane_end || fail "still running 5 s after SIGTERM"
[ "$status" = 0 ] || fail "exit status $status after SIGTERM, expected 0"
[ "$(pane_modes)" = "0 1 0 0" ] || fail "modes after SIGTERM $(pane_modes)"
[ "$(screen_text)" = "No sound device: running without sound." ] ||
  fail "after SIGTERM the pane does not show the one line about sound alone"

# A second SIGINT right after the first, before the game has ended: it ends
# the game at once (status 130), with the terminal given back all the same.
start_pane 100 30 "${game[@]}" ALSOFT_DRIVERS=null "$binary"
wait_for_screen 'P to play' || fail "no start screen for the two signals"
kill -INT "$game_pid"
sleep 0.005
kill -INT "$game_pid"
wait_for_pane_end || fail "still running 5 s after two SIGINTs"
[ "$(pane_modes)" = "0 1 0 0" ] || fail "modes after two SIGINTs $(pane_modes)"

# Ctrl-Z, from a shell with job control: the game stops with the terminal
# given back, and fg brings its screen back whole.
start_pane 100 30 bash --norc --noprofile -i
tmux_do send-keys -t play "$(printf '%q ' "${game[@]}" ALSOFT_DRIVERS=null "$binary")" Enter
wait_for_screen 'P to play' || fail "no start screen when started from a shell"
tmux_do send-keys -t play C-z
wait_for_screen 'Stopped' 3 || fail "the shell does not say the game stopped after Ctrl-Z"
[ "$(pane_modes)" = "0 1 0 0" ] || fail "modes after Ctrl-Z $(pane_modes), expected the terminal given back"
tmux_do send-keys -t play "fg" Enter
wait_for_screen 'P to play' 3 || fail "no start screen after fg"
start_screen_matches 100 30 || fail "the start screen did not come back whole after fg"
[ "$(pane_modes)" = "1 0 1 1" ] || fail "modes after fg $(pane_modes)"
tmux_do send-keys -t play q
wait_for_screen 'P to play' 3 && sleep 0.5
[ "$(pane_modes)" = "0 1 0 0" ] || fail "modes after Q from a shell $(pane_modes)"

# Asked for a display there is none of, for the terminal without one, or for
# a window without X: one line each, naming what there is.
ALSOFT_DRIVERS=null QUILLMOTH_DISPLAY=paper "$binary" >"$work/stdout" 2>"$work/stderr" </dev/null
status=$?
[ "$status" -eq 1 ] || fail "exit status $status with QUILLMOTH_DISPLAY=paper, expected 1"
[ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "not one line on standard error for an unknown display"
grep -q 'QUILLMOTH_DISPLAY must be window (the default) or terminal' "$work/stderr" ||
  fail "the line for an unknown display does not name the displays: $(cat "$work/stderr")"
grep -q -x 'Message : Error! Unable to generate display window.' "$log" ||
  fail "the log does not say the display failed"
setsid -w env QUILLMOTH_DISPLAY=terminal ALSOFT_DRIVERS=null "$binary" \
  >"$work/stdout" 2>"$work/stderr" </dev/null
status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a terminal, expected 1"
[ "$(cat "$work/stderr")" = "quillmoth: could not start the engine (no terminal to play in); see quillmoth.log for details" ] ||
  fail "without a terminal it said: $(cat "$work/stderr")"
env -u DISPLAY -u QUILLMOTH_DISPLAY ALSOFT_DRIVERS=null "$binary" >"$work/stdout" 2>"$work/stderr" </dev/null
[ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "not one line on standard error without X"
grep -q 'QUILLMOTH_DISPLAY=terminal' "$work/stderr" ||
  fail "without X the line does not say how to play in the terminal: $(cat "$work/stderr")"

echo "1 passed, 0 failed"
