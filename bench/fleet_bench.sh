#!/usr/bin/env bash
# Fleet speed and memory, as whole processes against simulated printers:
#  1. `fleet config apply --block common` (read, write, read back, verify) on PRINTERS printers
#     whose every answer starts 4 ms late, against a shell loop of `config write` then
#     `config read` per printer; target: the fleet at least 30 times faster, every printer verified.
#  2. `fleet status` on 5,000 printers without delay; target: none lost, peak resident memory of
#     vantrel-cli under 200 MB.
# Usage: bench/fleet_bench.sh [BUILD_DIR] [PRINTERS] [PARALLEL]   (build/release, 500, 128)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
printers="${2:-500}"
parallel="${3:-128}"
cli="$build/src/cli/vantrel-cli"
sim="$build/tools/printer-sim/vantrel-printer-sim"
if [ ! -x "$cli" ] || [ ! -x "$sim" ]; then echo "build $build first" >&2; exit 1; fi
work="$(mktemp -d)"
sims=()
cleanup() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Starts simulated printers below the machine's range of outgoing ports; waits for the hosts file.
start_sims() {
  "$sim" --host 127.0.0.1 --log /dev/null --hosts-out "$work/hosts.txt" "$@" >"$work/sim.out" &
  sims+=($!)
  for _ in $(seq 600); do [ -s "$work/hosts.txt" ] && return; sleep 0.1; done
  echo "the simulator did not start" >&2; exit 1
}
stop_sims() {
  kill "${sims[-1]}"; wait "${sims[-1]}" || true; unset 'sims[-1]'; rm -f "$work/hosts.txt"
}
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# The standard: a printer whose speed, density, paper width and ribbon differ from the fleet's.
start_sims --port 19000 --profile "$root/bench/fleet-standard-203dpi.json"
"$cli" -i net --host 127.0.0.1 --port 19000 config read --out "$work/standard.dcf" >/dev/null
stop_sims

start_sims --count "$printers" --port 20000 --reply-delay 4
start=$(now_ms)
"$cli" fleet --hosts "$work/hosts.txt" --parallel "$parallel" --json \
  config apply "$work/standard.dcf" --block common --backup-dir "$work/backups" \
  >"$work/fleet.jsonl" || true
fleet_ms=$(( $(now_ms) - start ))
verified=$(grep -c '"outcome":"verified"' "$work/fleet.jsonl" || true)
stop_sims

start_sims --count "$printers" --port 20000 --reply-delay 4
start=$(now_ms)
while IFS=: read -r host port; do
  "$cli" -i net --host "$host" --port "$port" config write "$work/standard.dcf" --block common
  "$cli" -i net --host "$host" --port "$port" config read >/dev/null
done <"$work/hosts.txt"
loop_ms=$(( $(now_ms) - start ))
stop_sims

echo "config apply on $printers printers, answers 4 ms late:"
echo "  fleet (--parallel $parallel): $fleet_ms ms, $verified of $printers verified"
echo "  shell loop of config write + config read: $loop_ms ms"
echo "  ratio: $(( loop_ms * 10 / fleet_ms / 10 )).$(( loop_ms * 10 / fleet_ms % 10 ))x (target >= 30)"

start_sims --count 5000 --port 20000
/usr/bin/time -f "%M" -o "$work/rss" "$cli" fleet --hosts "$work/hosts.txt" --json status \
  >"$work/status.jsonl" || true
stop_sims
answered=$(grep -c '"outcome":"unchanged"' "$work/status.jsonl" || true)
echo "fleet status on 5000 printers: $answered answered, $(( 5000 - answered )) lost;" \
  "peak resident memory $(( $(cat "$work/rss") / 1024 )) MB (target < 200)"
