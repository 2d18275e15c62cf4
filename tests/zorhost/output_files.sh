#!/usr/bin/env bash
# The files zorhost makes for people and CI servers, against bad places to
# put them: each row runs zorhost and checks the exit status, the one-line
# message, and what was left on disk (a whole file, or nothing at all).
#   output_files.sh ZORHOST WORK
set -uo pipefail
zorhost=$(realpath "$1")
work=$2
source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/case_lib.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

# A whole GIF: its signature first and its trailer byte last.
whole_gif() {
  [ "$(head -c 6 "$1")" = GIF89a ] && [ "$(tail -c 1 "$1" | od -An -tx1 | tr -d ' ')" = 3b ]
}
no_temporaries() {
  ! ls -A | grep -q '^\..*\.[A-Za-z0-9]\{6\}$' || fail "a temporary file is left: $(ls -A | grep '^\.')"
}

# ---- GIF recordings ----
run gif_no_folder 2 '^gif_no_folder.zh:1: record-gif: cannot write nodir/a.gif: No such file or directory$' \
  'record-gif nodir/a.gif\npanel start\n'
[ ! -e nodir ] || fail "nodir was made"
run gif_full_device 2 '^gif_full_device.zh:1: record-gif: cannot write /dev/full: No space left on device$' \
  'record-gif /dev/full\npanel start\nstop-gif\n'
[ -c /dev/full ] || fail "/dev/full is no longer a device"
run gif_directory 2 '^gif_directory.zh:1: record-gif: cannot write \.: Is a directory$' 'record-gif .\n'
printf 'old' >kept.gif
run gif_stopped_by_error 2 '^gif_stopped_by_error.zh:3: unknown command "bogus"' \
  'record-gif kept.gif\npanel start\nbogus\n'
[ "$(cat kept.gif)" = old ] || fail "the old kept.gif was not left whole"
no_temporaries
run gif_left_running 0 "" 'record-gif running.gif\npanel start\ntick 10\n'
whole_gif running.gif || fail "running.gif is not a whole GIF"
grep -Eq '^gif_left_running.zh:1: record-gif running.gif still ran at the end of the script; written: [0-9]+ frames, [0-9.]+ s$' out.txt ||
  fail "no line says the recording was written: $(cat out.txt)"
# The next script starts a recording of its own; one left running by the first is written.
printf 'record-gif first.gif\npanel start\n' >first.zh
printf 'record-gif second.gif\npanel page\ntick 2\n' >second.zh
row=gif_per_script
"$zorhost" first.zh second.zh >out.txt 2>err.txt ||
  fail "exit $?: $(cat err.txt)"
whole_gif first.gif && whole_gif second.gif || fail "each script's recording was not written"
mkfifo gif_pipe
timeout 60 cat gif_pipe >from_pipe.gif &
run gif_fifo 0 "" 'record-gif gif_pipe\npanel start\nstop-gif\n'
wait
[ -p gif_pipe ] || fail "the FIFO was replaced"
whole_gif from_pipe.gif || fail "the FIFO's reader got no whole GIF"

# A long recording streams to its file: memory stays as it is for a short
# one (each of these frames would take 32 kB held in memory: 160 MB for
# 5000), and the file holds every frame.
long_script() {
  printf 'panel start\nrecord-gif %s\n' "$1"
  for ((i = 0; i < $2; i++)); do printf 'panel page\ntick\n'; done
  printf 'stop-gif\n'
}
peak_kb() { /usr/bin/time -f %M "$zorhost" --quiet "$1" 2>&1 >/dev/null | tail -1; }
row=long_recording
long_script short.gif 10 >short.zh
long_script long.gif 5000 >long.zh
short_kb=$(peak_kb short.zh)
long_kb=$(peak_kb long.zh)
[ $((long_kb - short_kb)) -lt 40000 ] ||
  fail "5000 frames took $((long_kb - short_kb)) kB more at peak than 10 (from $short_kb kB)"
