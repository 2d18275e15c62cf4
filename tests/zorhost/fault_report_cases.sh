#!/usr/bin/env bash
# What zorhost shows of the module's insides, end to end: faults located in
# the source through zorasm's map, the last tags before them, a map that
# does not match, the decoded trace, and recordings that replay.
#   fault_report_cases.sh ZORHOST ZORASM CASES WORK
set -uo pipefail
zorhost=$1
zorasm=$2
cases=$3
work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
cp "$cases"/* .
failures=0
fail() {
  echo "FAIL $row: $*" >&2
  failures=$((failures + 1))
}

row=map
"$zorasm" assemble page.zasm -o page.bin --base 18838 --map page.map || fail "zorasm failed"
"$zorhost" --map page.map --trace-tags=3 faults.zh >out.txt 2>err.txt
diff -u faults.out out.txt >diff.txt || fail "transcript differs: $(cat diff.txt)"

row=map_mismatch
"$zorasm" assemble page.zasm -o other.bin --base 20000 || fail "zorasm failed"
sed 's/page.bin/other.bin 20000/; s/81 05 00/81 05 00/' faults.zh >other.zh
"$zorhost" --map page.map other.zh >out.txt 2>err.txt
[ "$(grep -c 'does not match module memory' out.txt)" -eq 1 ] &&
  grep -q '^! script 5 (0) stopped: data stack underflow at 20012 = script 5 + 8: DROP' out.txt ||
  fail "$(cat out.txt)"

row=bad_map
printf 'not a map\n' >bad.map
"$zorhost" --map bad.map faults.zh >out.txt 2>err.txt
[ $? -eq 2 ] && grep -q '^zorhost: --map: bad.map:1: expected "image BASE LENGTH CHECKSUM"' err.txt ||
  fail "$(cat err.txt)"

row=decoded_trace
printf 'panel start\npanel text 2 "Hi"\nsend 40\n' >label.zh
"$zorhost" --trace label.zh >out.txt 2>err.txt
for line in '> 60 48 7/0 60   data byte 0x48 '"'"'H'"'"' (length 2) -> ok' \
            '> 24 0 24   execute: store labels for keys {2} (language 1, "Hi") -> ok, refresh' \
            '> 40 7 00   set variable: incomplete, waits for more bytes'; do
  grep -qxF -- "$line" out.txt || fail "no line: $line"
done

row=record_replay
"$zorhost" --record rec.zh label.zh faults.zh >/dev/null 2>err.txt || fail "recording run failed: $(cat err.txt)"
grep -q '^send 24 .*# execute: store labels for keys {2}' rec.zh && grep -q '^expect frame rec.pbm$' rec.zh ||
  fail "$(head -c 600 rec.zh)"
"$zorhost" --quiet rec.zh >out.txt 2>&1 || fail "the replay failed: $(cat out.txt)"

row=record_unwritable
"$zorhost" --record nodir/rec.zh label.zh >out.txt 2>err.txt
[ $? -eq 2 ] && grep -q '^zorhost: --record: cannot write nodir/rec.zh: No such file or directory$' err.txt ||
  fail "$(cat err.txt)"
[ ! -e nodir ] || fail "nodir appeared"
printf 'panel start\nbogus\n' >broken.zh
"$zorhost" --record broken_rec.zh broken.zh >out.txt 2>err.txt
[ $? -eq 2 ] && grep -q 'nothing recorded in broken_rec.zh' err.txt && [ ! -e broken_rec.zh ] ||
  fail "$(cat err.txt)"

[ "$failures" -eq 0 ] || { echo "$failures fault report checks failed" >&2; exit 1; }
echo "all fault report checks passed"
