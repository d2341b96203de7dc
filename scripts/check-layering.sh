#!/usr/bin/env bash
# Checks the include lines against the layering: each folder of the core may include only the
# folders below it (the connection doctor serves the CLI alone), nothing below the app includes
# Qt, the simulator includes nothing from src/ and its rooms include only the rooms below them.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [common]="common"
  [link]="common link"
  [config]="common config"
  [net]="common net"
  [fonts]="common fonts"
  [ops]="common link config net fonts ops"
  [doctor]="common link net ops doctor"
  [cli]="common link config net fonts ops doctor cli"
  [app]="common link config net fonts ops app"
)
modules="common|link|config|net|fonts|ops|doctor|cli|app"
status=0

complain() {
  echo "layering: $1" >&2
  status=1
}

for layer in "${!allowed[@]}"; do
  [ -d "src/$layer" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      complain "$file:$line: $layer must not include $target/ ($text)"
    fi
  done < <(grep -rnE "^#include \"($modules)/" "src/$layer" || true)
  [ "$layer" = app ] && continue
  while IFS= read -r hit; do
    complain "$hit: Qt below the app"
  done < <(grep -rnE '^#include <Q' "src/$layer" || true)
done

# Within the app, the widgets are the bottom room: they know no tab, dialog or window.
while IFS= read -r hit; do
  complain "$hit: a widget includes a room above it"
done < <(grep -rnE '^#include "app/' src/app/widgets | grep -v '"app/widgets/' || true)

# The main window stands above its tabs and dialogs: they reach it through the tab host and the
# prompts alone, and the tabs connect no handler of a dialog's.
while IFS= read -r hit; do
  complain "$hit: a tab, dialog or widget includes the main window"
done < <(grep -rnE '^#include "app/main_window' src/app/dialogs src/app/tabs src/app/widgets || true)
while IFS= read -r hit; do
  complain "$hit: a tab includes a dialog's handler"
done < <(grep -rnE '^#include "app/dialogs/[a-z_]*_handler' src/app/tabs || true)

while IFS= read -r hit; do
  complain "$hit: the simulator includes nothing from src/"
done < <(grep -rnE "^#include \"($modules)/" tools/printer-sim || true)

# The simulator's rooms, lowest first: each includes only itself and the rooms before it; the
# program files at the top include them all.
sim_rooms=(state engine commands servers)
for index in "${!sim_rooms[@]}"; do
  room=${sim_rooms[$index]}
  above=$(IFS='|' && echo "${sim_rooms[*]:index+1}")
  [ -n "$above" ] || continue
  while IFS=: read -r file line text; do
    complain "$file:$line: the simulator's $room/ must not include a room above it ($text)"
  done < <(grep -rnE "^#include \"($above)/" "tools/printer-sim/$room" || true)
done

# Host files are opened only by common/host_file, the one bounded reader and safe writer.
# QFile's name conversions (encodeName, decodeName) open nothing and are fine.
while IFS= read -r hit; do
  complain "$hit: host files are read and written through common/host_file"
done < <(grep -rnE 'std::(i|o)?fstream|\bf(re)?open *\(|\bQFile\b|QSaveFile' src \
  --exclude='host_file.h' --exclude='host_file.cpp' |
  grep -vE '^[^:]+:[0-9]+: *//' |
  grep -vE 'QFile::(en|de)codeName|#include <QFile>' || true)

[ "$status" -eq 0 ] && echo "layering: ok"
exit "$status"
