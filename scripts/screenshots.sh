#!/usr/bin/env bash
# Screenshots of the window's five pages for the documentation:
#   scripts/screenshots.sh [BUILD_DIR]
# Starts the window under Xvfb in a fresh folder against the emulated
# instrument, reads the instrument once (saving the progress panel as
# docs/window-progress.png), and saves each page as docs/window-<page>.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root" && realpath -m "${1:-build}")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

ZRM_DEMO_DIR="$folder/work" ZRM_DEMO_PROGRAM=tools/zrm48shots \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/demo.sh" "$build" "$folder/shots" --read

pages=(channels relays general current-values configuration)
for i in "${!pages[@]}"; do
  cp "$folder/shots/page$i.png" "$root/docs/window-${pages[$i]}.png"
done
cp "$folder/shots/progress.png" "$root/docs/window-progress.png"
echo "screenshots: docs/window-{$(IFS=,; echo "${pages[*]}"),progress}.png"
