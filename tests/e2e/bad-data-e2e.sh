#!/usr/bin/env bash
# Runs the real game binary on damaged or missing data files, one scratch
# folder per case (the rest linked to the real data), and checks each exact
# outcome: without a usable font it gives up at once with one line on
# standard error; with anything else missing or broken it still starts,
# draws what it has, starts a game on P and quits on Q with status 0. The log
# must name what failed, and no sanitizer may report.
# Usage: bad-data-e2e.sh <quillmoth binary> <repository root>
set -uo pipefail

binary=$1
root=$2
scratch=$(mktemp -d)
# shellcheck source=game-driver.sh
source "$(dirname "${BASH_SOURCE[0]}")/game-driver.sh"
clean_up_on_exit "$scratch"

# See quillmoth-e2e.sh: the GL and audio drivers' allocations would read as
# leaks; every other sanitizer report counts.
export ASAN_OPTIONS=detect_leaks=0
export ALSOFT_DRIVERS=null

failures=0
fail() {
  echo "FAIL [$case_name]: $*"
  echo "--- log lines, counted ---"
  sort "$work/quillmoth.log" 2>/dev/null | uniq -c | sort -rn | head -n 20
  echo "--- stderr ---"
  tail -n 40 "$work/stderr" 2>/dev/null
  failures=$((failures + 1))
  return 1
}

