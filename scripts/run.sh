#!/usr/bin/env bash
# Builds the application and starts it. Without ORVALINDE_BACKEND=linux it runs
# on three simulated devices (one of each family), with a loopback HTTPS update
# server (nginx) that offers each of them a newer firmware; the server stops
# when the application exits. The server offers the application's own version,
# so no application update is offered; ORVALINDE_OFFER_APP_UPDATE=1 makes it
# offer a newer one. With no display it runs under xvfb-run and saves a
# screenshot of the main window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --run-only
cmake --preset release >/dev/null
cmake --build --preset release

export ORVALINDE_BACKEND="${ORVALINDE_BACKEND:-sim}"
if [ "$ORVALINDE_BACKEND" = "sim" ]; then
  export ORVALINDE_SIM_DEVICES="${ORVALINDE_SIM_DEVICES:-orbrin:OR20240001,vasko:VS20240002.01,pirok:PK20240003}"
  echo "Simulated devices: $ORVALINDE_SIM_DEVICES (change them with build/release/tools/simctl/orvalinde-simctl)"
  if [ -z "${ORVALINDE_UPDATE_CONFIG:-}" ]; then
    server_dir="$(mktemp -d "${TMPDIR:-/tmp}/orvalinde-update.XXXXXX")"
    trap 'scripts/update-server.sh stop "$server_dir"; rm -rf "$server_dir"' EXIT
    trap 'exit 130' INT TERM
    ORVALINDE_UPDATE_CONFIG="$(scripts/update-server.sh start "$server_dir" "$PWD/build/release/tools/simfw/orvalinde-simfw")"
    export ORVALINDE_UPDATE_CONFIG
    echo "Update server: $(grep -o 'https://127.0.0.1:[0-9]*' "$ORVALINDE_UPDATE_CONFIG" | head -1) (configuration $ORVALINDE_UPDATE_CONFIG)"
  fi
fi

app=build/release/src/orvalinde
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$app"
  exit $?
fi
shot="${ORVALINDE_SCREENSHOT:-$PWD/orvalinde-screenshot.png}"
rm -f "$shot"
echo "No display: running under xvfb-run"
status=0
ORVALINDE_SCREENSHOT="$shot" ORVALINDE_QUIT_AFTER_SCREENSHOT="${ORVALINDE_QUIT_AFTER_SCREENSHOT:-1}" \
  xvfb-run -a -s "-screen 0 1280x800x24" "$app" || status=$?
if [ -f "$shot" ]; then
  echo "Screenshot of the main window saved to $shot"
else
  echo "No screenshot was saved (wanted at $shot)" >&2
fi
exit "$status"
