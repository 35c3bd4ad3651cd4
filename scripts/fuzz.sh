#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in their own build directory and
# runs each for a set time, starting from the seed corpora in
# tests/fuzz/corpus/<target>/, as many at once as JOBS (each fuzzer is one
# process on one core). Prints executions and coverage per target and
# fails when any target found a crash, a hang or a broken property; the
# input that did it is kept under <build>/artifacts/.
#
# usage: scripts/fuzz.sh [SECONDS]     (default 30; env BUILD, JOBS)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
build="${BUILD:-build-fuzz}"
jobs="${JOBS:-2}"
targets=(link_reply private_profile profile_load link_config editor_numbers telnet_stream modbus_request)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZRM_BUILD_GUI=OFF -DZRM_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" -j"$jobs" --target fuzz_targets

# The file targets save through fsync; a memory file system keeps them fast.
scratch="${TMPDIR:-/tmp}"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm

mkdir -p "$build/artifacts"

# Runs one target; its output goes to its log, its exit status to a file.
fuzz_target() {
  local target=$1 corpus="$build/corpus/$1" status=0
  mkdir -p "$corpus"
  TMPDIR="$scratch" "$build/tests/fuzz/fuzz_$target" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" \
    "$corpus" "tests/fuzz/corpus/$target" >"$build/fuzz_$target.log" 2>&1 || status=$?
  echo "$status" >"$build/fuzz_$target.status"
}

for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  echo "== fuzz_$target: $seconds s"
  fuzz_target "$target" &
done
wait

summary=()
failed=0
for target in "${targets[@]}"; do
  log="$build/fuzz_$target.log"
  status=$(cat "$build/fuzz_$target.status")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | tr -dc 0-9)
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | tr -dc 0-9)
  units=$(find "$build/corpus/$target" -type f | wc -l)
  verdict=ok
  if [ "$status" -ne 0 ]; then
    verdict="FAILED (exit $status)"
    failed=1
    echo "== fuzz_$target failed:"
    grep -E 'property broken|ERROR|SUMMARY|Test unit written' "$log" || true
  fi
  summary+=("$(printf '%-18s %10s runs  cov %6s  ft %6s  corpus %5s  %s' \
    "fuzz_$target" "${runs:-?}" "${cov:-?}" "${features:-?}" "$units" "$verdict")")
done

echo
echo "== fuzz summary ($seconds s per target)"
printf '%s\n' "${summary[@]}"
exit "$failed"