# A scratch folder with the real data linked in, less what the case names.
# Sprites/ and Sounds/ are folders of links, so that one file can be taken
# out or replaced.
prepare() {
  # A game that hung in a failed case would take the screen and a core.
  [ -z "$game_pid" ] || kill -9 "$game_pid" 2>/dev/null
  game_pid=""
  work="$scratch/$case_name"
  mkdir -p "$work/Sprites" "$work/Sounds"
  ln -s "$root/qm-font.ttf" "$work/"
  ln -s "$root"/Sprites/* "$work/Sprites/"
  ln -s "$root"/Sounds/* "$work/Sounds/"
}

# The log lines that the case must have, each as many times as given, or at
# least once for "+" ("count|text"); any other error line fails the case.
check_log() {
  local log="$work/quillmoth.log" expected count text found
  : >"$work/expected"
  for expected in "$@"; do
    count=${expected%%|*}
    text=${expected#*|}
    echo "Message : $text" >>"$work/expected"
    found=$(grep -c -x -F "Message : $text" "$log")
    if [ "$count" = "+" ]; then
      [ "$found" -gt 0 ] || fail "expected \"$text\" in the log" || return 1
    else
      [ "$found" -eq "$count" ] || fail "\"$text\" $found times, expected $count" || return 1
    fi
  done
  ! grep -v -x -F -f "$work/expected" "$log" | grep -q -E 'Error|Warning|WARNING' ||
    fail "other errors in the log"
}

no_sanitizer_report() {
  ! grep -q -E 'ERROR: AddressSanitizer|runtime error:|SUMMARY: (Address|Undefined)' \
    "$work/stderr" || fail "sanitizer report on standard error"
}

# Without a font the engine cannot start: status 1 at once, with one line of
# its own on standard error, last (the graphics library writes its own).
expect_no_start() {
  (cd "$work" && timeout 20 "$binary" >"$work/stdout" 2>"$work/stderr")
  local status=$?
  [ "$status" -eq 1 ] || fail "exit status $status, expected 1" || return 1
  [ "$(grep -c '^quillmoth:' "$work/stderr")" -eq 1 ] &&
    tail -n 1 "$work/stderr" | grep -q '^quillmoth: could not start the engine' ||
    fail "expected one line of the game's own on standard error" || return 1
  no_sanitizer_report && check_log "$@"
}

# Starts, shows something, takes P and then Q, and ends with status 0.
expect_play() {
  launch_game env -C "$work" "$binary" || fail "no window titled Quillmoth appeared" || return 1
  xdotool key --delay 60 p
  # The score display at least is drawn, whatever else is missing: looked
  # for over up to 3 s, as a loaded machine may take that long to show it.
  local ink=0
  for _ in 1 2 3 4 5 6; do
    sleep 0.5
    ink=$(import -window "$window" -colorspace gray -format '%[fx:maxima]' info: 2>/dev/null)
    [ "${ink:-0}" != "0" ] && break
  done
  [ "${ink:-0}" != "0" ] || fail "the window shows nothing after P" || return 1
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended before Q" || return 1
  xdotool key q
  wait_for_exit || fail "still running 3 s after Q" || return 1
  [ "$status" -eq 0 ] || fail "exit status $status after Q, expected 0" || return 1
  no_sanitizer_report || return 1
  [ "$#" -eq 0 ] || check_log "$@"
}

own_x_server 1280x1024 "$scratch" || {
  echo "FAIL: no X server of its own to play in"
  exit 1
}

open_failed="Error! Failed to Open File"
no_sprite="Error! Sprite does not exist"
no_animation="Error! No Sprite defined for Animation"
sound_failed="Error! Fail to load sound"
music_failed="Error! Fail to open Music file"
slot_failed="Error! Unable to load from file"
font_failed="Error! Unable to load font."
engine_failed="Error!: Unable to start up DisplayManager"

# WholeGameTest starts without the font file; here the font
# is there but unreadable.
case_name="empty font"
prepare && rm "$work/qm-font.ttf" && : >"$work/qm-font.ttf"
expect_no_start "1|$font_failed" "1|$engine_failed"

case_name="garbage font"
prepare && rm "$work/qm-font.ttf" && head -c 3000 "$root/Sounds/impact.wav" >"$work/qm-font.ttf"
expect_no_start "1|$font_failed" "1|$engine_failed"

# Each object made without its picture says so, and again at every pass in
# which it is drawn.
case_name="no Sprites folder"
prepare && rm -r "$work/Sprites"
expect_play "11|$open_failed" "+|$no_sprite" "+|$no_animation"

case_name="no Sounds folder"
prepare && rm -r "$work/Sounds"
expect_play "4|$sound_failed" "2|$music_failed" "6|$slot_failed"

case_name="one sprite file missing"
prepare && rm "$work/Sprites/ball_spr.txt"
expect_play "1|$open_failed" "1|$no_sprite" "+|$no_animation"

case_name="garbage sound"
prepare && rm "$work/Sounds/impact.wav" && head -c 3000 "$root/Sprites/game_start_spr.txt" >"$work/Sounds/impact.wav"
expect_play "1|$sound_failed" "1|$slot_failed"

case_name="empty sound"
prepare && rm "$work/Sounds/power_up_spawn.wav" && : >"$work/Sounds/power_up_spawn.wav"
expect_play "1|$sound_failed" "1|$slot_failed"

case_name="garbage music"
prepare && rm "$work/Sounds/game_music.wav" && head -c 3000 "$root/Sprites/win_spr.txt" >"$work/Sounds/game_music.wav"
expect_play "1|$music_failed" "1|$slot_failed"

# WAV headers that no recording has: the audio library would believe them
# and size its buffers from them (gigabytes, a minute's work).
case_name="truncated sound"
prepare && rm "$work/Sounds/fall.wav" && head -c 100 "$root/Sounds/fall.wav" >"$work/Sounds/fall.wav"
expect_play "1|$sound_failed" "1|$slot_failed"

case_name="sound claiming 2 GB of samples"
prepare && rm "$work/Sounds/impact.wav" &&
  { head -c 40 "$root/Sounds/impact.wav" && printf '\xff\xff\xff\x7f' &&
    tail -c +45 "$root/Sounds/impact.wav"; } >"$work/Sounds/impact.wav"
expect_play "1|$sound_failed" "1|$slot_failed"

case_name="music of 65535 channels"
prepare && rm "$work/Sounds/game_music.wav" &&
  { head -c 22 "$root/Sounds/game_music.wav" && printf '\xff\xff' &&
    tail -c +25 "$root/Sounds/game_music.wav"; } >"$work/Sounds/game_music.wav"
expect_play "1|$music_failed" "1|$slot_failed"

# Things that are no file in a data file's place: each is refused at once,
# where a folder made the audio library spin, a pipe made the start wait for
# a writer, and a device's endless line made the sprite loader eat memory.
case_name="folder as a sound"
prepare && rm "$work/Sounds/impact.wav" && mkdir "$work/Sounds/impact.wav"
expect_play "1|$sound_failed" "1|$slot_failed"

case_name="folder as music"
prepare && rm "$work/Sounds/game_music.wav" && mkdir "$work/Sounds/game_music.wav"
expect_play "1|$music_failed" "1|$slot_failed"

case_name="pipe as a sound"
prepare && rm "$work/Sounds/impact.wav" && mkfifo "$work/Sounds/impact.wav"
expect_play "1|$sound_failed" "1|$slot_failed"

case_name="endless line as a sprite"
prepare && ln -sfn /dev/zero "$work/Sprites/ball_spr.txt"
expect_play "1|$open_failed" "1|$no_sprite" "+|$no_animation"

# A folder in the log's place: the file cannot be created, for root too. The
# game says so once on standard error and plays on.
case_name="log cannot be created"
prepare && mkdir "$work/quillmoth.log"
if expect_play; then
  [ "$(grep -c -x -F "No log: cannot create quillmoth.log here (Is a directory); running without a log." \
    "$work/stderr")" -eq 1 ] || fail "expected one line on standard error for the log"
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
