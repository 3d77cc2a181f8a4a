#!/usr/bin/env bash
# The real program as a user and a script drive it, on a private X server with a faked clock, a
# systemctl that only records and a stand-in for systemd-logind on a private bus:
# - a bad command line is refused on standard error with status 2, without a display; nothing runs;
# - armed with the keys for a restart a few seconds ahead, it runs `systemctl reboot` once, within
#   half a second after the target second, and holds a sleep lock from arming until then only;
# - started with --at TIME --arm, it runs `systemctl poweroff` once at that time, which falls on the
#   next day, in the next year; that this fails does not end it.
#
# Usage: run.sh PROGRAM FAKE_LOGIN1
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

program=$1
# Four seconds before a new year, so that each field of a target a few seconds ahead differs from
# the clock's.
fake_start='2026-12-31 23:59:56'

# Waits on past the target, which also shows up a second call, and checks the one call.
check_launch() {
    e2e_wait_past_target 1500
    e2e_check_launch "$1"
    ((E2E_DELAY_MS < 500)) || e2e_fail "systemctl ran $E2E_DELAY_MS ms after the target"
    echo "$1 $E2E_DELAY_MS ms after the target"
}

e2e_init
e2e_fake_systemctl

status=0
env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$E2E_DIR/config" "$program" \
    --at '2026-02-30 18:30:00' --arm >"$E2E_DIR/out" 2>"$E2E_DIR/err" || status=$?
[[ $status == 2 && ! -s $E2E_DIR/out && ! -s $E2E_RECORD &&
    $(head -n 1 "$E2E_DIR/err") == '命令行参数错误：“2026-02-30 18:30:00”不是有效的日期时间。' ]] ||
    e2e_fail "a bad date exited with $status and said: $(cat "$E2E_DIR/out" "$E2E_DIR/err")"

e2e_fake_logind "$2"
e2e_start_xvfb
e2e_start_program "$program" "$fake_start"
e2e_wait_locks 0
e2e_arm reboot 4
e2e_wait_locks 1
check_launch reboot
e2e_wait_locks 0
e2e_stop_program

: >"$E2E_RECORD"
E2E_TARGET_MS=$(($(date -d '2027-01-01 00:00:00' +%s) * 1000))
SYSTEMCTL_EXIT=1 e2e_start_program "$program" "$fake_start" --at 00:00:00 --arm
check_launch poweroff
echo PASS
