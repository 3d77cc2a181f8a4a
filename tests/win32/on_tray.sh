#!/usr/bin/env bash
# Runs a Windows test program under Wine's X11 driver, on an X server of its own with a notification
# area. Usage: on_tray.sh WINEPREFIX PROGRAM [ARGS...], a prefix that may show windows.
set -euo pipefail
root=$(dirname "${BASH_SOURCE[0]}")/../..
# shellcheck source=../e2e/lib.sh
source "$root/tests/e2e/lib.sh"
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-tray.XXXXXX")
trap 'vorlix_wine_stop; e2e_cleanup' EXIT
e2e_xvfb
e2e_tray
# shellcheck source=scripts/wine-env.sh
VORLIX_WINEPREFIX=$1 source "$root/scripts/wine-env.sh" >/dev/null
vorlix_wine_x11
vorlix_wine_start
wine "${@:2}"
