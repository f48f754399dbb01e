#!/usr/bin/env bash
# Runs the real game binary in the test X server, plays it with xdotool and
# checks its log and exit status; stops it with signals and with the window's
# close request, and runs it without a sound device; checks that without a
# usable display it fails at once with its one line on standard error; then
# plays it at other window sizes and at the full screen.
# Usage: quillmoth-e2e.sh <quillmoth binary> <repository root> <close_request binary>
set -uo pipefail

binary=$1
root=$2
close_request=$3
work=$(mktemp -d)
# shellcheck source=game-driver.sh
source "$(dirname "${BASH_SOURCE[0]}")/game-driver.sh"
clean_up_on_exit "$work"

fail() {
  [ -n "$x_server_pid" ] && kill "$x_server_pid" 2>/dev/null
  echo "FAIL: $*"
  echo "--- log ---"
  cat "$work/quillmoth.log" 2>/dev/null
  echo "--- stderr ---"
  cat "$work/stderr" 2>/dev/null
  exit 1
}

# The game reads its data relative to its working directory and writes its log
# there; a scratch folder keeps the log out of the repository.
ln -s "$root/Sprites" "$root/Sounds" "$root/qm-font.ttf" "$work/"
cd "$work" || exit 1

# The GL and audio drivers are unloaded before a sanitizer build's leak check,
# so their allocations would read as leaks and turn the exit status non-zero.
export ASAN_OPTIONS=detect_leaks=0
export ALSOFT_DRIVERS=null

[ -n "${DISPLAY:-}" ] || fail "no X display to play in"

# Q, and the game must end at once with status 0; $1 says when.
quit_game() {
  xdotool key q
  wait_for_exit || fail "still running 3 s after Q, $1"
  [ "$status" -eq 0 ] || fail "exit status $status after Q, $1, expected 0"
}

launch_game "$binary" || fail "no window titled Quillmoth appeared"
sleep 0.5

# Start a game, steer the platform, then quit during play.
xdotool key --delay 60 p
sleep 0.5
for x in 200 400 600 800 500; do
  xdotool mousemove --window "$window" "$x" 650
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null || fail "the game ended before Q was pressed"

xdotool key q
quit_start=$(date +%s%N)
wait_for_exit || fail "still running 3 s after Q"
quit_ms=$((($(date +%s%N) - quit_start) / 1000000))
[ "$status" -eq 0 ] || fail "exit status $status after Q, expected 0"
echo "quit took ${quit_ms} ms"

log="$work/quillmoth.log"
[ -s "$log" ] || fail "no log written"
if grep -q -E 'Error|WARNING|Warning' "$log"; then
  fail "the log reports errors"
fi
# The start screen and, after P, the score display each log their address.
pointer_lines=$(grep -c -E '^Message : (0x)?[0-9a-f]+$' "$log")
[ "$pointer_lines" -ge 2 ] || fail "expected a start screen and a score display in the log, found $pointer_lines address lines"

# Without a display the engine cannot open its window.
start=$(date +%s%N)
env -u DISPLAY "$binary" >"$work/stdout" 2>"$work/stderr"
status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ "$status" -eq 1 ] || fail "exit status $status without a display, expected 1"
[ "$elapsed_ms" -lt 5000 ] || fail "took ${elapsed_ms} ms to give up without a display"
stderr_lines=$(wc -l <"$work/stderr")
[ "$stderr_lines" -eq 1 ] || fail "expected one line on standard error, got $stderr_lines"
grep -q 'quillmoth.log' "$work/stderr" || fail "the error line does not point at the log"
grep -q 'Error! Unable to generate display window.' "$log" || fail "the log does not say the window failed"

# Nor with a display that names no running server.
DISPLAY=:99999 "$binary" >"$work/stdout" 2>"$work/stderr"
status=$?
[ "$status" -eq 1 ] || fail "exit status $status with an unreachable display, expected 1"
grep -q 'quillmoth.log' "$work/stderr" || fail "no error line with an unreachable display"

