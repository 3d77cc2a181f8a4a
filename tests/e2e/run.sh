#!/usr/bin/env bash
# The real program: a bad --at refused without a display, help or an error that cannot be written
# failing, a good --at ending for the want of a display; a restart armed with the keys, holding a
# sleep lock until it runs only; --at --restart --arm into the next year, whose failing systemctl it
# survives; in Berlin, a time that summer time skips refused, and a time shown twice as it ends
# run at its second showing; the icon in a notification area, whose "退出" ends the program.
# Usage: run.sh PROGRAM FAKE_LOGIN1
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# Just before a new year, so that every field of a target a few seconds ahead differs.
program=$1 fake_start='2026-12-31 23:59:56' status=0
e2e_init

env -u DISPLAY -u WAYLAND_DISPLAY "$program" --at '2026-02-30 18:30:00' --arm \
    >"$E2E_DIR/out" 2>"$E2E_DIR/err" || status=$?
[[ $status == 2 && ! -s $E2E_DIR/out && ! -s $E2E_RECORD &&
    $(head -n 1 "$E2E_DIR/err") == '命令行参数错误：“2026-02-30 18:30:00”不是有效的日期时间。' ]] ||
    e2e_fail "a bad date exited with $status and said: $(cat "$E2E_DIR/out" "$E2E_DIR/err")"
# Help or an error that cannot be written is a failure; help can still say so on standard error.
status=0
env -u DISPLAY "$program" --help >/dev/full 2>"$E2E_DIR/err" || status=$?
[[ $status == 1 && $(<"$E2E_DIR/err") == 无法输出用法说明：?* ]] ||
    e2e_fail "help to a full disk exited with $status and said: $(cat "$E2E_DIR/err")"
status=0
env -u DISPLAY "$program" --at bad >"$E2E_DIR/out" 2>/dev/full || status=$?
[[ $status == 1 && ! -s $E2E_DIR/out ]] || e2e_fail "an error to a full disk exited with $status"
# A good one still needs a display; without one it says so and exits, where Qt would abort.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --at 18:30 --arm 2>"$E2E_DIR/err" || status=$?
[[ $status == 1 && ! -s $E2E_RECORD && $(<"$E2E_DIR/err") == *无法打开程序窗口：* ]] ||
    e2e_fail "without a display it exited with $status and said: $(cat "$E2E_DIR/err")"

# A private bus as the system bus, so that the machine's own logind is never asked.
e2e_serve bus dbus-daemon --session --nofork --nopidfile --print-address=3
DBUS_SYSTEM_BUS_ADDRESS=$(head -n 1 "$E2E_DIR/bus")
export DBUS_SYSTEM_BUS_ADDRESS
e2e_serve login1 "$2" "$DBUS_SYSTEM_BUS_ADDRESS" /dev/fd/3
held() { [[ $(tail -n 1 "$E2E_DIR/login1") == "held $1" ]]; }
locks() { e2e_poll 1 held "$1" || e2e_fail "not $1 locks held: $(tr '\n' ';' <"$E2E_DIR/login1")"; }

e2e_start_program "$program" "$fake_start"
locks 0
e2e_arm reboot 4
locks 1
e2e_check_launch reboot
locks 0
e2e_stop_pid "$E2E_PID"

E2E_TARGET_MS=$(($(date -d '2027-01-01 00:00:00' +%s) * 1000))
SYSTEMCTL_EXIT=1 e2e_start_program "$program" "$fake_start" --at 00:00:00 --restart --arm
e2e_check_launch reboot
e2e_stop_pid "$E2E_PID"

# Berlin's clock skips 02:00 to 02:59 when summer time begins, and shows them twice when it ends.
export TZ=Europe/Berlin
status=0
faketime '2027-03-28 01:59:50' "$program" --at 02:00:05 --arm 2>"$E2E_DIR/err" || status=$?
[[ $status == 2 && $(head -n 1 "$E2E_DIR/err") == '命令行参数错误：“02:00:05”不是有效的日期时间。' ]] ||
    e2e_fail "a skipped time exited with $status and said: $(cat "$E2E_DIR/err")"
# Seven seconds before the end of summer time, the next 02:00:05 is the one in winter time.
E2E_TARGET_MS=$(($(date -d '2027-10-31 02:00:05 +0100' +%s) * 1000))
e2e_start_program "$program" '2027-10-31 02:59:58 +0200' --at 02:00:05 --arm
e2e_check_launch poweroff
e2e_stop_pid "$E2E_PID"

# In a notification area the icon docks; "退出", the last item of its menu, ends the program, and
# the icon goes with it.
e2e_tray
e2e_start_program "$program" "$fake_start"
docked() { xwininfo -root -tree | awk '/"panel"/ { p = 1 } p && /"vorlix-shutdown"/ { print $1 }'; }
e2e_poll 5 test -n "$(docked)" || e2e_fail "no icon in the notification area"
xdotool mousemove --window "$(docked)" 5 5 click 3 sleep 0.5 key Up Return
e2e_poll 5 test -z "$(docked)" || e2e_fail "the icon stayed"
! kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "still running after \"退出\""
echo PASS
