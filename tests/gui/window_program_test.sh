#!/usr/bin/env bash
# The zrm48setup program as its desktop entry starts it: --version and --help
# answer without a display; --user-folder works in $HOME/ZRM48, made on the
# first start, whatever the current folder; SIGTERM closes the window with
# recent.prf saved and status 0, even while a start-up error box is open.
#   window_program_test.sh PROGRAM VERSION
set -euo pipefail
program=$1
version=$2

fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(env -u DISPLAY "$program" --version)" = "zrm48setup $version" ] || fail "--version"
env -u DISPLAY "$program" --help | grep -q -- "--user-folder" || fail "--help names --user-folder"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir "$home/elsewhere"
cd "$home/elsewhere"
HOME=$home QT_QPA_PLATFORM=offscreen "$program" --user-folder >"$home/window.log" 2>&1 &
window=$!
for _ in $(seq 150); do
  [ -s "$home/ZRM48/ZRM48XX_pogrI.prf" ] && break
  sleep 0.1
done
[ -s "$home/ZRM48/dev.dat" ] || fail "no dev.dat in ~/ZRM48"
sleep 0.5
kill -TERM "$window"
status=0
wait "$window" || status=$?
[ "$status" -eq 0 ] || fail "the window ended with status $status: $(cat "$home/window.log")"
[ -s "$home/ZRM48/recent.prf" ] || fail "recent.prf not saved at close"
[ -z "$(ls -A "$home/elsewhere")" ] || fail "files made in the current folder"

# A port that cannot be opened: the start-up's error box is open when SIGTERM
# comes, and the window still closes in order.
printf '[PORTS]\r\nCOM1=%s/no-such-device\r\n' "$home" >"$home/elsewhere/dev.dat"
QT_QPA_PLATFORM=offscreen "$program" >"$home/window.log" 2>&1 &
window=$!
sleep 1.5
kill -TERM "$window"
for _ in $(seq 200); do kill -0 "$window" 2>/dev/null || break; sleep 0.1; done
kill -0 "$window" 2>/dev/null && { kill -KILL "$window"; fail "SIGTERM left the window open"; }
status=0
wait "$window" || status=$?
[ "$status" -eq 0 ] || fail "the window ended with status $status after its start-up box"
[ -s "$home/elsewhere/recent.prf" ] || fail "recent.prf not saved after the start-up box"
echo "ok"
