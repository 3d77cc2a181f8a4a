# shellcheck shell=bash disable=SC2034  # the E2E_ variables set here are read by the caller
# Shared by the end-to-end and pixel tests and the benchmark, sourced by a bash script running with
# `set -euo pipefail` that calls e2e_init first: a private X server, a systemctl first on PATH that
# only records how it was called, a stand-in for systemd-logind, the program under a faked clock.
# Times are in milliseconds since the epoch.

# China Standard Time as a POSIX rule, so that it needs no time zone database. A local time that is
# not UTC shows up a clock read as UTC.
export TZ='CST-8'

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs COMMAND every 20 ms until it succeeds, for up to SECONDS; false when it never does.
e2e_poll() {
    local end=$((${EPOCHREALTIME/./} + $1 * 1000000))
    until "${@:2}" 2>/dev/null; do
        ((${EPOCHREALTIME/./} < end)) || return 1
        sleep 0.02
    done
}

# Makes the scratch folder and has everything started here stopped on exit; E2E_KEEP=1 keeps the
# folder. A command failing unexpectedly says where, rather than ending the script without a word.
e2e_init() {
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-e2e.XXXXXX")
    E2E_PID=
    mkdir -m 700 "$E2E_DIR/runtime"
    set -E
    trap 'echo "FAIL: unexpected error at ${BASH_SOURCE[0]}:$LINENO: $BASH_COMMAND" >&2' ERR
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM HUP
}

e2e_cleanup() {
    local jobs
    jobs=$(jobs -p)
    # shellcheck disable=SC2086  # one process id a word
    [[ -z $jobs ]] || kill $jobs 2>/dev/null || true
    wait
    [[ ${E2E_KEEP:-} ]] || rm -rf "$E2E_DIR"
}

e2e_stop_program() {
    { kill "$E2E_PID" && wait "$E2E_PID"; } 2>/dev/null || true
    E2E_PID=
}

# Starts COMMAND in the background, which names what it serves on its descriptor 3, and waits until
# it has; that goes to the file NAME in the scratch folder, its output to NAME.log.
e2e_serve() {
    "${@:2}" 3>"$E2E_DIR/$1" >"$E2E_DIR/$1.log" 2>&1 &
    e2e_poll 10 test -s "$E2E_DIR/$1" || e2e_fail "no $1: $(cat "$E2E_DIR/$1.log")"
}

# An Xvfb of our own that picks a free display itself, so that no other server is taken for it.
# It must not reset when its last client leaves: a program connecting meanwhile is turned away.
e2e_start_xvfb() {
    e2e_serve display Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24
    DISPLAY=:$(<"$E2E_DIR/display")
    export DISPLAY
    unset XAUTHORITY
}

# A systemctl first on PATH that appends "ARGS<TAB>TIME" to $E2E_RECORD and exits with
# $SYSTEMCTL_EXIT, 0 when that is not set. The machine's own systemctl would really shut it down,
# so nothing starts unless the fake is the one found.
e2e_fake_systemctl() {
    mkdir "$E2E_DIR/bin"
    E2E_RECORD=$E2E_DIR/systemctl.calls
    : >"$E2E_RECORD"
    cat >"$E2E_DIR/bin/systemctl" <<EOF
#!/bin/sh
printf '%s\t%s\n' "\$*" "\$(date +%s%3N)" >>'$E2E_RECORD'
exit "\${SYSTEMCTL_EXIT:-0}"
EOF
    chmod +x "$E2E_DIR/bin/systemctl"
    export PATH="$E2E_DIR/bin:$PATH"
    [[ $(command -v systemctl) == "$E2E_DIR/bin/systemctl" ]] ||
        e2e_fail "systemctl is not the fake; refusing to start anything"
}

# A private bus standing in for the system bus, with FAKE_LOGIN1 serving as systemd-logind on it,
# so that the program never asks the machine's own logind.
e2e_fake_logind() {
    e2e_serve bus dbus-daemon --session --nofork --nopidfile --print-address=3
    DBUS_SYSTEM_BUS_ADDRESS=$(head -n 1 "$E2E_DIR/bus")
    export DBUS_SYSTEM_BUS_ADDRESS
    e2e_serve login1 "$1" "$DBUS_SYSTEM_BUS_ADDRESS" /dev/fd/3
}

e2e_locks_held() { [[ $(tail -n 1 "$E2E_DIR/login1") == "held $1" ]]; }

