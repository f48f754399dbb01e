# shellcheck shell=bash
# Shared by the scripts that play a program on the engine in a text terminal:
# a tmux server of the script's own, a pane of a given size running the
# program, its screen as text, and the terminal modes that the pane is left
# in. Each caller says in its own words what failed.

# Servers on sockets of their own, without the user's configuration, one
# for each pane, that go when the script ends however it ends; $work must be
# set.
start_tmux_server() {
  command -v tmux >/dev/null || fail "tmux is needed to play in a terminal"
  pane_count=0
  # shellcheck disable=SC2064 # the folder is fixed now
  trap "for socket in '$work'/tmux-*.sock; do tmux -S \"\$socket\" kill-server 2>/dev/null; done
        rm -rf '$work'" EXIT
  # What a pane runs: the program, as a process whose number is written
  # down, and after it a shell's wait, so that the pane and its terminal
  # modes outlive the program (tmux hides the cursor of a dead pane).
  cat >"$work/pane.sh" <<'EOF'
bash -c 'echo $$ >"$0"; exec "$@"' "$PANE_PID_FILE" "$@"
echo $? >"$PANE_STATUS_FILE"
exec sleep 3600
EOF
}

tmux_do() {
  tmux -S "$tmux_socket" -f /dev/null "$@"
}

# Runs "$3" and on in a new pane, the only one, of $1 x $2 cells in $work, as a process of
# its own: game_pid is its number.
start_pane() {
  local columns=$1 rows=$2
  shift 2
  # A server that has just been told to go may still hold its socket.
  [ "$pane_count" -gt 0 ] && tmux_do kill-server 2>/dev/null
  pane_count=$((pane_count + 1))
  tmux_socket="$work/tmux-$pane_count.sock"
  rm -f "$work/pane.pid" "$work/pane.status"
  tmux_do new-session -d -x "$columns" -y "$rows" -s play -c "$work" \
    "PANE_PID_FILE='$work/pane.pid' PANE_STATUS_FILE='$work/pane.status' bash '$work/pane.sh' $(printf '%q ' "$@")"
  for _ in $(seq 1 100); do
    [ -s "$work/pane.pid" ] && break
    sleep 0.02
  done
  game_pid=$(cat "$work/pane.pid" 2>/dev/null)
}

# The screen as text, without trailing blanks or trailing empty lines.
screen_text() {
  tmux_do capture-pane -p -t play | sed 's/[[:space:]]*$//' | without_blank_end
}

# Standard input less the empty lines at its end.
without_blank_end() {
  awk '{ lines[NR] = $0 } length($0) { last = NR } END { for (i = 1; i <= last; i++) print lines[i] }'
}

# Waits up to $2 seconds (10 by default) for the screen to show the extended
# regular expression $1; 1 when it does not.
wait_for_screen() {
  local tries=$((${2:-10} * 20))
  for _ in $(seq 1 "$tries"); do
    screen_text | grep -q -E -- "$1" && return 0
    sleep 0.05
  done
  return 1
}

# The pane's terminal modes: alternate screen, cursor shown, any-motion
# pointer, SGR pointer reports, as "1 0 1 1" for a game on screen.
pane_modes() {
  tmux_do display-message -p -t play \
    '#{alternate_on} #{cursor_flag} #{mouse_any_flag} #{mouse_sgr_flag}'
}

# Waits up to 5 s for the program in the pane to end: sets status to its exit
# status (128 + the signal's number for one ended by a signal); 1 when it is
# still running.
wait_for_pane_end() {
  for _ in $(seq 1 100); do
    if [ -s "$work/pane.status" ]; then
      status=$(cat "$work/pane.status")
      return 0
    fi
    sleep 0.05
  done
  return 1
}
