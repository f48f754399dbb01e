# shellcheck shell=bash
# Shared by the scripts that play the real game: starting it in the
# background until its window shows, and waiting for it to end. Each caller
# says in its own words what failed.

game_pid=""
x_server_pid=""

# On exit, however the script ends, stops a game still running and an X
# server of the script's own, and removes the scratch folder given.
clean_up_on_exit() {
  # shellcheck disable=SC2064 # the folder is fixed now, the game when it runs
  trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$x_server_pid" ] && kill "$x_server_pid" 2>/dev/null; rm -rf "'"$1"'"' EXIT
}

# Starts an X server with the arguments after the folder, in which its
# display number is written: sets x_server_pid and x_display (":N"); 1 when
# none started within 5 s. The server chooses a free display itself, so that
# servers started side by side never share one.
start_x_server() {
  local display_file=$1/x-display
  shift
  rm -f "$display_file"
  Xvfb -displayfd 3 "$@" 3>"$display_file" 2>/dev/null &
  x_server_pid=$!
  for _ in $(seq 1 100); do
    if [ -s "$display_file" ]; then
      x_display=":$(cat "$display_file")"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# An X server of the script's own with a screen of WIDTHxHEIGHT, its display
# number written in the folder given, and DISPLAY pointed at it, so that the
# keys the script presses reach its game whatever other tests show meanwhile.
own_x_server() {
  start_x_server "$2" -screen 0 "$1x24" -noreset || return 1
  DISPLAY=$x_display
  export DISPLAY
}

# Waits up to 20 s for the game's window to be on the screen and prints it.
shown_window() {
  timeout 20 xdotool search --sync --onlyvisible --name '^Quillmoth$' | head -n 1
}

# Gives the window the keyboard focus and looks until it has it, for up to
# 5 s; 1 when it never does. A window that has its title but is not on the
# screen yet cannot take the focus, and keys sent meanwhile go nowhere.
focus_window() {
  for _ in $(seq 1 50); do
    xdotool windowfocus "$1" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Runs "$@" in the background with its output in $work/stdout and
# $work/stderr, and waits for its window to show and take the focus: sets
# game_pid and window; 1 when it does not within 25 s.
launch_game() {
  "$@" >"$work/stdout" 2>"$work/stderr" &
  game_pid=$!
  window=$(shown_window)
  [ -n "$window" ] && focus_window "$window"
}

# Waits up to 3 s for the game to end: sets status and clears game_pid; 1
# when it is still running.
wait_for_exit() {
  status=""
  for _ in $(seq 1 60); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      status=$?
      game_pid=""
      return 0
    fi
    sleep 0.05
  done
  return 1
}