# Waits up to a second for the stand-in for logind to see COUNT sleep locks held.
e2e_wait_locks() {
    e2e_poll 1 e2e_locks_held "$1" ||
        e2e_fail "expected $1 sleep locks held; logind saw: $(tr '\n' ';' <"$E2E_DIR/login1")"
}

# Sets E2E_WINDOW to a shown window whose title matches PATTERN.
e2e_find_window() {
    E2E_WINDOW=$(xdotool search --onlyvisible --name "$1" | head -n 1)
    [[ -n $E2E_WINDOW ]]
}

# Starts PROGRAM [ARGS...] with its clock set to FAKE_START (local time) and running on from there,
# through libfaketime, which the program hands down to what it starts; waits until its main window
# has the keyboard. Sets E2E_PID, E2E_OFFSET_MS (faked minus real clock), E2E_WINDOW and
# E2E_SHOWN_MS (from start to window).
e2e_start_program() {
    local started
    started=$(date +%s%3N)
    E2E_OFFSET_MS=$((($(date -d "$2" +%s) - started / 1000) * 1000))
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS \
        QT_ENABLE_HIGHDPI_SCALING=0 LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$E2E_DIR/config" \
        XDG_RUNTIME_DIR="$E2E_DIR/runtime" FAKETIME="$(printf '%+d' $((E2E_OFFSET_MS / 1000)))" \
        LD_PRELOAD="$(echo /usr/lib/*/faketime/libfaketime.so.1)" \
        "$1" "${@:3}" >>"$E2E_DIR/program.log" 2>&1 &
    E2E_PID=$!
    e2e_poll 10 e2e_find_window '^Vorlix定时关机软件' ||
        e2e_fail "no main window: $(tail "$E2E_DIR/program.log")"
    E2E_SHOWN_MS=$(($(date +%s%3N) - started))
    # With no window manager nothing gives the window the keyboard, and keys typed before the
    # program has seen it are lost.
    timeout 5 xdotool windowfocus --sync "$E2E_WINDOW" || e2e_fail "the window took no keys"
}

e2e_fake_now_ms() { echo $(($(date +%s%3N) + E2E_OFFSET_MS)); }

# Arms the program for ACTION ("poweroff" or "reboot") at LEAD_S whole seconds after its clock's
# present second, with the keys alone: the focus starts on "同步时间", and Tab visits the checked
# action, "生效", "重置", "退出" and the six target lists; the arrow key picks the other action.
# Sets E2E_TARGET_MS; fails when arming ended less than a second before it.
e2e_arm() {
    local keys=(Tab) value i
    E2E_TARGET_MS=$((($(e2e_fake_now_ms) / 1000 + $2) * 1000))
    [[ $1 == poweroff ]] || keys+=(Down)
    keys+=(Tab Tab Tab)
    for value in $(date -d "@$((E2E_TARGET_MS / 1000))" '+%Y %-m %-d %-H %-M %-S'); do
        keys+=(Tab ctrl+a)
        # Digits are their own key names.
        for ((i = 0; i < ${#value}; i++)); do keys+=("${value:i:1}"); done
    done
    keys+=(shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return)
    xdotool key --clearmodifiers --delay 5 "${keys[@]}"
    local ahead=$((E2E_TARGET_MS - $(e2e_fake_now_ms)))
    ((ahead >= 1000)) || e2e_fail "armed only $ahead ms before the target; too slow a machine"
}

# Sleeps until MS milliseconds after the target second on the program's clock.
e2e_wait_past_target() {
    local ms=$((E2E_TARGET_MS + $1 - $(e2e_fake_now_ms)))
    ((ms <= 0)) || sleep "${ms}e-3"
}

# Checks that the program still runs and ran systemctl exactly once, with exactly ACTION; sets
# E2E_DELAY_MS to how long after the target second it ran.
e2e_check_launch() {
    local args at
    kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "gone: $(tail "$E2E_DIR/program.log")"
    [[ $(wc -l <"$E2E_RECORD") == 1 ]] ||
        e2e_fail "expected one systemctl call, got: $(tr '\t\n' ' ;' <"$E2E_RECORD")"
    IFS=$'\t' read -r args at <"$E2E_RECORD"
    [[ $args == "$1" ]] || e2e_fail "systemctl was called with '$args', expected '$1'"
    E2E_DELAY_MS=$((at - E2E_TARGET_MS))
}
