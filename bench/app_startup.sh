#!/usr/bin/env bash
# Start-up of the desktop app with no printer attached, on the offscreen platform: the time from
# process start until the main window is shown, and the resident memory at that moment.
# Targets: under 0.5 s and under 150 MB.   Usage: bench/app_startup.sh [path/to/vantrel] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
app="${1:-build/release/src/app/vantrel}"
runs="${2:-7}"
[ -x "$app" ] || { echo "no app at $app: build the release preset first" >&2; exit 1; }

times=() rss=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  line=$(QT_QPA_PLATFORM=offscreen "$app" --report-startup)
  shown=$(sed -n 's/.*shown_ns=\([0-9]*\).*/\1/p' <<<"$line")
  times+=($(( (shown - start) / 1000000 )))
  rss+=("$(sed -n 's/.*rss_kb=\([0-9]*\).*/\1/p' <<<"$line")")
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "runs: $runs"
echo "time to window shown, ms: median ${sorted[$((runs / 2))]}, max ${sorted[$((runs - 1))]} (target < 500)"
echo "resident memory when shown, MB: max $(( $(printf '%s\n' "${rss[@]}" | sort -n | tail -1) / 1024 )) (target < 150)"
