#!/usr/bin/env bash
# The real Windows program under Wine, driven through its windows by the helper (helper.cpp), which
# also stands in for shutdown.exe beside it. Runs inside the environment of scripts/wine-env.sh.
#
#   run.sh armed_runs PROGRAM HELPER: a bad command line is refused in a box with status 2; armed
#     through the window for a restart whose command fails, and by --at and --arm for a shutdown,
#     the program starts the action's exact command once, at the target second, and says how it
#     ended.
#   run.sh standard_user PROGRAM HELPER: where C:\ refuses new files, a year range saved in the
#     dialog goes to the user's VirtualStore, or into the file in C:\ that the user may change, and
#     is listed at the next start.
set -euo pipefail

mode=$1 program=$2 helper=$3
title=Vorlix定时关机软件2.2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the program with ARGS, in the current folder.
start() {
    wine "$program" "$@" </dev/null >>program.log 2>&1 &
    pid=$!
}

# Does the helper's STEPS in the program's main window; prints what it prints.
drive() { wine "$helper" window "$title" "$@" </dev/null | tr -d '\r'; }

stop() {
    { kill "$pid" && wait "$pid"; } 2>/dev/null || true
}

# Waits until 1.5 s past the target second, then checks that shutdown.exe started once, in that
# second or the next, with COMMAND, and that the status line then reads STATUS.
check_launch() {
    local line at target_s
    target_s=$(date -d "$target" +%s)
    sleep "$((target_s * 1000 + 1500 - $(date +%s%3N)))e-3"
    [[ $(wc -l <shutdown-record.txt) == 1 ]] || fail "started: $(cat shutdown-record.txt)"
    IFS=$'\t' read -r line at <shutdown-record.txt
    [[ $line == "$1" ]] || fail "command line '$line', expected '$1'"
    [[ $(($(date -d "${at:0:19}" +%s) - target_s)) == [01] ]] ||
        fail "started at $at, not in the target second $target"
    kill -0 "$pid" || fail "the program ended: $(cat program.log)"
    drive print | grep -qx -- "$2" || fail "status line: $(drive print)"
    echo "PASS: '$1' at $at; $2"
}

armed_runs() {
    dir=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-win-e2e.XXXXXX")
    trap 'stop; rm -rf "$dir"' EXIT
    cd "$dir"
    # Windows looks for shutdown.exe in the program's own folder before the system's.
    cp "$program" "$dir/vorlix-shutdown.exe"
    cp "$helper" "$dir/shutdown.exe"
    program=$dir/vorlix-shutdown.exe
    : >shutdown-record.txt

    local said status=0
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
    check_launch 'shutdown.exe -f -r -t 0' '【重启】命令执行失败！退出码 3'
    stop

    : >shutdown-record.txt
    target=$(date -d '+8 seconds' '+%Y-%m-%d %H:%M:%S')
    start --at "$target" --arm
    check_launch 'shutdown.exe -f -s -t 0' '已执行【关机】命令……'
}

standard_user() {
    if ((EUID == 0)); then
        # Unix permissions do not stop root, so the test runs again as a system user made for it,
        # from copies that user may read, in its home.
        local user=vorlix-standard-user home
        id -u "$user" >/dev/null 2>&1 ||
            useradd --system --create-home --shell /usr/sbin/nologin "$user"
        home=$(getent passwd "$user" | cut -d: -f6)
        mkdir -p "$home/run"
        cp "$0" "$program" "$helper" "$home/run"
        [[ -d $home/locale/zh_CN.UTF-8 ]] || cp -r "$LOCPATH" "$home/locale"
        chown -R "$user:" "$home/run" "$home/locale"
        cd "$home"
        exec setpriv --reuid="$user" --regid="$user" --init-groups \
            env HOME="$home" USER="$user" LOCPATH="$home/locale" bash "run/${0##*/}" standard_user \
            "$home/run/${program##*/}" "$home/run/${helper##*/}"
    fi
    # A Wine prefix of the user's own, in the current folder, whose drive_c is read-only meanwhile.
    export WINEPREFIX=$PWD/wineprefix
    drive_c=$WINEPREFIX/drive_c
    local ini=定时关机参数配置.ini virtual
    virtual=$drive_c/users/$(id -un)/AppData/Local/VirtualStore/$ini
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /d no-debugger.exe /f </dev/null >/dev/null 2>&1
        wineserver -w
    fi
    # Ending the server also ends a program that a failed step left running.
    trap 'wineserver -k 2>/dev/null; chmod u+w "$drive_c"' EXIT
    # As in wine-env.sh: a server started first keeps Wine's background processes off CTest's pipes.
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1

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
}

# Saves START END in the year dialog, then checks the year list at the next start.
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

"$mode"
