#!/usr/bin/env bash
# The main job without a printer: installs, builds and opens the desktop app on a simulated
# printer served inside the app (vantrel --demo). With a real network printer:
#   scripts/demo.sh --host ADDRESS [PORT]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
scripts/build.sh dev
app=build/dev/src/app/vantrel
cli=build/dev/src/cli/vantrel-cli

if [ "${1:-}" = "--host" ]; then
  args=(--host "$2" --port "${3:-9100}")
else
  args=(--demo)
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app" "${args[@]}"
fi

cat <<MSG
There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open.
To see it:
  - on a desktop, run:                  $app ${args[*]}
  - over ssh, log in with "ssh -X" and run the same command;
  - on a machine without any screen:    xvfb-run -a $app ${args[*]}
    (a virtual screen; installed by this script, nothing appears but the program runs).
Meanwhile, the same printer exchange through the command-line tool:
MSG

if [ "${1:-}" = "--host" ]; then
  target=(-i net --host "$2" --port "${3:-9100}")
else
  log="$(mktemp)"
  build/dev/tools/printer-sim/vantrel-printer-sim --port 0 >"$log" &
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
"$cli" "${target[@]}" config read
