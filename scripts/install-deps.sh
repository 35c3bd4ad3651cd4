#!/usr/bin/env bash
# Installs every Debian package the project needs on a minimal Debian 12 to
# configure, build, test, run the demo, fuzz, benchmark and build the Debian
# package. Each package is named here: nothing is left to Recommends.
# Idempotent: returns at once when everything is present.
set -euo pipefail

packages=(
  # compilers and the build
  build-essential cmake make pkg-config
  # Qt: Widgets, Gui, PrintSupport, Test and Charts; Qt Charts' CMake files
  # need Qt OpenGL's, and Qt Gui's need the OpenGL headers
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev libgl-dev
  # the tests: GoogleTest, a comma-decimal locale, fonts for the report page,
  # Qt's Russian translations, PDF pages to PNG
  libgtest-dev libgmock-dev locales fonts-liberation qt6-translations-l10n poppler-utils
  # network lines: a serial device server on the loopback for the tests
  ser2net
  # benchmarks, screenshots under a virtual display
  libbenchmark-dev xvfb xauth
  # the libFuzzer targets; make lint
  clang libclang-rt-14-dev clang-format clang-tidy
  # make package: CPack's DEB generator, manual pages, the package check
  dpkg-dev file help2man lintian
  # serial device discovery and hot-plug; recorded devices for their tests
  libudev-dev umockdev libumockdev-dev
  # the gateway zrm48d: MQTT and Modbus TCP; its tests start a broker, read
  # with its clients and mbpoll, and make a TLS certificate
  libmosquitto-dev libmodbus-dev libssl-dev libsystemd-dev mosquitto mosquitto-clients mbpoll openssl
  # the history of changes: SQLite (and OpenSSL's SHA-256, above); a plant's
  # PostgreSQL database through libpq, and the server its tests start
  libsqlite3-dev libpq-dev postgresql
)

# Runs a command as root: directly or through sudo. Without either it says,
# in one line, what to run as root instead, and fails.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps: not root and no sudo; as root, run: $root_command" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  root_command="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale for the tests that prove number texts ignore it.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
  root_command="localedef -i ru_RU -f UTF-8 ru_RU.UTF-8"
  as_root localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 ||
    echo "install-deps: ru_RU.UTF-8 locale not created; locale tests will be skipped"
fi
