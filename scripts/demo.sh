#!/usr/bin/env bash
# The main job without a printer: starts the simulated printer on loopback and talks to it.
# With a real network printer: scripts/demo.sh --host ADDRESS
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
scripts/build.sh dev
cli=build/dev/src/cli/vantrel-cli

if [ "${1:-}" = "--host" ]; then
  target=(-i net --host "$2" --port "${3:-9100}")
else
  log="$(mktemp)"
  build/dev/tools/printer-sim/vantrel-printer-sim --port 0 --status-byte 0 >"$log" &
  sim=$!
  trap 'kill "$sim" 2>/dev/null; rm -f "$log"' EXIT
  for _ in $(seq 50); do grep -q '^listening on' "$log" && break; sleep 0.1; done
  port="$(sed -n 's/^listening on .*:\([0-9]*\)$/\1/p' "$log" | head -n1)"
  echo "simulated printer listening on 127.0.0.1:$port"
  target=(-i net --host 127.0.0.1 --port "$port")
fi

set -x
"$cli" "${target[@]}" probe
"$cli" "${target[@]}" status
"$cli" "${target[@]}" status --json
