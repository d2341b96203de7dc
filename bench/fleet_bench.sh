#!/usr/bin/env bash
# Fleet speed and memory, as whole processes against simulated printers:
#  1. `config apply --block common` with verification (read, write, read back the page, compare)
#     on PRINTERS printers whose every answer starts 4 ms late, three ways:
#       - `fleet config apply` at its default settings (32 printers at once), the median of
#         three runs on fresh printers;
#       - `xargs -P PARALLEL` of `config write --verify`, one process a printer, at that same
#         parallelism;
#       - a shell loop of `config write` then `config read`, one printer after another.
#     Targets: the fleet at least as fast as xargs, at least 30 times the loop, every printer
#     verified.
#  2. `fleet status` on BIG printers without delay; target: none lost, peak resident memory of
#     vantrel-cli under 100 MB.
# Usage: bench/fleet_bench.sh [BUILD_DIR] [PRINTERS] [PARALLEL] [BIG]
#        (build/release, 500, 32, 10000)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
printers="${2:-500}"
parallel="${3:-32}"
big="${4:-10000}"
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
  for _ in $(seq 1200); do [ -s "$work/hosts.txt" ] && return; sleep 0.1; done
  echo "the simulator did not start" >&2; exit 1
}
stop_sims() {
  kill "${sims[-1]}"; wait "${sims[-1]}" || true; unset 'sims[-1]'; rm -f "$work/hosts.txt"
}
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# "12.3x": how many times `slow` is `fast`.
ratio() { echo "$(( $1 * 10 / $2 / 10 )).$(( $1 * 10 / $2 % 10 ))x"; }

# The standard: a printer whose speed, density, paper width and ribbon differ from the fleet's.
start_sims --port 19000 --profile "$root/bench/fleet-standard-203dpi.json"
"$cli" -i net --host 127.0.0.1 --port 19000 config read --out "$work/standard.dcf" >/dev/null
stop_sims

# A fleet run lasts well under a second, so one run says little on a busy machine: three runs,
# each on fresh printers, and their median.
fleet_runs=()
verified_runs=()
for run in 1 2 3; do
  start_sims --count "$printers" --port 20000 --reply-delay 4
  start=$(now_ms)
  "$cli" fleet --hosts "$work/hosts.txt" --json \
    config apply "$work/standard.dcf" --block common --backup-dir "$work/backups-$run" \
    >"$work/fleet.jsonl" || true
  fleet_runs+=($(( $(now_ms) - start )))
  verified_runs+=("$(grep -c '"outcome":"verified"' "$work/fleet.jsonl" || true)")
  stop_sims
done
mapfile -t fleet_sorted < <(printf '%s\n' "${fleet_runs[@]}" | sort -n)
fleet_ms=${fleet_sorted[1]}

start_sims --count "$printers" --port 20000 --reply-delay 4
start=$(now_ms)
tr ':' ' ' <"$work/hosts.txt" | xargs -P "$parallel" -n 2 sh -c \
  '"$0" -i net --host "$2" --port "$3" config write "$1" --block common --verify && echo ok' \
  "$cli" "$work/standard.dcf" >"$work/xargs.out" 2>&1 || true
xargs_ms=$(( $(now_ms) - start ))
xargs_ok=$(grep -c '^ok$' "$work/xargs.out" || true)
stop_sims

start_sims --count "$printers" --port 20000 --reply-delay 4
start=$(now_ms)
while IFS=: read -r host port; do
  "$cli" -i net --host "$host" --port "$port" config write "$work/standard.dcf" --block common
  "$cli" -i net --host "$host" --port "$port" config read >/dev/null
done <"$work/hosts.txt"
loop_ms=$(( $(now_ms) - start ))
stop_sims

echo "config apply with verification on $printers printers, answers 4 ms late:"
echo "  fleet (default settings): median $fleet_ms ms of three runs" \
  "(${fleet_sorted[0]}..${fleet_sorted[2]} ms), verified of $printers: ${verified_runs[*]}"
echo "  xargs -P $parallel of config write --verify: $xargs_ms ms, $xargs_ok of $printers verified"
echo "  shell loop of config write + config read: $loop_ms ms"
echo "  xargs / fleet: $(ratio "$xargs_ms" "$fleet_ms") (target >= 1)"
echo "  loop / fleet: $(ratio "$loop_ms" "$fleet_ms") (target >= 30)"

start_sims --count "$big" --port 20000
start=$(now_ms)
/usr/bin/time -f "%M" -o "$work/rss" "$cli" fleet --hosts "$work/hosts.txt" --json status \
  >"$work/status.jsonl" || true
status_ms=$(( $(now_ms) - start ))
stop_sims
answered=$(grep -c '"outcome":"unchanged"' "$work/status.jsonl" || true)
echo "fleet status on $big printers: $status_ms ms, $answered answered, $(( big - answered ))" \
  "lost; peak resident memory $(( $(cat "$work/rss") / 1024 )) MB (target < 100)"
