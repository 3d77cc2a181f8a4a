#!/usr/bin/env bash
# The real Windows program as a standard Windows user meets it: C:\ refuses new files but a file
# there that the user may change can be changed. A range saved in the year dialog must be listed at
# the next start, with no settings file at first (it goes to the user's VirtualStore) and with one
# in C:\ (changed in place). Unix permissions do not stop root, so as root the program runs as a
# system user made for it, else as the caller; in a Wine prefix of that user's own whose drive_c is
# read-only meanwhile. Runs inside the environment of scripts/wine-env.sh.
#
# Usage: standard_user.sh PROGRAM UI_DRIVER
set -euo pipefail

program=$1 driver=$2
ini=定时关机参数配置.ini

fail() { echo "FAIL: $*" >&2 && exit 1; }

if ((EUID == 0)); then
    user=vorlix-standard-user
    id -u "$user" >/dev/null 2>&1 ||
        useradd --system --create-home --shell /usr/sbin/nologin "$user"
    home=$(getent passwd "$user" | cut -d: -f6)
    as_user() { runuser -u "$user" -- env HOME="$home" "$@"; }
else
    user=$(id -un)
    home=$PWD/standard-user
    as_user() { "$@"; }
fi
prefix=$home/wineprefix
drive_c=$prefix/drive_c
run=$home/run
virtual=$drive_c/users/$user/AppData/Local/VirtualStore/$ini

mkdir -p "$run"
cp "$program" "$run/vorlix-shutdown.exe" && cp "$driver" "$run/ui_driver.exe"
[[ -d $home/locale/zh_CN.UTF-8 ]] || cp -r "$LOCPATH" "$home/locale"
((EUID != 0)) || chown -R "$user:" "$run" "$home/locale"
uwine() {
    as_user env WINEPREFIX="$prefix" LOCPATH="$home/locale" WINEDLLOVERRIDES="$WINEDLLOVERRIDES" \
        WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
}

if [[ ! -f $prefix/system.reg ]]; then
    echo "Creating the Wine prefix $prefix"
    uwine wineboot -i </dev/null >/dev/null 2>&1
    uwine wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    uwine wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /d no-debugger.exe /f </dev/null >/dev/null 2>&1
    uwine wineserver -w
fi

# Ending the server also ends a program that a failed step left running.
trap 'uwine wineserver -k 2>/dev/null; chmod u+w "$drive_c"' EXIT
# As in wine-env.sh: a server started first keeps Wine's background processes off CTest's pipes.
uwine wineserver -p </dev/null >/dev/null 2>&1
uwine wine wineboot </dev/null >/dev/null 2>&1
cd "$run"
: >program.log

# Starts the program, lets the driver do one thing in its window and ends the program.
session() {
    uwine wine ./vorlix-shutdown.exe </dev/null >>program.log 2>&1 &
    local pid=$!
    uwine wine ./ui_driver.exe "$@" </dev/null | tr -d '\r' || fail "ui_driver $*: $(cat program.log)"
    { kill "$pid" && wait "$pid"; } 2>/dev/null || true
}

# Saves START END in the dialog, then starts the program again and checks its year list.
save_and_restart() {
    local answer listed
    answer=$(session years "$1" "$2")
    [[ $answer == 年份设置修改成功！ ]] || fail "saving $1 to $2 answered '$answer'"
    listed=$(session yearlist)
    [[ $listed == "$1 $2" ]] || fail "saved $1 to $2, the next start lists '$listed'"
}

gbk_range() {
    printf '[参数设置]\r\n开始年份=%s\r\n结束年份=%s\r\n' "$1" "$2" | iconv -f UTF-8 -t GBK
}

chmod u+w "$drive_c"
rm -f "$drive_c/$ini" "$virtual"
chmod a-w "$drive_c"
save_and_restart 2001 2002
[[ ! -e $drive_c/$ini ]] || fail "a file was created in C:\\ although it refuses new files"
gbk_range 2001 2002 | cmp -s - "$virtual" || fail "the per-user file does not hold the range"

chmod u+w "$drive_c"
rm -f "$virtual"
gbk_range 2000 2099 >"$drive_c/$ini"
((EUID != 0)) || chown "$user:" "$drive_c/$ini"
chmod a-w "$drive_c"
save_and_restart 2003 2004
[[ ! -e $virtual ]] || fail "a per-user copy was made although the file in C:\\ may be changed"
gbk_range 2003 2004 | cmp -s - "$drive_c/$ini" || fail "the file in C:\\ does not hold the range"
echo "PASS: saved and listed at the next start, in the VirtualStore and in C:\\ in place"
