#!/usr/bin/env bash
# Proves on throwaway minimal Debian 12 roots what no developer's machine can:
# that the project's own scripts set up everything it needs.
#
#   1. A build root with only build-essential, cmake, git and ca-certificates:
#      a clean clone of the project, scripts/install-deps.sh, the configure,
#      the build of the three programs, zrm48ctl reading zrm48sim, and the
#      Debian package (make package, lintian included).
#   2. A run root without any build package: the package installed with
#      apt-get (which brings the runtime dependencies), zrm48ctl reading
#      zrm48sim, the window starting on the offscreen platform in an empty
#      folder and closing on SIGTERM with its start-up files made,
#      `man zrm48ctl`, and the gateway zrm48d against zrm48sim and a local
#      mosquitto, read with mosquitto_sub and mbpoll.
#
# Uses the Debian sources this machine's apt is set up with, nothing else;
# packages its apt has downloaded before are taken from its cache.
# Needs root (mmdebstrap, mount namespaces, chroot). On a failure it names the
# step (root, install, configure, build, run, package) and the first error
# line, keeps the step logs in $FRESH_LOGS (default build-fresh/) and exits 1.
set -euo pipefail

project=$(cd "$(dirname "$0")/.." && pwd)
logs=$(realpath -m "${FRESH_LOGS:-$project/build-fresh}")
jobs=${JOBS:-2}

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: needs root (mmdebstrap and chroot); run: sudo $0" >&2
  exit 1
fi
if ! command -v mmdebstrap >/dev/null; then
  apt-get install -y -qq --no-install-recommends mmdebstrap >/dev/null
fi

