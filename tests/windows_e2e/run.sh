#!/usr/bin/env bash
# Usage: run.sh armed_runs PROGRAM HELPER WINEPREFIX, a prefix that shows its windows on an X
# server of the test's own; or, in the environment of scripts/wine-env.sh, run.sh standard_user
# PROGRAM HELPER.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
source "$(dirname "$0")/../e2e/lib.sh"
mode=$1 program=$2 helper=$3 root=$(dirname "$0")/../..

start() { wine "$program" "$@" </dev/null >>program.log 2>&1 & E2E_PID=$!; }
drive() { wine "$helper" window Vorlix定时关机软件2.2 "$@" </dev/null | tr -d '\r'; }
session() { start; said=$(drive "$@"); e2e_stop_pid "$E2E_PID"; }

launched() {
    e2e_check_launch "$1"
    drive print | grep -qx -- "$2" || e2e_fail "status line: $(drive print)"
    e2e_stop_pid "$E2E_PID"
}

# START END SAVED NOT_SAVED: the years saved with C:\ read-only are in SAVED alone and listed next.
save_and_restart() {
    chmod a-w "$drive_c"
    session click 参数设置 window 参数设置 fill Edit "$1" "$2" click 确定 window 提示 print click 确定
    chmod u+w "$drive_c"
    grep -qx 年份设置修改成功！ <<<"$said" || e2e_fail "saving $1 to $2 answered '$said'"
    [[ -s $3 && ! -e $4 ]] || e2e_fail "$1 to $2 not saved in $3 alone"
    session print
    grep -qx "$1..$2" <<<"$said" || e2e_fail "saved $1 to $2, the next start lists: $said"
}

