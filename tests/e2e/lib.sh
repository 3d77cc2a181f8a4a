# shellcheck shell=bash disable=SC2034  # the E2E_ variables set here are read by the caller
# Shared by the end-to-end tests and the benchmark, sourced by a bash script running with
# `set -euo pipefail` that calls e2e_init first: a private X server, a systemctl first on PATH that
# only records how it was called, a stand-in for systemd-logind, the program under a faked clock.
#
# The clock is faked by libfaketime with a fixed offset that the program hands down to every
# command it starts, so the recording systemctl writes the faked time at which it ran.

# China Standard Time as a POSIX rule, so that it needs no time zone database. A local time that is
# not UTC shows up a clock read as UTC.
export TZ='CST-8'

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_now_ns() { date +%s%N; }

# Runs COMMAND every 20 ms until it succeeds, for up to SECONDS; false when it never does.
e2e_poll() {
    local end=$((SECONDS + $1))
    until "${@:2}" 2>/dev/null; do
        ((SECONDS < end)) || return 1
        sleep 0.02
    done
}

# Makes the scratch folder and arranges for everything started here to be stopped on exit;
# E2E_KEEP=1 keeps the folder.
e2e_init() {
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-e2e.XXXXXX")
    E2E_HELPERS=()
    E2E_PID=
    mkdir -m 700 "$E2E_DIR/runtime"
    # Any command failing unexpectedly says where, rather than ending the script without a word.
    set -E
    trap 'echo "FAIL: unexpected error at ${BASH_SOURCE[0]}:$LINENO: $BASH_COMMAND" >&2' ERR
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM HUP
}

e2e_cleanup() {
    e2e_stop_program
    e2e_stop "${E2E_HELPERS[@]}"
    [[ ${E2E_KEEP:-} ]] || rm -rf "$E2E_DIR"
}