whole_gif long.gif || fail "long.gif is not a whole GIF"
# Each frame's graphic control block (21 F9 04): one per picture.
frames=$(od -An -v -tx1 long.gif | tr -s ' \n' '  ' | grep -o '21 f9 04' | wc -l)
[ "$frames" -eq 5000 ] || fail "long.gif holds $frames frames, expected 5000"

# ---- golden differences ----
run diff_picture 2 'expect frame: /dev/null: not a PBM frame' 'panel start\nexpect frame /dev/null\n'
printf 'P1\n64 128\n' >blank.pbm
for ((i = 0; i < 128; i++)); do printf '%064d\n' 0 >>blank.pbm; done
run diff_written 1 "" 'panel start\nexpect frame blank.pbm\n'
grep -q 'actual frame written to blank.pbm.actual.pbm, differences drawn in blank.pbm.diff.png$' out.txt ||
  fail "the failure line names not both files: $(cat out.txt)"
[ "$(head -c 8 blank.pbm.diff.png | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
  fail "blank.pbm.diff.png is no PNG"
[ "$(head -c 2 blank.pbm.actual.pbm)" = P1 ] || fail "blank.pbm.actual.pbm is no PBM"

# ---- JUnit reports ----
printf 'panel start\nexpect status 1\n' >pass.zh
printf 'panel start\nexpect status 7\nexpect var 0 9\n' >fails.zh
printf 'panel start\nbogus\n' >errs.zh
junit() {  # junit NAME CODE ARGS...: runs zorhost --junit NAME.xml ARGS
  row=$1
  local code=$2
  shift 2
  "$zorhost" --quiet --junit "$row.xml" "$@" >out.txt 2>err.txt
  local got=$?
  [ "$got" -eq "$code" ] || fail "exit $got, expected $code: $(head -c 300 err.txt)"
}
has() { grep -q -- "$2" "$1" || fail "$1 lacks $2"; }
junit junit_report 1 pass.zh fails.zh
has junit_report.xml '<testsuite name="zorhost" tests="2" failures="1" errors="0" skipped="0"'
has junit_report.xml '<testcase name="pass.zh" classname="zorhost" file="pass.zh" time="[0-9.]*"/>'
has junit_report.xml '<failure message="fails.zh:2: expected status 7 (.*), got status 1 (ended)" type="expectation">'
has junit_report.xml '<failure message="fails.zh:3: expected var 0: 9, got var 0: '
junit junit_error 2 pass.zh errs.zh fails.zh
has junit_error.xml 'tests="3" failures="0" errors="1" skipped="1"'
has junit_error.xml '<error message="errs.zh:2: unknown command &quot;bogus&quot;'
has junit_error.xml '<skipped message="not run: errs.zh stopped at an error"/>'
grep -q 'errs.zh:2: unknown command' err.txt || fail "the error is not on standard error too"
row=junit_no_folder
"$zorhost" --junit nodir/r.xml pass.zh >out.txt 2>err.txt
[ $? -eq 2 ] || fail "exit $?, expected 2"
grep -qx 'zorhost: --junit: cannot write nodir/r.xml: No such file or directory' err.txt || fail "stderr: $(cat err.txt)"
[ ! -s out.txt ] || fail "scripts ran although the report could not be written: $(cat out.txt)"
row=junit_full_device
"$zorhost" --junit /dev/full pass.zh >out.txt 2>err.txt
[ $? -eq 2 ] || fail "exit $?, expected 2"
grep -qx 'zorhost: --junit: cannot write /dev/full: No space left on device' err.txt || fail "stderr: $(cat err.txt)"
row=junit_dash
"$zorhost" --junit - pass.zh >out.txt 2>err.txt
[ $? -eq 2 ] && grep -q 'zorhost: --junit needs a FILE' err.txt || fail "--junit - accepted: $(cat err.txt)"
no_temporaries

if [ "$failures" -ne 0 ]; then
  echo "$failures rows failed" >&2
  exit 1
fi
echo "output files: every row held"
