#!/usr/bin/env bash
# The real Windows program under Wine (in the environment of scripts/wine-env.sh), driven by
# helper.cpp, which also stands in for shutdown.exe beside it.
# Usage: run.sh armed_runs|standard_user PROGRAM HELPER
set -euo pipefail
mode=$1 program=$2 helper=$3 root=$(dirname "$0")/../..

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
start() {
    wine "$program" "$@" </dev/null >>program.log 2>&1 &
    pid=$!
}
stop() { { kill "$pid" && wait "$pid"; } 2>/dev/null || true; }
drive() { wine "$helper" window Vorlix定时关机软件2.2 "$@" </dev/null | tr -d '\r'; }

# Past the target second, checks that shutdown.exe ran once with COMMAND in that second or the
# next (Wine is slow to start it), and that the program lives on, its status line saying STATUS.
launched() {
    local line at target_ms
    target_ms=$(($(date -d "$target" +%s) * 1000))
    sleep "$((target_ms + 1500 - $(date +%s%3N)))e-3"
    IFS=$'\t' read -r line at <shutdown-record.txt || true
    [[ $(wc -l <shutdown-record.txt) == 1 && $line == "$1" && $at -ge $target_ms &&
        $at -lt $((target_ms + 2000)) ]] || fail "expected '$1' in the second $target, got: $(cat shutdown-record.txt)"
    kill -0 "$pid" || fail "the program ended: $(cat program.log)"
    drive print | grep -qx -- "$2" || fail "status line: $(drive print)"
    echo "PASS: '$1' at $at; $2"
    stop
    : >shutdown-record.txt
}

# Saves the years START END in the dialog, then checks that the next start lists them.
save_and_restart() {
    local said
    start
    said=$(drive click 参数设置 window 参数设置 fill Edit "$1" "$2" click 确定 window 提示 print click 确定)
    stop
    grep -qx 年份设置修改成功！ <<<"$said" || fail "saving $1 to $2 answered '$said'"
    start
    said=$(drive print)
    stop
    grep -qx "$1..$2" <<<"$said" || fail "saved $1 to $2, the next start lists: $said"
}

if [[ $mode == armed_runs ]]; then
    dir=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-win-e2e.XXXXXX")
    trap 'stop; rm -rf "$dir"' EXIT
    # Windows looks for shutdown.exe in the program's own folder before the system's.
    cp "$program" "$dir/vorlix-shutdown.exe"
    cp "$helper" "$dir/shutdown.exe"
    cd "$dir"
    program=$dir/vorlix-shutdown.exe status=0
    : >shutdown-record.txt
    start --at '2026-02-30 18:30:00' --arm
    said=$(drive print click 确定)
    wait "$pid" || status=$?
    [[ $status == 2 && $said == *'命令行参数错误：“2026-02-30 18:30:00”不是有效的日期时间。'* ]] ||
        fail "a bad date exited with $status and said '$said'"
    # Wine takes a few seconds to start a program.
    target=$(date -d '+8 seconds' '+%Y-%m-%d %H:%M:%S')
    FAKE_SHUTDOWN_EXIT=3 start
    # shellcheck disable=SC2046  # one number a field
    drive fill ComboBox $(date -d "$target" '+%Y %-m %-d %-H %-M %-S') click 重启 click 生效
    [[ $(date '+%Y-%m-%d %H:%M:%S') < $target ]] || fail "armed only after the target $target"
    launched 'shutdown.exe -f -r -t 0' '【重启】命令执行失败！退出码 3'
    target=$(date -d '+8 seconds' '+%Y-%m-%d %H:%M:%S')
    start --at "$target" --arm
    launched 'shutdown.exe -f -s -t 0' '已执行【关机】命令……'
    exit
fi

if ((EUID == 0)); then
    # Root ignores file permissions: run again as a user made for it, from copies it may read.
    user=vorlix-standard-user
    id -u "$user" >/dev/null 2>&1 || useradd --system --create-home --shell /usr/sbin/nologin "$user"
    home=$(getent passwd "$user" | cut -d: -f6)
    mkdir -p "$home/run/tests/windows_e2e" "$home/run/scripts" "$home/run/build"
    cp "$0" "$program" "$helper" "$home/run/tests/windows_e2e"
    cp "$root/scripts/wine-env.sh" "$home/run/scripts"
    [[ -d $home/run/build/locale ]] || cp -r "$LOCPATH" "$home/run/build/locale"
    chown -R "$user:" "$home/run"
    cd "$home"
    exec setpriv --reuid="$user" --regid="$user" --init-groups env HOME="$home" USER="$user" \
        bash run/tests/windows_e2e/run.sh standard_user \
        run/tests/windows_e2e/{"${program##*/}","${helper##*/}"}
fi
# A Wine prefix of the user's own, whose drive_c is read-only but for the steps that set it up.
export VORLIX_WINEPREFIX=$PWD/wineprefix
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
drive_c=$WINEPREFIX/drive_c ini=定时关机参数配置.ini
virtual=$drive_c/users/$(id -un)/AppData/Local/VirtualStore/$ini
# Ending the server also ends a program that a failed step left running.
trap 'vorlix_wine_stop 2>/dev/null; chmod u+w "$drive_c"' EXIT
vorlix_wine_start </dev/null >/dev/null 2>&1
chmod u+w "$drive_c"
rm -f "$drive_c/$ini" "$virtual"
chmod a-w "$drive_c"
save_and_restart 2001 2002
[[ -s $virtual && ! -e $drive_c/$ini ]] || fail "not saved in the VirtualStore alone"
chmod u+w "$drive_c"
rm "$virtual"
: >"$drive_c/$ini"
chmod a-w "$drive_c"
save_and_restart 2003 2004
[[ -s $drive_c/$ini && ! -e $virtual ]] || fail "not saved in C:\\ alone"
echo "PASS: saved and listed at the next start, in the VirtualStore and in C:\\ in place"