work=$(mktemp -d /var/tmp/zrm48-fresh.XXXXXX)
# An mmdebstrap stopped half-way can leave /proc, /sys or /dev mounted in its
# root: take every mount under the work folder away before removing it, and
# never let the removal cross into another file system.
cleanup() {
  if [ -n "${run_root_job:-}" ]; then
    kill "$run_root_job" 2>/dev/null || true
    wait "$run_root_job" 2>/dev/null || true
  fi
  awk -v work="$work" 'index($2, work "/") == 1 { print $2 }' /proc/mounts | sort -r |
    xargs -r -n1 umount -l
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
rm -rf "$logs"
mkdir -p "$logs"

# The files of this machine's apt that name a Debian archive.
debian_sources() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -qE '^[[:space:]]*(URIs:|deb )[^#]*(debian\.org|/debian)' "$f" && echo "$f"
  done
  return 0
}
mapfile -t sources < <(debian_sources)
if [ ${#sources[@]} -eq 0 ]; then
  echo "fresh-check: this machine's apt names no Debian archive" >&2
  exit 1
fi

# Names the failed STEP and the first line of its LOG that reads as an
# error, then stops the check.
step_failed() {
  local name=$1 log=$2 first
  first=$(grep -m1 -E 'error|Error|ERROR|^E: |failed|FAILED|No such|not found|Unable' "$log" || tail -n1 "$log")
  echo "fresh-check: step '$name' failed: $first" >&2
  echo "fresh-check: the whole output: $log" >&2
  exit 1
}

# Runs STEP's command, its output in the step's log.
step() {
  local name=$1 log="$logs/$2.log"
  shift 2
  echo "fresh-check: $name ..."
  "$@" >"$log" 2>&1 || step_failed "$name" "$log"
}

# The packages this machine's apt has downloaded before. The roots start
# from hard links to them and download only what is missing: the same Debian
# packages, installed by the same apt, without fetching them again. Anything
# a root downloads lands here too, for the next check.
apt_cache=/var/cache/apt/archives

# A minimal Debian 12 root in DIR holding the Essential packages, apt and
# the packages listed in $2 (comma-separated, may be empty). A root lives for
# one check: its dpkg skips the syncs that keep a real system safe from a
# power cut.
make_root() {
  local dir=$1 include=$2
  mmdebstrap --mode=root --variant=apt ${include:+--include="$include"} \
    --dpkgopt=force-unsafe-io --skip=download/empty \
    --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
    --setup-hook="cp -l $apt_cache/*.deb \"\$1/var/cache/apt/archives/\" 2>/dev/null || true" \
    bookworm "$dir" "${sources[@]}"
  cp /etc/resolv.conf "$dir/etc/resolv.conf"
}

# Runs a shell command inside ROOT as root, with its own /proc and a private
# pseudo-terminal instance; the mounts vanish with the mount namespace.
in_root() {
  local root=$1 command=$2
  unshare --mount --fork bash -c '
    root=$1
    mount -t proc proc "$root/proc"
    mkdir -p "$root/dev/pts"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
    [ -e "$root/dev/ptmx" ] || touch "$root/dev/ptmx"
    mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
    if [ -d "$3" ]; then
      mkdir -p "$root/var/cache/apt/archives"
      mount --bind "$3" "$root/var/cache/apt/archives"
    fi
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      bash -euo pipefail -c "$2"' bash "$root" "$command" "$apt_cache"
}

# zrm48ctl reads zrm48sim in a new folder: SIM and CTL are the programs.
read_simulator='
  folder=$(mktemp -d) && cd "$folder"
  "$SIM" --link "$folder/tty" >/dev/null &
  sim=$!
  for _ in $(seq 50); do [ -e "$folder/tty" ] && break; sleep 0.1; done
  "$CTL" --device "$folder/tty" read check.prf | tee identity.txt
  kill "$sim"; wait "$sim" || true
  grep -qx "serial_number=12345" identity.txt || { echo "error: no identity read"; exit 1; }
  grep -q "^\[CH1\]" check.prf || { echo "error: check.prf holds no channel settings"; exit 1; }'

# The window in an empty folder: it makes dev.dat and the default profiles at
# start, saves recent.prf when SIGTERM closes it, and ends with status 0.
start_window='
  folder=$(mktemp -d) && cd "$folder"
  QT_QPA_PLATFORM=offscreen zrm48setup >window.log 2>&1 &
  window=$!
  for _ in $(seq 100); do [ -e ZRM48XX_pogrI.prf ] && break; sleep 0.1; done
  sleep 1
  kill -TERM "$window"
  for _ in $(seq 200); do kill -0 "$window" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$window" 2>/dev/null; then
    kill -KILL "$window"
    echo "error: the window did not close on SIGTERM"; cat window.log; exit 1
  fi
  status=0
  wait "$window" || status=$?
  [ "$status" -eq 0 ] || { echo "error: the window ended with status $status"; cat window.log; exit 1; }
  for f in dev.dat recent.prf ZRM4810.prf ZRM4811.prf ZRM4813.prf ZRM4816.prf \
           ZRM48XX_progon.prf ZRM48XX_pogrR.prf ZRM48XX_pogrU100.prf \
           ZRM48XX_pogrU10.prf ZRM48XX_pogrI.prf; do
    [ -s "$f" ] || { echo "error: the window did not make $f"; ls -l; exit 1; }
  done
  echo "start-up files: $(ls | tr "\n" " ")"'

# zrm48d against zrm48sim (three instruments on one line) and a local
# mosquitto: a state read with mosquitto_sub, the device type with mbpoll,
# then a clean stop on SIGTERM.
run_gateway='
  folder=$(mktemp -d) && cd "$folder"
  zrm48sim --address 1-3 --link "$folder/tty" >/dev/null &
  sim=$!
  mosquitto -p 18830 >mosquitto.log 2>&1 &
  broker=$!
  for _ in $(seq 50); do [ -e "$folder/tty" ] && break; sleep 0.1; done
  printf "[MQTT]\nPort=18830\n[MODBUS]\nListen=127.0.0.1:15020\n[LINE1]\nDevice=%s\nAddresses=1-3\n" \
    "$folder/tty" >zrm48d.ini
  zrm48d --check --config zrm48d.ini
  zrm48d --config zrm48d.ini 2>zrm48d.log &
  gateway=$!
  # A minimal root may not resolve "localhost": the broker is named by its address.
  for _ in $(seq 20); do
    mosquitto_sub -h 127.0.0.1 -p 18830 -v -C 1 -W 20 -t zrm48/047-12346/state >state.txt && break
    sleep 0.5
  done
  cat state.txt
  sleep 1
  mbpoll -m tcp -p 15020 -a 2 -t 3 -0 -r 11 -c 4 -1 127.0.0.1 | tee registers.txt || true
  kill -TERM "$gateway"
  status=0
  wait "$gateway" || status=$?
  kill "$sim" "$broker"
  wait "$sim" "$broker" || true
  [ "$status" -eq 0 ] || { echo "error: zrm48d ended with status $status"; cat zrm48d.log; exit 1; }
  grep -q "{\"time\": " state.txt || { echo "error: no state from zrm48d"; cat zrm48d.log; exit 1; }
  grep -q "^\[11\]:.*4813" registers.txt || { echo "error: mbpoll read no device type"; exit 1; }'

build_root=$work/build-root
run_root=$work/run-root
source_dir=/root/zrm48setup

started=$SECONDS
# The run root needs nothing from the build root until the package is made:
# it is made meanwhile.
make_root "$run_root" "" >"$logs/run-root.log" 2>&1 &
run_root_job=$!
step "root (build)" build-root make_root "$build_root" build-essential,cmake,git,ca-certificates
step "copy a clean clone" clone git clone --quiet --no-hardlinks "$project" "$build_root$source_dir"
step install build-install in_root "$build_root" "cd $source_dir && ./scripts/install-deps.sh"
step configure build-configure in_root "$build_root" "cd $source_dir && make configure-package"
step build build-build in_root "$build_root" \
  "cd $source_dir && cmake --build build-package -j$jobs --target zrm48setup zrm48ctl zrm48sim"
step run build-run in_root "$build_root" \
  "SIM=$source_dir/build-package/sim/zrm48sim CTL=$source_dir/build-package/src/cli/zrm48ctl; $read_simulator"
step package build-package in_root "$build_root" "cd $source_dir && make package JOBS=$jobs"
build_minutes=$(( (SECONDS - started + 30) / 60 ))
echo "fresh-check: build root green in $((SECONDS - started)) s (about $build_minutes min)"

started=$SECONDS
echo "fresh-check: root (run) ..."
wait "$run_root_job" || step_failed "root (run)" "$logs/run-root.log"
cp "$build_root$source_dir"/build-package/zrm48setup_*.deb "$run_root/root/"
step install run-install in_root "$run_root" \
  "cd /root && apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./zrm48setup_*.deb man-db mosquitto mosquitto-clients mbpoll"
step run run-ctl in_root "$run_root" "SIM=zrm48sim CTL=zrm48ctl; $read_simulator"
step run run-window in_root "$run_root" "$start_window"
step run run-man in_root "$run_root" \
  "MANPAGER=cat man zrm48ctl | grep -q 'zrm48ctl - read' || { echo 'error: man zrm48ctl'; exit 1; }"
step run run-gateway in_root "$run_root" "$run_gateway"
run_minutes=$(( (SECONDS - started + 30) / 60 ))
echo "fresh-check: run root green in $((SECONDS - started)) s (about $run_minutes min)"
