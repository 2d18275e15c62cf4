# Shared by the zorhost case scripts (sourced, not run): a failure counter and
# the row runner. The script sets $zorhost and works in its own folder.
failures=0

# fail TEXT: counts a failed check of the current $row and says why.
fail() {
  echo "FAIL $row: $*" >&2
  failures=$((failures + 1))
}

# run NAME CODE STDERR_REGEX SCRIPT [ARGS...]: runs SCRIPT (its text, as
# NAME.zh) through zorhost with ARGS before it, and checks the exit status
# and that stderr is empty or one line matching STDERR_REGEX; stdout is kept
# in out.txt for the row's own checks.
run() {
  row=$1
  local code=$2 pattern=$3 script=$4
  shift 4
  printf '%b' "$script" >"$row.zh"
  "$zorhost" "$@" "$row.zh" >out.txt 2>err.txt
  local got=$?
  [ "$got" -eq "$code" ] || fail "exit $got, expected $code; stderr: $(head -c 300 err.txt)"
  if [ -z "$pattern" ]; then
    [ ! -s err.txt ] || fail "unexpected stderr: $(head -c 300 err.txt)"
  else
    grep -Eq -- "$pattern" err.txt || fail "stderr does not match '$pattern': $(head -c 300 err.txt)"
    [ "$(wc -l <err.txt)" -eq 1 ] || fail "stderr is not one line: $(head -c 300 err.txt)"
  fi
}
