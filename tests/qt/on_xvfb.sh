#!/usr/bin/env bash
# Runs a command on Qt's X11 platform and an X server of its own.
set -euo pipefail
coproc XVFB { exec Xvfb -displayfd 1 -nolisten tcp -screen 0 1024x768x24 2>/dev/null; }
trap 'kill $XVFB_PID' EXIT
read -r display <&"${XVFB[0]}"
DISPLAY=:$display QT_QPA_PLATFORM=xcb "$@"
