#!/usr/bin/env bash
# The engine as another project sees it. "build" installs the engine from the
# source tree into a scratch prefix and builds examples/ against it with
# nothing but find_package; "play" runs that example in the test X server,
# steers it with xdotool, and checks what it drew, printed and logged;
# "terminal" plays the same example, unchanged, in a tmux pane.
# Usage: example-e2e.sh build <repository root> <scratch folder>
#        example-e2e.sh play <scratch folder>
#        example-e2e.sh terminal <scratch folder>
set -uo pipefail
# shellcheck source=game-driver.sh
source "$(dirname "${BASH_SOURCE[0]}")/game-driver.sh"

mode=$1
fail() {
  echo "FAIL: $*"
  exit 1
}

build() {
  local root=$1 work=$2
  local prefix=$work/prefix moth=$work/moth
  rm -rf "$prefix" "$moth"
  # A plain build of what gets installed: no sanitizers, no optimisation to
  # wait for, no game. The build folder is kept, so that later runs rebuild
  # only what changed.
  cmake -S "$root" -B "$work/engine" -DCMAKE_BUILD_TYPE=None -DQM_TESTS=OFF >/dev/null ||
    fail "configuring the engine"
  cmake --build "$work/engine" --target qm_engine quillmoth_sprite -j2 \
    >"$work/engine-build.txt" 2>&1 || {
    tail -n 30 "$work/engine-build.txt"
    fail "building the engine"
  }
  cmake --install "$work/engine" --prefix "$prefix" >/dev/null || fail "installing the engine"

  cmake -S "$root/examples" -B "$moth" -DCMAKE_PREFIX_PATH="$prefix" >"$work/moth-config.txt" 2>&1 || {
    cat "$work/moth-config.txt"
    fail "configuring the example against the installed engine"
  }
  cmake --build "$moth" >"$work/moth-build.txt" 2>&1 || {
    cat "$work/moth-build.txt"
    fail "building the example against the installed engine"
  }
  [ -f "$moth/qm-font.ttf" ] || fail "the package's font was not put beside the example"

  # The sprite checker comes with the package.
  local report
  report=$("$prefix/bin/quillmoth-sprite" "$root/examples/moth_spr.txt") ||
    fail "the installed sprite checker refused the example's sprite: $report"
  [[ $report == *": 2 frames, 3 x 1, cyan, slowdown 4" ]] || fail "sprite checker said: $report"
  echo "1 passed, 0 failed"
}

play() {
  local moth=$1/moth
  local game_pid=""
  trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null' EXIT
  [ -x "$moth/moth" ] || fail "no example built in $moth"
  [ -n "${DISPLAY:-}" ] || fail "no X display to play in"
  command -v import >/dev/null || fail "ImageMagick's import is needed to look at the window"
  export ALSOFT_DRIVERS=null
  cd "$moth" || exit 1

  # Left alone with a number of passes, it ends by itself, unmoved.
  local out status
  out=$(timeout 30 ./moth 15 2>/dev/null)
  status=$?
  [ "$status" -eq 0 ] || fail "exit status $status after 15 passes, expected 0"
  [ "$out" = "moth: ended at 40.0,12.0 after 0 moves" ] || fail "after 15 passes it said: $out"

  # Played: held right arrow, a look at the window, then Q.
  ./moth >"$moth/stdout" 2>/dev/null &
  game_pid=$!
  local window
  window=$(shown_window)
  [ -n "$window" ] || fail "no window titled Quillmoth appeared"
  focus_window "$window" || fail "the window never took the focus"
  sleep 0.3
  xdotool keydown Right
  sleep 0.5
  xdotool keyup Right
  sleep 0.2
  # The moth is cyan; the counter and its frame are white.
  import -window "$window" -depth 8 "txt:$moth/screen.txt" 2>/dev/null
  grep -q '#00FFFF' "$moth/screen.txt" || fail "no cyan moth on screen"
  grep -q '#FFFFFF' "$moth/screen.txt" || fail "no white counter on screen"
  rm -f "$moth/screen.txt"
  xdotool key q
  for _ in $(seq 1 40); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$game_pid" 2>/dev/null && fail "still running 2 s after Q"
  wait "$game_pid"
  status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "exit status $status after Q, expected 0"

  out=$(cat "$moth/stdout")
  local x moves
  x=$(sed -n 's/^moth: ended at \([0-9.]*\),12\.0 after \([0-9]*\) moves$/\1/p' <<<"$out")
  moves=$(sed -n 's/^moth: ended at [0-9.]*,12\.0 after \([0-9]*\) moves$/\1/p' <<<"$out")
  [ -n "$x" ] || fail "after Q it said: $out"
  [ "$moves" = 1 ] || fail "one arrow press counted as $moves moves"
  awk -v x="$x" 'BEGIN { exit !(x > 40) }' || fail "the right arrow left the moth at x $x"
  if grep -q -E 'Error|WARNING|Warning' "$moth/quillmoth.log"; then
    cat "$moth/quillmoth.log"
    fail "the log reports errors"
  fi
  echo "1 passed, 0 failed"
}

# The example's code knows nothing of terminals: the engine's display,
# chosen by the environment, draws it there and reads its keys.
terminal() {
  local moth
  moth=$(cd "$1/moth" 2>/dev/null && pwd)
  [ -x "$moth/moth" ] || fail "no example built in $1/moth"
  work=$(mktemp -d)
  # shellcheck source=terminal-driver.sh
  source "$(dirname "${BASH_SOURCE[0]}")/terminal-driver.sh"
  start_tmux_server
  cd "$moth" || exit 1
  start_pane 90 26 env -C "$moth" -u DISPLAY ALSOFT_DRIVERS=null QUILLMOTH_DISPLAY=terminal \
    ./moth
  wait_for_screen 'Moves' || fail "no counter on the terminal's screen"
  # A terminal without the keyboard protocol lets each key go at once: the
  # arrow is one move that the moth has no pass to fly.
  tmux_do send-keys -t play Right
  wait_for_screen 'Moves 1' 3 || fail "the right arrow was not counted as one move"
  # A lone Escape, told from the start of a sequence by what does not follow.
  tmux_do send-keys -t play Escape
  wait_for_pane_end || fail "still running 5 s after Escape"
  [ "$status" = 0 ] || fail "exit status $status after Escape, expected 0"
  [ "$(pane_modes)" = "0 1 0 0" ] || fail "the terminal was left in modes $(pane_modes)"
  [ "$(screen_text)" = "moth: ended at 40.0,12.0 after 1 moves" ] ||
    fail "after Escape the terminal shows: $(screen_text)"
  echo "1 passed, 0 failed"
}

case $mode in
build) build "$2" "$3" ;;
play) play "$2" ;;
terminal) terminal "$2" ;;
*) fail "unknown mode $mode" ;;
esac