if [[ $mode == armed_runs ]]; then
    # Drawn for real, where no window manager answers: closing the warning waits on one there.
    e2e_init
    # shellcheck source=scripts/wine-env.sh
    VORLIX_WINEPREFIX=$4 source "$root/scripts/wine-env.sh" >/dev/null
    vorlix_wine_x11
    trap 'vorlix_wine_stop; e2e_cleanup' EXIT
    vorlix_wine_start
    E2E_OFFSET_MS=0 status=0
    cd "$E2E_DIR"
    # Windows looks for shutdown.exe in the program's own folder before the system's.
    cp "$(dirname "$helper")/fake_shutdown.exe" shutdown.exe
    cp "$program" vorlix-shutdown.exe
    program=$E2E_DIR/vorlix-shutdown.exe E2E_RECORD=$E2E_DIR/shutdown-record.txt
    start --at '2026-02-30 18:30:00' --arm
    said=$(drive print click 确定)
    wait "$E2E_PID" || status=$?
    [[ $status == 2 && $said == *'命令行参数错误：“2026-02-30 18:30:00”不是有效的日期时间。'* ]] ||
        e2e_fail "a bad date exited with $status and said '$said'"
    # On a desktop whose display is not there no box can be shown: help and errors then end with
    # status 1, and go to standard error.
    for case in '--help|用法：vorlix-shutdown' '--at bad|命令行参数错误：“bad”不是有效的日期时间。'; do
        env -u DISPLAY wine explorer /desktop=vorlix-no-display,640x480,x11 "$helper" run \
            "vorlix-shutdown.exe ${case%|*}" </dev/null >said.txt 2>&1
        e2e_poll 20 grep -q '^exit' said.txt || true
        said=$(tr -d '\r' <said.txt)
        [[ $said == 无法显示以下消息：$'\n\n'"${case#*|}"*$'\nexit 1' ]] ||
            e2e_fail "${case%|*} with no box said '$said'"
    done
    start --version
    said=$(drive print click 确定)
    wait "$E2E_PID" || e2e_fail "--version exited with $?"
    [[ $said == *'vorlix-shutdown (Vorlix定时关机软件) '[0-9]* ]] || e2e_fail "--version said '$said'"
    # Both runs armed less than a minute ahead, so that the warning is open at the target second.
    e2e_target_in 8
    FAKE_SHUTDOWN_EXIT=3 start
    # shellcheck disable=SC2046  # one number a field
    drive fill ComboBox $(date -d "@$((E2E_TARGET_MS / 1000))" '+%Y %-m %-d %-H %-M %-S') \
        click 重启 click 生效
    (($(date +%s%3N) < E2E_TARGET_MS)) || e2e_fail "armed only after the target"
    launched 'shutdown.exe -f -r -t 0' '【重启】命令执行失败！退出码 3'
    e2e_target_in 8
    start --at "$(date -d "@$((E2E_TARGET_MS / 1000))" '+%Y-%m-%d %H:%M:%S')" --arm
    launched 'shutdown.exe -f -s -t 0' '已执行【关机】命令……'
    # "推迟10分钟" in the warning five seconds before the target: nothing then, the launch ten
    # minutes later, over which the program's clock jumps (faked for it and what it starts).
    e2e_jump 0
    e2e_target_in 70
    LD_PRELOAD="$(echo /usr/lib/*/faketime/libfaketime.so.1)" FAKETIME_CACHE_DURATION=1 \
        FAKETIME_TIMESTAMP_FILE=$E2E_DIR/faketime FAKETIME_DONT_FAKE_MONOTONIC=1 start
    # shellcheck disable=SC2046  # one number a field
    drive fill ComboBox $(date -d "@$((E2E_TARGET_MS / 1000))" '+%Y %-m %-d %-H %-M %-S') \
        click 生效
    e2e_jump $(((E2E_TARGET_MS - $(e2e_fake_now_ms)) / 1000 - 5))
    drive window 定时关机提醒 click 推迟10分钟
    (($(e2e_fake_now_ms) < E2E_TARGET_MS)) || e2e_fail "postponed too late; too slow a machine"
    sleep "$((E2E_TARGET_MS + 1500 - $(e2e_fake_now_ms)))e-3"
    [[ ! -s $E2E_RECORD ]] || e2e_fail "ran at the first target: $(cat "$E2E_RECORD")"
    E2E_TARGET_MS=$((E2E_TARGET_MS + 600000))
    e2e_jump $(((E2E_TARGET_MS - $(e2e_fake_now_ms)) / 1000 - 4))
    launched 'shutdown.exe -f -s -t 0' '已执行【关机】命令……'
    exit
fi

if ((EUID == 0)); then
    # Root ignores file permissions: run again as a user made for it, from copies it may read.
    user=vorlix-standard-user
    id -u "$user" >/dev/null 2>&1 ||
        useradd --system --create-home --shell /usr/sbin/nologin "$user"
    home=$(getent passwd "$user" | cut -d: -f6)
    mkdir -p "$home/run"
    cp -r "$root/tests" "$root/scripts" "$program" "$helper" "$home/run"
    chown -R "$user:" "$home/run"
    cd "$home"
    exec setpriv --reuid="$user" --regid="$user" --init-groups env HOME="$home" USER="$user" \
        bash run/tests/windows_e2e/run.sh standard_user run/{"${program##*/}","${helper##*/}"}
fi
export VORLIX_WINEPREFIX=$PWD/wineprefix # of the user's own
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
drive_c=$WINEPREFIX/drive_c ini=定时关机参数配置.ini
virtual=$drive_c/users/$(id -un)/AppData/Local/VirtualStore/$ini
# Ending the server also ends a program that a failed step left running.
trap 'vorlix_wine_stop 2>/dev/null; chmod u+w "$drive_c"' EXIT
vorlix_wine_start </dev/null >/dev/null 2>&1
rm -f "$drive_c/$ini" "$virtual"
save_and_restart 2001 2002 "$virtual" "$drive_c/$ini"
rm "$virtual"
: >"$drive_c/$ini"
save_and_restart 2003 2004 "$drive_c/$ini" "$virtual"
echo "PASS: saved and listed at the next start, in the VirtualStore and in C:\\ in place"
