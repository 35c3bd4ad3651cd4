#!/usr/bin/env bash
# Runs the benchmarks of an optimised build and prints their tables:
#   ./scripts/bench.sh [BUILD_DIR]        (default build-release)
# The figures are timings on whatever machine runs this; nothing here passes
# or fails on them. Paste the output into docs/performance.md.
set -euo pipefail

build=${1:-build-release}
bench="$build/bench"
runs=${BENCH_RUNS:-7}

if [ ! -x "$bench/zrm48bench_transfer" ]; then
  echo "bench: $bench/zrm48bench_transfer is missing; build $build first" >&2
  exit 1
fi

echo "# make bench"
echo
echo "- date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "- machine: $(uname -srm); $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) processors"
echo "- compiler: $(c++ --version | head -n1)"
echo "- command: ./scripts/bench.sh $build (BENCH_RUNS=$runs)"
echo

echo "## Transfers and one poll cycle"
echo
"$bench/zrm48bench_transfer" --runs "$runs" --polls $((runs * 3))
echo

echo "## Start-up"
echo
startup_args=()
[ -x "$build/src/cli/zrm48ctl" ] && startup_args+=(--ctl "$build/src/cli/zrm48ctl")
[ -x "$bench/zrm48bench_window" ] && startup_args+=(--window "$bench/zrm48bench_window")
if [ ${#startup_args[@]} -gt 0 ]; then
  "$bench/zrm48bench_startup" --runs 5 "${startup_args[@]}"
else
  echo "(neither zrm48ctl nor the window was built)"
fi
echo

echo "## Window responsiveness"
echo
if [ -x "$bench/zrm48bench_window" ]; then
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench/zrm48bench_window" --responsiveness
  echo
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench/zrm48bench_window" --bus-view
else
  echo "(the window library was not built)"
fi

echo
echo "## A sweep of the bus poll"
echo
"$bench/zrm48bench_bus" --runs $((runs * 2))

echo
echo "## The write journal"
echo
"$bench/zrm48bench_journal" --runs "$runs"

echo
echo "## The history of changes"
echo
"$bench/zrm48bench_history" --runs "$runs"
echo

echo "## Instrument search"
echo
"$bench/zrm48bench_search" --runs 3

echo
echo "## Many instruments: a batch over parallel lines, reads over ser2net"
echo
if [ -x "$build/src/cli/zrm48ctl" ]; then
  "$bench/zrm48bench_fleet" --ctl "$build/src/cli/zrm48ctl" --runs 1
else
  echo "(zrm48ctl was not built)"
fi

echo
echo "## The gateway: answer to subscriber, 16 lines × 8 instruments"
echo
if command -v mosquitto >/dev/null 2>&1 && [ -x "$build/src/gateway/zrm48d" ]; then
  "$bench/zrm48bench_gateway" --seconds 20 --daemon "$build/src/gateway/zrm48d"
else
  echo "(mosquitto is not installed or zrm48d was not built)"
fi
