#!/usr/bin/env bash
# The whole program as a user drives it: on a private X server and a faked clock, type a target a
# few seconds ahead into the six boxes, pick the action, press 生效, and check that systemctl (a
# fake that only records) is run exactly once, with exactly that action, within half a second
# after the target second; and that the program holds a sleep inhibitor lock of a stand-in for
# systemd-logind from arming until the launch, and none before or after.
#
# Usage: armed_run.sh PROGRAM poweroff|reboot FAKE_LOGIN1
# Environment: E2E_FAKE_START (local time the clock starts at), E2E_KEEP=1 keeps the scratch folder.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$here/lib.sh"

[[ $# -eq 3 ]] || e2e_fail "usage: $0 PROGRAM poweroff|reboot FAKE_LOGIN1"
program=$1
action=$2
fake_login1=$3
[[ $action == poweroff || $action == reboot ]] || e2e_fail "unknown action '$action'"
[[ -x $program ]] || e2e_fail "no program at '$program'"

# Six seconds before a new year: the target then lies in the next year, and each of its six fields
# differs from the clock's at the start.
fake_start=${E2E_FAKE_START:-2026-12-31 23:59:54}
# Long enough to type six boxes on a loaded machine, short enough to keep the test quick.
lead_s=7

form_source=$here/../../mainwindow/form1_table.cpp
[[ -f $form_source ]] && e2e_check_layout "$form_source"

e2e_init
e2e_fake_systemctl
e2e_fake_logind "$fake_login1"
e2e_start_xvfb
e2e_start_program "$program" "$fake_start"
e2e_wait_window 10
e2e_wait_locks 0 200
e2e_arm "$action" "$lead_s"
e2e_wait_locks 1 1000
# Waiting on past the target also shows up a second call.
e2e_wait_past_target 2500
e2e_read_launch "$action"
e2e_wait_locks 0 200
requests=$(grep '^inhibit ' "$E2E_LOGIN1_LOG")
[[ $requests == "inhibit sleep:idle|Vorlix定时关机软件|定时关机执行中|block" ]] ||
    e2e_fail "expected one request for a sleep lock, logind saw: $requests"
target=$(e2e_local "$E2E_TARGET_S")
late=$(e2e_ms "$E2E_DELAY_NS")
((E2E_DELAY_NS >= 0)) || e2e_fail "systemctl ran $(e2e_ms $((-E2E_DELAY_NS))) ms before $target"
((E2E_DELAY_NS < 500000000)) || e2e_fail "systemctl ran $late ms after $target, not within 500 ms"

echo "PASS: $action on $DISPLAY: window after $(e2e_ms "$E2E_SHOWN_NS") ms," \
    "armed $E2E_ARMED_AHEAD_MS ms before $target, systemctl $action $late ms after it," \
    "sleep lock held in between"
