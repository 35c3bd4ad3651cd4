#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test, demo and
# benchmark. Idempotent: returns at once when everything is present.
set -euo pipefail

packages=(
  build-essential cmake make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-serialport-dev qt6-charts-dev libgl-dev
  xvfb xauth poppler-utils locales
  clang libclang-rt-14-dev clang-format clang-tidy
  fonts-liberation qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale for the tests that prove number texts ignore it.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 || echo "install-deps: ru_RU.UTF-8 locale not created; locale tests will be skipped"
fi
