#!/usr/bin/env bash
# The program started by a script: a bad command line says what is wrong on standard error, exits
# with status 2 and starts nothing, without a display; a time a few seconds ahead with --restart
# and --arm runs systemctl reboot once at that second, with no click at all. The time alone falls
# on the next day here, in the next year.
#
# Usage: command_line.sh PROGRAM FAKE_LOGIN1
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$here/lib.sh"

[[ $# -eq 2 ]] || e2e_fail "usage: $0 PROGRAM FAKE_LOGIN1"
program=$1
fake_start='2026-12-31 23:59:54'

e2e_init
e2e_fake_systemctl

status=0
env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$E2E_DIR/config" \
    "$program" --at '2026-02-30 18:30:00' --arm >"$E2E_DIR/out" 2>"$E2E_DIR/err" || status=$?
((status == 2)) || e2e_fail "a bad date exited with $status, expected 2"
[[ $(head -n 1 "$E2E_DIR/err") == '命令行参数错误：“2026-02-30 18:30:00”不是有效的日期时间。' ]] ||
    e2e_fail "a bad date said: $(cat "$E2E_DIR/err")"
[[ ! -s $E2E_DIR/out && ! -s $E2E_RECORD ]] || e2e_fail "a bad date printed or launched something"

e2e_fake_logind "$2"
e2e_start_xvfb
E2E_TARGET_S=$(($(date -d "$fake_start" +%s) + 6))
e2e_start_program "$program" "$fake_start" --at 00:00:00 --restart --arm
e2e_wait_window 10
e2e_wait_past_target 2500
e2e_read_launch reboot
((E2E_DELAY_NS >= 0 && E2E_DELAY_NS < 500000000)) ||
    e2e_fail "systemctl ran $(e2e_ms "$E2E_DELAY_NS") ms after $(e2e_local "$E2E_TARGET_S")"
echo "PASS: a bad command line refused; --at 00:00:00 --restart --arm ran systemctl reboot" \
    "$(e2e_ms "$E2E_DELAY_NS") ms after $(e2e_local "$E2E_TARGET_S")"
