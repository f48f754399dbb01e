#!/usr/bin/env bash
# The sprite checker on the game's own sprites and on broken ones: what it
# prints for each file, its exit status, its frame display with and without
# colour, its usage errors, and that it leaves no log behind.
# Usage: quillmoth-sprite-test.sh <quillmoth-sprite binary> <repository root>
set -uo pipefail

checker=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR" "$work/sprites"
cd "$work" || exit 1
failures=0

check() {
  local what=$1 actual=$2 expected=$3
  if [ "$actual" != "$expected" ]; then
    echo "FAIL: $what"
    echo "  expected: $expected"
    echo "  actual:   $actual"
    failures=$((failures + 1))
  fi
}

# Every sprite of the game loads; a few are checked field by field.
out=$("$checker" "$root"/Sprites/*)
check "status for the game's sprites" "$?" 0
check "lines for the game's sprites" "$(wc -l <<<"$out")" "$(find "$root/Sprites" -type f | wc -l)"
check "ball" "$(grep '/ball_spr.txt:' <<<"$out")" \
  "$root/Sprites/ball_spr.txt: 2 frames, 1 x 1, yellow, slowdown 6"
check "side border" "$(grep '/border_side_spr.txt:' <<<"$out")" \
  "$root/Sprites/border_side_spr.txt: 1 frame, 1 x 21, white, slowdown 1"

# Broken files give the loader's own message, line number included; a good
# file among them is still reported, and the status says that one failed.
printf '1\n3\n2\n1\nred\nabc\nab\n' >sprites/short-row.txt
printf '2\n2\n2\n1\nred\nab\ncd\nefg\ngh\n' >sprites/long-row.txt
printf '1\r\n1\r\n1\r\n1\r\nred\r\nx\r\n' >sprites/crlf.txt
printf '1\n1\n1\n1\nRed\nx\n' >sprites/capital.txt
printf -- '-1\n1\n1\n1\nred\n' >sprites/negative.txt
printf '1\n2\n2\n1\nblue\nab\n' >sprites/too-few-rows.txt
printf '2\n3\n1\n4\nblue\n<o>\n>o<\n' >sprites/good.txt
{ printf '1%0300d\n1\n1\n1\nred\nx\n' 0 | tr 0 x; } >sprites/long-header.txt
out=$("$checker" sprites/short-row.txt sprites/long-row.txt sprites/crlf.txt sprites/capital.txt \
  sprites/negative.txt sprites/too-few-rows.txt sprites/long-header.txt sprites/missing.txt \
  sprites/good.txt)
check "status with broken files" "$?" 1
check "broken files" "$out" "sprites/short-row.txt: Error! Line 7: width 2, expected 3
sprites/long-row.txt: Error! Line 8: width 3, expected 2
sprites/crlf.txt: Error! Line 5: Unknown Color
sprites/capital.txt: Error! Line 5: Unknown Color
sprites/negative.txt: Error! Line 1: frame count -1, expected 0 to 10000
sprites/too-few-rows.txt: Error! Line 7: width 0, expected 2
sprites/long-header.txt: Error! Line 1: longer than 255 characters
sprites/missing.txt: Error! Failed to Open File
sprites/good.txt: 2 frames, 3 x 1, blue, slowdown 4"

# What stands in a file's place, or a header cut short or without numbers,
# gets plain words after the loader's line; nothing blocks or reads without
# end. Sprites that load but cannot be drawn pass with a warning.
mkdir sprites/folder.txt
mkfifo sprites/pipe.txt
: >sprites/empty.txt
printf '1\n1\n' >sprites/ends-early.txt
printf 'one\n1\n1\n1\nred\n' >sprites/word-count.txt
out=$(timeout 20 "$checker" sprites/folder.txt sprites/pipe.txt /dev/zero sprites/empty.txt \
  sprites/ends-early.txt)
check "status for odd files" "$?" 1
check "odd files" "$out" "sprites/folder.txt: Error! Failed to Open File
sprites/folder.txt: is a folder
sprites/pipe.txt: Error! Failed to Open File
sprites/pipe.txt: is not a regular file
/dev/zero: Error! Failed to Open File
/dev/zero: is not a regular file
sprites/empty.txt: Error! Line 5: Unknown Color
sprites/empty.txt: ends at line 0; a sprite needs 5 header lines
sprites/ends-early.txt: Error! Line 5: Unknown Color
sprites/ends-early.txt: ends at line 2; a sprite needs 5 header lines"
printf '1\n0\n1\n1\nred\n\n' >sprites/no-width.txt
out=$("$checker" sprites/word-count.txt sprites/no-width.txt)
check "status for sprites that cannot be drawn" "$?" 0
check "sprites that cannot be drawn" "$out" "sprites/word-count.txt: 0 frames, 1 x 1, red, slowdown 1
sprites/word-count.txt: line 1 holds no number; read as 0
sprites/word-count.txt: warning: no frames; the game draws nothing for it and writes \"Error! Cannot draw non-existent frame\" to its log on every pass
sprites/no-width.txt: 1 frame, 0 x 1, red, slowdown 1
sprites/no-width.txt: warning: width 0; the game draws nothing for it"

# --show prints the frames row by row; into a pipe without colour, and with
# control characters made harmless.
printf '1\n3\n2\n1\nred\na\033b\nxyz\n' >sprites/escape.txt
out=$("$checker" --show sprites/good.txt sprites/escape.txt)
check "frames into a pipe" "$out" "sprites/good.txt: 2 frames, 3 x 1, blue, slowdown 4
  frame 1:
    <o>
  frame 2:
    >o<
sprites/escape.txt: 1 frame, 3 x 2, red, slowdown 1
  frame 1:
    a?b
    xyz"

# On a terminal the rows are in the sprite's colour, unless NO_COLOR is set.
on_terminal() {
  script -qec "$*" /dev/null | tr -d '\r'
}
out=$(on_terminal "$checker" --show sprites/good.txt)
check "blue frame row on a terminal" "$(sed -n 3p <<<"$out")" $'    \033[94;40m<o>\033[0m'
out=$(NO_COLOR=1 on_terminal "$checker" --show sprites/good.txt)
check "frame row with NO_COLOR" "$(sed -n 3p <<<"$out")" "    <o>"

# Bad usage: status 2, nothing on standard output, a usage line on standard error.
for args in "" "--show" "--colour sprites/good.txt"; do
  # shellcheck disable=SC2086
  "$checker" $args >stdout 2>stderr
  check "status for '$args'" "$?" 2
  check "standard output for '$args'" "$(cat stdout)" ""
  check "usage line for '$args'" "$(tail -n 1 stderr)" "usage: quillmoth-sprite [--show] FILE..."
done

# --help is no usage error: the usage and what the options do, on standard output.
"$checker" --help >stdout 2>stderr
check "status for --help" "$?" 0
check "usage line for --help" "$(head -n 1 stdout)" "usage: quillmoth-sprite [--show] FILE..."
check "--help names --show" "$(grep -c -e '--show  ' stdout)" 1
check "standard error for --help" "$(cat stderr)" ""

# Nothing is left behind: no log beside the files, no temporary folder.
check "log left in the working directory" "$(find "$work" -name quillmoth.log | wc -l)" 0
check "temporary folders left" "$(find "$TMPDIR" -mindepth 1 | wc -l)" 0

if [ "$failures" -eq 0 ]; then
  echo "1 passed, 0 failed"
  exit 0
fi
echo "0 passed, 1 failed"
exit 1
