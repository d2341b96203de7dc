#!/usr/bin/env bash
# vantrel-cli doctor over every interface when nothing answers: a simulated printer on loopback
# that accepts connections and never replies, plus whatever serial ports this machine has,
# silent. The interfaces are checked at the same time, each within the --timeout (1500 ms).
# Target: under 2 s.   Usage: bench/doctor_silent.sh [build folder] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
runs="${2:-5}"
cli="$build/src/cli/vantrel-cli"
sim="$build/tools/printer-sim/vantrel-printer-sim"
[ -x "$cli" ] && [ -x "$sim" ] || { echo "build $build first" >&2; exit 1; }

log="$(mktemp)"
"$sim" --port 0 --never-answer --log /dev/null >"$log" &
sim_pid=$!
trap 'kill "$sim_pid"; rm -f "$log"' EXIT
for _ in $(seq 50); do grep -q 'listening on' "$log" && break; sleep 0.1; done
port="$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log")"
[ -n "$port" ] || { echo "the simulated printer did not start" >&2; exit 1; }

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$cli" doctor --host 127.0.0.1 --port "$port" >/dev/null || true
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "runs: $runs"
echo "doctor with nothing answering, ms: median ${sorted[$((runs / 2))]}, max ${sorted[$((runs - 1))]} (target < 2000)"
