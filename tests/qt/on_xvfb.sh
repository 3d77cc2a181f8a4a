#!/usr/bin/env bash
# Runs a command on Qt's X11 platform and an X server of its own, for what only a real window
# system shows: the offscreen platform gives the focus to every window it shows.
set -euo pipefail
coproc XVFB { exec Xvfb -displayfd 1 -nolisten tcp -screen 0 1024x768x24 2>/dev/null; }
trap 'kill $XVFB_PID' EXIT
read -r display <&"${XVFB[0]}"
DISPLAY=:$display QT_QPA_PLATFORM=xcb "$@"
