#!/usr/bin/env bash
# Runs a command on Qt's X11 platform and an X server of its own; after --tray, with a notification
# area on it.
set -euo pipefail
# shellcheck source=../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-xvfb.XXXXXX")
trap e2e_cleanup EXIT
e2e_xvfb
if [[ $1 == --tray ]]; then
    e2e_tray
    shift
fi
QT_QPA_PLATFORM=xcb "$@"
