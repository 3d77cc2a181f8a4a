#!/usr/bin/env bash
# The real Windows program under Wine, armed a few seconds ahead through its window, with a
# recording shutdown.exe beside it: the command must start once, at the target second, with the
# action's exact command line, and the status line must tell how it ended. Runs inside the
# environment of scripts/wine-env.sh.
#
# Usage: armed_run.sh PROGRAM FAKE_SHUTDOWN UI_DRIVER shutdown|restart [EXIT_CODE [commandline]]
#   EXIT_CODE: what the recording shutdown.exe exits with, 0 unless given.
#   commandline: armed by starting it with --at and --arm instead, after checking that a bad
#   command line is refused in a box with status 2.
set -euo pipefail

program=$1 fake=$2 driver=$3 action=$4 exit_code=${5:-0} arming=${6:-window}
case $action in
    shutdown) expected='shutdown.exe -f -s -t 0' ;;
    restart) expected='shutdown.exe -f -r -t 0' ;;
    *) echo "usage: $0 PROGRAM FAKE_SHUTDOWN UI_DRIVER shutdown|restart" >&2 && exit 2 ;;
esac

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

dir=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-win-e2e.XXXXXX")
pid=
cleanup() {
    if [[ -n $pid ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$dir"
}
trap cleanup EXIT

cp "$program" "$dir/vorlix-shutdown.exe"
cp "$fake" "$dir/shutdown.exe"
record=$dir/shutdown-record.txt
if ((exit_code != 0)); then
    echo "$exit_code" >"$dir/shutdown-exit-code.txt"
fi
# Windows runs the shutdown.exe in the program's own folder before the system's: it must be the
# recording one, and nothing may have run yet.
cmp -s "$dir/shutdown.exe" "$fake" || fail "no recording shutdown.exe beside the program"
[[ ! -e $record ]] || fail "a record exists before the program ran"

cd "$dir"
lead=5
args=()
if [[ $arming == commandline ]]; then
    wine ./vorlix-shutdown.exe --at '2026-02-30 18:30:00' --arm </dev/null >/dev/null 2>&1 &
    pid=$!
    said=$(wine "$driver" box </dev/null | tr -d '\r' | head -n 1)
    status=0
    wait "$pid" || status=$?
    pid=
    [[ $said == '命令行参数错误：“2026-02-30 18:30:00”不是有效的日期时间。' && $status == 2 ]] ||
        fail "a bad date said '$said' and exited with $status"
    # Wine takes a few seconds to start a program.
    lead=8
    target=$(date -d "+$lead seconds" '+%Y-%m-%d %H:%M:%S')
    args=(--at "$target" --arm)
    [[ $action == shutdown ]] || args+=(--restart)
fi
wine ./vorlix-shutdown.exe "${args[@]}" </dev/null >"$dir/program.log" 2>&1 &
pid=$!

if [[ $arming == window ]]; then
    target=$(wine "$driver" "$action" "$lead" </dev/null | tr -d '\r')
fi
[[ $target =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] ||
    fail "the program could not be armed: '$target'"
echo "armed for $target ($action)"

for ((i = 0; i < (lead + 10) * 10; i++)); do
    [[ -s $record ]] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$dir/program.log")"
    sleep 0.1
done
[[ -s $record ]] || fail "shutdown.exe never started"
# Once means once: a second start would show within the next ticks.
sleep 2.5

mapfile -t lines <"$record"
((${#lines[@]} == 1)) || fail "shutdown.exe started ${#lines[@]} times: ${lines[*]}"
IFS=$'\t' read -r command stamp <<<"${lines[0]}"
[[ $command == "$expected" ]] || fail "command line '$command', expected '$expected'"
[[ ! ${stamp:0:19} < $target ]] || fail "started at $stamp, before the target $target"
late=$(($(date -d "${stamp:0:19}" +%s) - $(date -d "$target" +%s)))
((late <= 1)) || fail "started at $stamp, ${late} s after the target $target"
kill -0 "$pid" 2>/dev/null || fail "the program ended after starting shutdown.exe"

status=$(wine "$driver" status </dev/null | tr -d '\r')
if ((exit_code == 0)); then
    [[ $status != *失败* ]] || fail "status line after a successful command: '$status'"
else
    [[ $status == *"命令执行失败！退出码 $exit_code" ]] ||
        fail "status line after exit code $exit_code: '$status'"
fi
echo "status line: $status"
echo "PASS: '$command' at $stamp"
