#!/usr/bin/env bash
# The CPU an idle mbhost uses over 10 s (its user and system time from /proc, all threads),
# first with nothing connected, then with one client that made a request and stays idle.
# Each must stay under 1% of a core: a host that spins while nobody asks would show here.
# Usage: scripts/idle-cpu.sh [path/to/mbhost]   (default: the release build's)
set -euo pipefail
cd "$(dirname "$0")/.."
mbhost=${1:-build/release/app/mbhost/mbhost}
seconds=${IDLE_SECONDS:-10}
dir=$(mktemp -d)
socket=$dir/socket
"$mbhost" --socket "$socket" </dev/null >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.1; done

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
measure() {
    local before after
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="$1" \
        'BEGIN { p = 100 * t / hz / s; printf "%-28s %.2f%% of a core (%d ticks)\n", what, p, t;
                 exit (p < 1 ? 0 : 1) }'
}

status=0
measure "nothing connected:" || status=1
python3 - "$socket" "$seconds" <<'PY' &
import socket, struct, sys, time
client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
client.connect(sys.argv[1])
payload = b"\x01\x04Eval2*2"
client.sendall(struct.pack(">I", len(payload)) + payload)
client.recv(64)
time.sleep(float(sys.argv[2]) + 2)
PY
client=$!
sleep 0.5
measure "one idle client connected:" || status=1
wait $client
exit $status
