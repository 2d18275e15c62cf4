#!/usr/bin/env bash
# zorhost against files and streams that must not be destroyed, misread or
# read without end: each row runs a script and checks the exit status, the
# messages and what became of the files.
#   hostile_inputs.sh ZORHOST WORK
set -uo pipefail
zorhost=$1
work=$2
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/case_lib.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

# Snapshot writers: regular files are replaced, devices and FIFOs written into.
run dev_null 0 "" 'panel start\nsnapshot /dev/null\nsnapshot /dev/null.png\n' 2>/dev/null
[ -c /dev/null ] || fail "/dev/null is no longer a device"
run dev_full 2 '^dev_full.zh:2: snapshot: cannot write /dev/full: No space left on device$' \
  'panel start\nsnapshot /dev/full\n'
[ -c /dev/full ] || fail "/dev/full is no longer a device"
mkfifo pipe
cat pipe >from_pipe.bmp &
run fifo 0 "" 'panel start\nsnapshot pipe\n'
wait
[ -p pipe ] || fail "the FIFO was replaced"
[ "$(stat -c %s from_pipe.bmp)" -eq 4158 ] || fail "the FIFO's reader got $(stat -c %s from_pipe.bmp) bytes"
run stdout_dash 0 "" 'panel start\nsnapshot -\n'
[ "$(head -c 2 out.txt)" = "BM" ] && [ "$(stat -c %s out.txt)" -eq 4158 ] ||
  fail "snapshot - wrote $(stat -c %s out.txt) bytes to standard output"
"$zorhost" <(printf 'panel start\nsnapshot /dev/stdout\n') | cat >piped.bmp
[ "$(stat -c %s piped.bmp)" -eq 4158 ] || { row=dev_stdout; fail "a pipe got $(stat -c %s piped.bmp) bytes"; }
# The extension picks the format; one no image writer has is an error that
# names the ones there are, and writes nothing.
run formats 0 "" 'panel start\nsnapshot lcd.jpg\nsnapshot lcd.PBM\n'
[ "$(head -c 2 lcd.jpg | od -An -tx1 | tr -d ' ')" = "ffd8" ] || fail "lcd.jpg is no JPEG file"
[ "$(head -c 2 lcd.PBM)" = "P4" ] || fail "lcd.PBM is no binary PBM file"
run no_writer 2 '^no_writer.zh:2: snapshot: cannot write lcd.xyz: no image writer for .xyz \(the formats there are: bmp, .*png' \
  'panel start\nsnapshot lcd.xyz\n'
[ ! -e lcd.xyz ] || fail "a snapshot with no writer left lcd.xyz"

# Golden frames: cut short, endless or too large.
run golden 0 "" 'panel start\nsnapshot whole.bmp\nsnapshot whole.png\n'
head -c 2000 whole.bmp >cut2000.bmp
head -c 4150 whole.bmp >cut4150.bmp
head -c 200 whole.png >cut.png
run cut_bmp 2 'cut2000.bmp: the picture is cut short or damaged \(135 of its 256 rows' \
  'panel start\nexpect frame cut2000.bmp\n'
run cut_bmp_end 2 'cut4150.bmp: the picture is cut short or damaged \(1 of its 256 rows' \
  'panel start\nexpect frame cut4150.bmp\n'
run cut_png 2 '^cut_png.zh:2: expect frame: cut.png: not a PBM frame or a readable picture \(Unable to read image data; libpng error: Read Error\)$' \
  'panel start\nexpect frame cut.png\n'
run endless_frame 2 'expect frame: /dev/zero is larger than 524288 bytes$' 'expect frame /dev/zero\n'

# Readers have limits fitted to what they can use.
run endless_vocabulary 2 'panel load-vocabulary: /dev/zero is larger than 18506 bytes \(the most module memory holds from address 18838\)$' \
  'panel load-vocabulary /dev/zero\n'
run endless_icon 2 'panel icon: /dev/zero is larger than 67108864 bytes$' 'panel icon 1 /dev/zero\n'
row=endless_script
"$zorhost" /dev/zero >out.txt 2>err.txt
[ $? -eq 2 ] && grep -q '^/dev/zero:1: the line is longer than 65536 bytes' err.txt ||
  fail "$(head -c 300 err.txt)"
long=$(head -c 60000 /dev/zero | tr '\0' 'x')
run long_token 2 '^long_token.zh:1: unknown command "x{60}\.\.\." \(60000 bytes\) \(zorhost --help lists the commands\)$' \
  "$long\n"
# A script on standard input streams: its first lines run before its end arrives.
row=streaming
{ printf 'print status\n'; sleep 4; printf 'print cursor\n'; } | "$zorhost" - >out.txt 2>&1 &
sleep 2
[ "$(cat out.txt)" = "status 0 (ok)" ] || fail "after 2 s the transcript is: $(cat out.txt)"
wait
[ "$(tail -n 1 out.txt)" = "cursor 0 0" ] || fail "the last line did not run: $(cat out.txt)"

# An error box fails the run under --strict, and keeps its transcript line.
printf 'not a picture' >notes.txt
run strict 1 "" 'panel start\npanel icon 1 notes.txt\n' --strict
grep -q '^! error: cannot load notes.txt as a picture' out.txt &&
  grep -q '^strict.zh:2: expected no error box, got ! error: cannot load notes.txt' out.txt ||
  fail "transcript: $(cat out.txt)"
run not_strict 0 "" 'panel start\npanel icon 1 notes.txt\n'

if [ "$failures" -ne 0 ]; then
  echo "$failures hostile input checks failed" >&2
  exit 1
fi
echo "all hostile input checks passed"
