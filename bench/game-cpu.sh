#!/usr/bin/env bash
# The real game's processor use, read from /proc while it runs in the X
# server of DISPLAY: at its start screen, and in play with the pointer
# sweeping to and fro across the window. Run from a folder that holds the
# game's data; prints one line of JSON.
#
# Play ends when the ball is lost, and the game-over and start screens that
# follow are not play: the window is looked at twice a second, play is timed
# only while the left wall shows, and P is pressed again whenever it does not.
#
# Usage: game-cpu.sh QUILLMOTH_BINARY SECONDS
set -uo pipefail
# shellcheck source=../tests/e2e/game-driver.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/game-driver.sh"

binary=$1
seconds=$2
ticks_per_second=$(getconf CLK_TCK)
game_pid=""
sweep_pid=""
trap '[ -n "$sweep_pid" ] && kill "$sweep_pid" 2>/dev/null; [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null' EXIT

# Processor ticks of the whole process, the threads of the ones that ended
# included, then of its main thread and of the GL driver's drawing threads.
# The rest are the audio library's mixer and the music's streaming thread.
process_ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
thread_ticks() {
  local main=0 gl=0 task
  for task in /proc/"$game_pid"/task/*; do
    local used
    used=$(awk '{print $14 + $15}' "$task/stat" 2>/dev/null) || continue
    if [ "${task##*/}" = "$game_pid" ]; then
      main=$((main + used))
    elif [[ $(cat "$task/comm" 2>/dev/null) == llvmpipe* ]]; then
      gl=$((gl + used))
    fi
  done
  echo "$main $gl"
}
now_ns() { date +%s%N; }

# One measure as JSON: ticks in all, in the main thread and the GL threads,
# over wall_ns, from two snapshots "process main gl ns".
measure() {
  local -a from=($1) to=($2)
  echo "{\"ticks\": $((to[0] - from[0])), \"main_ticks\": $((to[1] - from[1])), \"gl_ticks\": $((to[2] - from[2])), \"wall_ns\": $((to[3] - from[3]))}"
}
snapshot() { echo "$(process_ticks) $(thread_ticks) $(now_ns)"; }

# Whether the left wall is on screen: white ink near the left edge at row 12.
in_play() {
  local pixels
  pixels=$(import -window "$window" -crop 36x32+0+384 txt:- 2>/dev/null)
  [[ $pixels == *'#FFFFFF'* ]]
}

"$binary" >/dev/null 2>&1 &
game_pid=$!
window=$(shown_window)
if [ -z "$window" ] || ! focus_window "$window"; then
  echo '{"error": "no window titled Quillmoth appeared and took the focus"}'
  exit 1
fi
sleep 2

start_from=$(snapshot)
sleep "$seconds"
start_measure=$(measure "$start_from" "$(snapshot)")

# The pointer crosses the grid's width in about a second each way, as a
# player's hand might, one move every 20 ms.
(
  x=0
  step=12
  while true; do
    xdotool mousemove --window "$window" "$x" 600 2>/dev/null
    x=$((x + step))
    if [ "$x" -ge 960 ] || [ "$x" -le 0 ]; then
      step=$((-step))
    fi
    sleep 0.02
  done
) &
sweep_pid=$!

# Runs of play, each timed from the first look that saw the wall to the last.
play_ticks=(0 0 0 0)
run_from=""
deadline=$(($(now_ns) + 6 * seconds * 1000000000))
while [ $((play_ticks[3])) -lt $((seconds * 1000000000)) ] && [ "$(now_ns)" -lt "$deadline" ]; do
  here=$(snapshot)
  if in_play; then
    if [ -n "$run_from" ]; then
      read -r -a from <<<"$run_from"
      read -r -a to <<<"$here"
      for i in 0 1 2 3; do
        play_ticks[i]=$((play_ticks[i] + to[i] - from[i]))
      done
    fi
    run_from=$here
  else
    run_from=""
    xdotool key p 2>/dev/null
  fi
  sleep 0.5
done
play_measure=$(measure "0 0 0 0" "${play_ticks[*]}")

echo "{\"ticks_per_second\": $ticks_per_second, \"start_screen\": $start_measure, \"play\": $play_measure}"
