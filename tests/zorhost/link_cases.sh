#!/usr/bin/env bash
# zorhost --link as a host program meets it: the example host program over
# TCP and over a pseudo-terminal (then the frame it left, checked with
# --after), signals, endpoints that cannot be opened, and options misused.
#   link_cases.sh ZORHOST LINK_HOST CASES WORK
set -uo pipefail
zorhost=$1
link_host=$2
cases=$3
work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
cp "$cases"/link_*.pbm "$cases"/link_check.zh . && printf 'panel start\n' >start.zh
failures=0
fail() {
  echo "FAIL $row: $*" >&2
  failures=$((failures + 1))
}

# start_zorhost ARGS...: zorhost in the background; its link in $endpoint.
start_zorhost() {
  # A new file each time: the last run's "link:" line must not be taken for this one's.
  rm -f zorhost.out
  "$zorhost" "$@" >zorhost.out 2>zorhost.err &
  server=$!
  for _ in $(seq 100); do grep -q '^link: ' zorhost.out 2>/dev/null && break; sleep 0.1; done
  endpoint=$(sed -n 's/^link: //p' zorhost.out)
}

# ends_with CODE: zorhost ends within 10 s with exit status CODE.
ends_with() {
  for _ in $(seq 100); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$server" 2>/dev/null; then
    kill -9 "$server"
    fail "zorhost still runs"
    return
  fi
  wait "$server"
  local status=$?
  [ "$status" -eq "$1" ] || fail "zorhost exit $status, expected $1: $(cat zorhost.err)"
}

for row in tcp pty; do
  if [ $row = tcp ]; then
    start_zorhost --link tcp:0 --once --exit-after 30 --after link_check.zh start.zh
    target=tcp:$endpoint
  else
    start_zorhost --link pty:"$work/line" --once --exit-after 30 --after link_check.zh start.zh
    target=$work/line
    [ "$(readlink line)" = "$endpoint" ] || fail "line points to $(readlink line), not $endpoint"
  fi
  timeout 20 "$link_host" "$target" >host.out 2>&1 || fail "the host program failed: $(cat host.out)"
  ends_with 0
  [ ! -e line ] && [ ! -L line ] || fail "the link's symbolic link was left behind"
  # A run that serves one client says it left and promises no next one.
  grep -q '^link: client left' zorhost.err && ! grep -q 'waiting for the next' zorhost.err ||
    fail "the log of a --once run: $(cat zorhost.err)"
done

# A client that floods and leaves without reading: the replies meet a closed
# connection (SIGPIPE, EPIPE), and the next client is served all the same.
row=vanishing_client
start_zorhost --link tcp:0 --after link_check.zh start.zh
port=${endpoint##*:}
{ exec 3<>"/dev/tcp/127.0.0.1/$port" && head -c 300000 /dev/zero >&3; exec 3>&-; } 2>/dev/null
sleep 0.5
kill -0 "$server" 2>/dev/null || fail "zorhost ended when the client vanished: $(cat zorhost.err)"
timeout 20 "$link_host" "tcp:$endpoint" >host.out 2>&1 || fail "the next client failed: $(cat host.out)"
grep -q "^link: waiting for the next client on $endpoint$" zorhost.err || fail "the log: $(cat zorhost.err)"
kill -TERM "$server"
ends_with 0

row=sigterm
start_zorhost --link tcp:0 start.zh
kill -TERM "$server"
ends_with 0

row=exit_after
start_zorhost --link pty --exit-after 0.5
ends_with 0

row=port_in_use
start_zorhost --link tcp:0
port=${endpoint##*:}
"$zorhost" --link "tcp:$port" --exit-after 1 >second.out 2>second.err
[ $? -eq 2 ] && grep -q "^zorhost: cannot listen on 127.0.0.1:$port: The bound address is already in use$" second.err ||
  fail "$(cat second.err)"
kill -INT "$server"
ends_with 0

row=bad_linkpath
"$zorhost" --link pty:/nonexistent/line --exit-after 1 >bad.out 2>bad.err
[ $? -eq 2 ] && grep -q '^zorhost: cannot make the link /nonexistent/line: No such file or directory$' bad.err ||
  fail "$(cat bad.err)"

row=usage
"$zorhost" --once start.zh >usage.out 2>usage.err
[ $? -eq 2 ] && grep -q -- '--once, --exit-after and --after belong to --link' usage.err || fail "$(cat usage.err)"
"$zorhost" --link serial:1 >usage.out 2>usage.err
[ $? -eq 2 ] && grep -q 'unknown link endpoint "serial:1"' usage.err || fail "$(cat usage.err)"

[ "$failures" -eq 0 ] || { echo "$failures link checks failed" >&2; exit 1; }
echo "all link checks passed"