# Servers that answer but cannot show SFML's OpenGL window.
for server_args in "-screen 0 1280x1024x24 -extension GLX" "-screen 0 1280x1024x16" \
  "-screen 0 1280x1024x8"; do
  rm -f "$log"
  # shellcheck disable=SC2086 # the server's arguments are words
  start_x_server "$work" $server_args || fail "no Xvfb $server_args"
  DISPLAY=$x_display "$binary" >"$work/stdout" 2>"$work/stderr"
  status=$?
  kill "$x_server_pid" 2>/dev/null
  wait "$x_server_pid" 2>/dev/null
  x_server_pid=""
  [ "$status" -eq 1 ] || fail "exit status $status with Xvfb $server_args, expected 1"
  [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "more than one line on standard error with Xvfb $server_args"
  grep -q 'Error! Unable to generate display window.' "$log" ||
    fail "the log does not say the window failed with Xvfb $server_args"
done

# A fresh log, the game started and its window up.
start_game() {
  rm -f "$log"
  launch_game "$binary" || fail "no window titled Quillmoth appeared"
  sleep 0.5
}

# A stop signal ends the game as Q does: the log is complete and closed.
# Job control gives the game its own process group, in which SIGINT is not
# ignored as it is for background commands of a script.
set -m
for signal_name in TERM INT HUP; do
  start_game
  kill -s "$signal_name" "$game_pid"
  wait_for_exit || fail "still running 3 s after SIG$signal_name"
  [ "$status" -eq 0 ] || fail "exit status $status after SIG$signal_name, expected 0"
  grep -q -E '^Message : (0x)?[0-9a-f]+$' "$log" ||
    fail "the log lost its lines after SIG$signal_name"
done
set +m

# The window's close button ends the game as Q does: the window manager asks
# the window to close.
start_game
"$close_request" "$window" || fail "the close request could not be sent"
wait_for_exit || fail "still running 3 s after the close request"
[ "$status" -eq 0 ] || fail "exit status $status after the close request, expected 0"
grep -q -E '^Message : (0x)?[0-9a-f]+$' "$log" || fail "the log lost its lines after the close request"

# Without a sound device the game plays silent and says so once: with OpenAL
# given no driver, and with its usual drivers on a machine without a sound
# card, where the sound libraries below it would have much to say.
for drivers in "ALSOFT_DRIVERS=none" "-u ALSOFT_DRIVERS"; do
  rm -f "$log"
  # shellcheck disable=SC2086 # env's words
  launch_game env $drivers "$binary" || fail "no window titled Quillmoth appeared"
  sleep 2
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended without a sound device ($drivers)"
  quit_game "without a sound device ($drivers)"
  # Xvfb makes SFML note that it cannot set vertical sync; nothing else may
  # come, and nothing about sound but the one line. A machine with a sound
  # card plays with its usual drivers and says nothing.
  expected_lines=1
  if [ "$drivers" != "ALSOFT_DRIVERS=none" ] && ! grep -q 'No sound device' "$log"; then
    expected_lines=0
  fi
  [ "$(grep -c -v 'vertical sync' "$work/stderr")" -eq "$expected_lines" ] ||
    fail "expected $expected_lines line on standard error ($drivers), got $(wc -l <"$work/stderr")"
  [ "$expected_lines" -eq 0 ] && continue
  grep -q -x 'No sound device: running without sound.' "$work/stderr" ||
    fail "no line saying the game is silent ($drivers)"
  grep -q '^Message : Warning: No sound device' "$log" || fail "the log does not warn of the silence"
done

# At any size the platform is drawn under the pointer: at twice the first
# size, in a 16:9 window with bars left and right, and at the full screen
# after F11; F11 again brings back the window at its size. A server of its
# own holds a window of twice the first size and a full screen bigger still;
# windows are moved to its corner, since only what is on the screen can be
# read back. The ball is lost about three seconds into a game, so each game
# is looked at only in its first two.
own_x_server 2560x1600 "$work" || fail "no X server of its own for the sizes"

# Where the window shows green ink, the platform, in the band of rows where
# the platform's row lies when the picture fills the window's height: "left
# width", with a width of 0 when there is none.
green_ink() {
  read -r width height <<<"$(xdotool getwindowgeometry "$window" |
    sed -n -E 's/.*Geometry: ([0-9]+)x([0-9]+)/\1 \2/p')"
  import -window "$window" "$work/shot.png" &&
    convert "$work/shot.png" -crop "${width}x$((height / 10))+0+$((height * 85 / 100))" +repage \
      -separate \( -clone 1 -threshold 50% \) \
      \( -clone 0 -negate -threshold 75% \) -delete 0-2 -compose multiply -composite \
      -format '%@' info: | sed -E 's/^([0-9]+)x[0-9]+\+([0-9]+)\+.*/\2 \1/'
}

# Moves the pointer to (x, y) in the window and checks that the platform's
# middle comes within a cell of it, looking a few times over half a second.
platform_follows() {
  xdotool mousemove --window "$window" "$1" "$2"
  for _ in 1 2 3; do
    sleep 0.15
    read -r left width <<<"$(green_ink)"
    middle=$((left + width / 2))
    [ "${width:-0}" -gt 0 ] && [ "$middle" -ge $(($1 - 30)) ] && [ "$middle" -le $(($1 + 30)) ] &&
      return 0
  done
  [ "${width:-0}" -gt 0 ] || fail "no platform on screen at $3"
  fail "platform drawn at $middle for the pointer at $1, at $3"
}

# Waits up to 3 s for the game's window to have the size given: F11 makes
# the window anew. Sets window to it and focuses it; 1 when none comes.
window_of_size() {
  for _ in $(seq 1 30); do
    window=$(xdotool search --onlyvisible --name '^Quillmoth$' | head -n 1)
    if [ -n "$window" ] && xdotool getwindowgeometry "$window" | grep -q "Geometry: $1\$"; then
      focus_window "$window"
      return
    fi
    sleep 0.1
  done
  return 1
}

# Whether the window has its icon, set right after the window is made.
has_icon() {
  for _ in $(seq 1 10); do
    [[ "$(xprop -id "$window" _NET_WM_ICON)" == *"Icon (48 x 48)"* ]] && return 0
    sleep 0.1
  done
  return 1
}

start_game
has_icon || fail "the window has no icon"
xdotool windowmove "$window" 0 0 windowsize "$window" 2048 1536
window_of_size 2048x1536 || fail "the window did not take 2048 x 1536"
xdotool key p
platform_follows 500 1400 "2048 x 1536"
platform_follows 1024 1400 "2048 x 1536"
quit_game "at 2048 x 1536"

start_game
xdotool windowmove "$window" 0 0 windowsize "$window" 1600 900
window_of_size 1600x900 || fail "the window did not take 1600 x 900"
xdotool key p
platform_follows 800 800 "1600 x 900"
xdotool key F11
window_of_size 2560x1600 || fail "F11 gave no full screen"
has_icon || fail "the full screen has no icon"
platform_follows 1280 1400 "the full screen"
xdotool key F11
window_of_size 1600x900 || fail "F11 again did not bring back the window at 1600 x 900"
quit_game "after the full screen and back"
kill "$x_server_pid"
wait "$x_server_pid" 2>/dev/null
x_server_pid=""

echo "1 passed, 0 failed"
