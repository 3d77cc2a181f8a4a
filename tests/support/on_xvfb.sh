#!/usr/bin/env bash
# Runs a test program on an X server of its own: [--tray] puts a notification area on it, and
# [--wine PREFIX] runs the program under Wine's X11 driver in PREFIX, else on Qt's X11 platform.
set -euo pipefail
root=$(dirname "${BASH_SOURCE[0]}")/../..
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
source "$root/tests/e2e/lib.sh"
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-xvfb.XXXXXX")
trap e2e_cleanup EXIT
e2e_xvfb
[[ $1 != --tray ]] || { e2e_tray && shift; }
if [[ $1 == --wine ]]; then
    # shellcheck source=scripts/wine-env.sh
    VORLIX_WINEPREFIX=$2 source "$root/scripts/wine-env.sh" >/dev/null
    trap 'vorlix_wine_stop; e2e_cleanup' EXIT
    vorlix_wine_x11
    vorlix_wine_start
    wine "${@:3}"
else
    QT_QPA_PLATFORM=xcb "$@"
fi
