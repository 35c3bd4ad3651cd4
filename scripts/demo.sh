#!/usr/bin/env bash
# The window against the emulated instrument, as `make demo` runs it:
#   scripts/demo.sh [BUILD_DIR] [PROGRAM_ARGS...]
# Builds what is missing, starts zrm48sim on a pseudo-terminal (with the
# timing of a real 9600 bit/s line) in the demo working folder, maps COM1 to
# it in that folder's dev.dat, opens the window there, and stops the
# simulator when the window closes. The folder (default ./demo) keeps
# dev.dat, recent.prf, the profiles and the logs between runs.
#   ZRM_DEMO_DIR      working folder instead of ./demo
#   ZRM_DEMO_PROGRAM  program to run instead of zrm48setup, as its path in the
#                     build (tools/zrm48shots)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root" && realpath -m "${1:-build}")
shift || true
folder=$(realpath -m "${ZRM_DEMO_DIR:-$root/demo}")
program=${ZRM_DEMO_PROGRAM:-src/gui/zrm48setup}

if [ ! -f "$build/CMakeCache.txt" ]; then
  "$root/scripts/install-deps.sh"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build" -j"${JOBS:-2}" --target "$(basename "$program")" zrm48sim

mkdir -p "$folder"
device="$folder/zrm48sim-tty"
rm -f "$device"
"$build/sim/zrm48sim" --link "$device" --line-timing --baud 9600 >/dev/null &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true; wait "$simulator" 2>/dev/null || true' EXIT

for _ in $(seq 50); do
  [ -e "$device" ] && break
  sleep 0.1
done
if [ ! -e "$device" ]; then
  echo "demo: the simulator did not start" >&2
  exit 1
fi

# dev.dat: port 1 in use and mapped to the simulator; every other key stays
# as the program wrote it (the program completes a missing file at start).
dev_dat="$folder/dev.dat"
touch "$dev_dat"
awk -v device="$device" '
  { sub(/\r$/, "") }
  /^\[/ { section = toupper($0) }
  section == "[PORTS]" { next }
  section == "[COM_SETTINGS]" && /^[ \t]*Number[ \t]*=/ { print "Number=1\r"; next }
  { print $0 "\r" }
  END { print "[PORTS]\r"; print "COM1=" device "\r" }
' "$dev_dat" > "$dev_dat.new"
mv "$dev_dat.new" "$dev_dat"

cd "$folder"
"$build/$program" "$@"