e2e_stop() {
    (($#)) || return 0
    kill "$@" 2>/dev/null || true
    wait "$@" 2>/dev/null || true
}

e2e_stop_program() {
    e2e_stop ${E2E_PID:+"$E2E_PID"}
    E2E_PID=
}

e2e_log() { tail -n 20 "$E2E_DIR/program.log"; }

# A systemctl first on PATH that appends "ARGS<TAB>SECONDS.NANOSECONDS" to $E2E_RECORD and exits
# with the number in $E2E_DIR/systemctl.exit, 0 when there is none. The machine's own systemctl
# would really shut it down, so nothing starts unless the fake is the one found.
e2e_fake_systemctl() {
    mkdir -p "$E2E_DIR/bin"
    E2E_RECORD=$E2E_DIR/systemctl.calls
    : >"$E2E_RECORD"
    cat >"$E2E_DIR/bin/systemctl" <<EOF
#!/bin/sh
printf '%s\t%s\n' "\$*" "\$(date +%s.%N)" >>'$E2E_RECORD'
exit "\$(cat '$E2E_DIR/systemctl.exit' 2>/dev/null || echo 0)"
EOF
    chmod +x "$E2E_DIR/bin/systemctl"
    export PATH="$E2E_DIR/bin:$PATH"
    [[ $(command -v systemctl) == "$E2E_DIR/bin/systemctl" ]] ||
        e2e_fail "systemctl is not the fake; refusing to start anything"
}

# An Xvfb of our own; DISPLAY then points at it. The server picks a free display itself and
# names it once it accepts connections, so no other script's server can be mistaken for ours.
e2e_start_xvfb() {
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$E2E_DIR/display" \
        >"$E2E_DIR/xvfb.log" 2>&1 &
    E2E_HELPERS+=($!)
    e2e_poll 10 test -s "$E2E_DIR/display" || e2e_fail "no Xvfb: $(cat "$E2E_DIR/xvfb.log")"
    DISPLAY=:$(tr -d '\n' <"$E2E_DIR/display")
    export DISPLAY
    unset XAUTHORITY
}

# A private bus standing in for the system bus, with FAKE_LOGIN1 serving as systemd-logind on it;
# DBUS_SYSTEM_BUS_ADDRESS then points the program there, so it never asks the machine's own logind.
# The stand-in writes its requests and the number of locks held to $E2E_LOGIN1_LOG.
e2e_fake_logind() {
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$E2E_DIR/bus" \
        >"$E2E_DIR/bus.log" 2>&1 &
    E2E_HELPERS+=($!)
    e2e_poll 10 test -s "$E2E_DIR/bus" || e2e_fail "no private bus: $(cat "$E2E_DIR/bus.log")"
    DBUS_SYSTEM_BUS_ADDRESS=$(head -n 1 "$E2E_DIR/bus")
    export DBUS_SYSTEM_BUS_ADDRESS
    E2E_LOGIN1_LOG=$E2E_DIR/login1.log
    "$1" "$DBUS_SYSTEM_BUS_ADDRESS" "$E2E_LOGIN1_LOG" >>"$E2E_DIR/bus.log" 2>&1 &
    E2E_HELPERS+=($!)
    e2e_poll 10 grep -qx ready "$E2E_LOGIN1_LOG" ||
        e2e_fail "the stand-in for logind did not start: $(cat "$E2E_DIR/bus.log")"
}

e2e_locks_held() { [[ $(grep '^held ' "$E2E_LOGIN1_LOG" | tail -n 1) == "held $1" ]]; }

# Waits up to a second for the stand-in for logind to see COUNT locks held.
e2e_wait_locks() {
    e2e_poll 1 e2e_locks_held "$1" ||
        e2e_fail "expected $1 sleep locks held; logind saw: $(tr '\n' ';' <"$E2E_LOGIN1_LOG")"
}

# Starts PROGRAM [ARGS...] on our X server with its clock set to FAKE_START (local time) and
# running on from there, and waits until its main window has the keyboard. Sets E2E_PID,
# E2E_OFFSET_S (faked minus real clock), E2E_WINDOW and E2E_SHOWN_NS (from start to window).
e2e_start_program() {
    local program=$1 fake_start=$2 started
    E2E_OFFSET_S=$(($(date -d "$fake_start" +%s) - $(date +%s)))
    started=$(e2e_now_ns)
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS \
        QT_ENABLE_HIGHDPI_SCALING=0 LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$E2E_DIR/config" \
        XDG_RUNTIME_DIR="$E2E_DIR/runtime" FAKETIME="$(printf '%+d' "$E2E_OFFSET_S")" \
        LD_PRELOAD="$(echo /usr/lib/*/faketime/libfaketime.so.1)" \
        "$program" "${@:3}" >>"$E2E_DIR/program.log" 2>&1 &
    E2E_PID=$!
    e2e_poll 10 e2e_find_window '^Vorlix定时关机软件' ||
        e2e_fail "the main window did not show: $(e2e_log)"
    E2E_SHOWN_NS=$(($(e2e_now_ns) - started))
    # With no window manager nothing gives the window the keyboard, and keys typed before the
    # program has seen it are lost.
    timeout 5 xdotool windowfocus --sync "$E2E_WINDOW" || e2e_fail "the window took no keys"
}

# Sets E2E_WINDOW to a shown window whose title matches PATTERN.
e2e_find_window() {
    E2E_WINDOW=$(xdotool search --onlyvisible --name "$1" | head -n 1)
    [[ -n $E2E_WINDOW ]]
}

# The program's clock now, in nanoseconds since the epoch.
e2e_fake_now_ns() { echo $(($(e2e_now_ns) + E2E_OFFSET_S * 1000000000)); }

# Arms the program for ACTION ("poweroff" or "reboot") at LEAD_S whole seconds after its clock's
# present second, with the keys alone: the focus starts on "同步时间", and Tab visits the checked
# action, "生效", "重置", "退出" and the six target lists; the arrow key picks the other action.
# Sets E2E_TARGET_S; fails when arming ended less than a second before it.
e2e_arm() {
    local keys=(Tab) value i
    E2E_TARGET_S=$(($(e2e_fake_now_ns) / 1000000000 + $2))
    [[ $1 == poweroff ]] || keys+=(Down)
    keys+=(Tab Tab Tab)
    for value in $(date -d "@$E2E_TARGET_S" '+%Y %-m %-d %-H %-M %-S'); do
        keys+=(Tab ctrl+a)
        # Digits are their own key names.
        for ((i = 0; i < ${#value}; i++)); do keys+=("${value:i:1}"); done
    done
    keys+=(shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return)
    xdotool key --clearmodifiers --delay 5 "${keys[@]}"
    local ahead_ms=$(((E2E_TARGET_S * 1000000000 - $(e2e_fake_now_ns)) / 1000000))
    ((ahead_ms >= 1000)) || e2e_fail "armed only $ahead_ms ms before the target; too slow a machine"
}

# Sleeps until MS milliseconds after the target second on the program's clock.
e2e_wait_past_target() {
    local ns=$((E2E_TARGET_S * 1000000000 + $1 * 1000000 - $(e2e_fake_now_ns)))
    ((ns <= 0)) || sleep "$((ns / 1000))e-6"
}

# Checks that the program still runs and ran systemctl exactly once, with exactly ACTION; sets
# E2E_DELAY_NS to how long after the target second it ran.
e2e_check_launch() {
    local args stamp
    kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program is gone: $(e2e_log)"
    [[ $(wc -l <"$E2E_RECORD") == 1 ]] ||
        e2e_fail "expected one systemctl call, got: $(tr '\t\n' ' ;' <"$E2E_RECORD")"
    IFS=$'\t' read -r args stamp <"$E2E_RECORD"
    [[ $args == "$1" ]] || e2e_fail "systemctl was called with '$args', expected '$1'"
    E2E_DELAY_NS=$((${stamp/./} - E2E_TARGET_S * 1000000000))
}

# Nanoseconds as milliseconds with three decimals.
e2e_ms() { printf '%s%d.%03d' "${1%%[0-9]*}" $((${1#-} / 1000000)) $((${1#-} / 1000 % 1000)); }
