# shellcheck shell=bash disable=SC2034  # the E2E_ variables set here are read by the caller
# Shared by the end-to-end test and the benchmark: a private X server, a systemctl that only
# records how it was called, the program under a faked clock, and a user's clicks and keys on its
# controls. Sourced by a bash script running with `set -euo pipefail`, which calls e2e_init first.
#
# The faked clock comes from libfaketime: its wrapper turns the start moment into an offset that
# the program hands down to every command it starts, so the recording systemctl writes the same
# faked time the program's clock read when it fired.

E2E_TITLE='Vorlix定时关机软件2.2'

# China Standard Time as a POSIX rule, so that it needs no time zone database. A local time that is
# not UTC shows up a clock read as UTC.
export TZ='CST-8'
export LC_ALL=C.UTF-8 LANG=C.UTF-8

# The main window's controls the scripts touch, as the form designer placed them (see
# mainwindow/form1_table.cpp): container, then left, top, width and height in twips; "-" is the
# window itself.
declare -gA E2E_CONTROLS=(
    [Frame1]="- 120 120 7095 1455"
    [Combo1]="Frame1 120 840 1095 420"
    [Combo2]="Frame1 1560 840 735 420"
    [Combo3]="Frame1 2640 840 735 420"
    [Combo4]="Frame1 3720 840 735 420"
    [Combo5]="Frame1 4800 840 735 420"
    [Combo6]="Frame1 5880 840 735 420"
    [Frame2]="- 120 1680 7095 1335"
    [Option1]="Frame2 120 240 735 375"
    [Option2]="Frame2 120 720 735 420"
    [Command3]="Frame2 2040 240 1575 855"
)

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_now_ns() { date +%s%N; }

# Makes the scratch folder and arranges for everything started here to be stopped on exit.
e2e_init() {
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-e2e.XXXXXX")
    E2E_XVFB_PID=
    E2E_WRAPPER_PID=
    E2E_PID=
    E2E_BUS_PID=
    E2E_LOGIN1_PID=
    # Any command failing unexpectedly says where, rather than ending the script without a word.
    set -E
    trap 'echo "FAIL: unexpected error at ${BASH_SOURCE[0]}:$LINENO: $BASH_COMMAND" >&2' ERR
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM HUP
}

e2e_cleanup() {
    local status=$?
    e2e_stop_program
    local pid
    for pid in "$E2E_LOGIN1_PID" "$E2E_BUS_PID"; do
        [[ -z $pid ]] || e2e_stop_pid "$pid"
    done
    E2E_LOGIN1_PID= E2E_BUS_PID=
    if [[ -n $E2E_XVFB_PID ]]; then
        e2e_stop_pid "$E2E_XVFB_PID"
        E2E_XVFB_PID=
    fi
    if [[ -n ${E2E_DIR:-} && ${E2E_KEEP:-0} != 1 ]]; then
        rm -rf "$E2E_DIR"
    elif [[ -n ${E2E_DIR:-} ]]; then
        echo "kept $E2E_DIR" >&2
    fi
    exit "$status"
}

# Waits up to two seconds for a process to end; true when it has.
e2e_gone_within_2s() {
    local i
    for ((i = 0; i < 40; i++)); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.05
    done
    return 1
}

# SIGTERM, then SIGKILL when the process is still there two seconds later.
e2e_stop_pid() {
    local pid=$1
    kill "$pid" 2>/dev/null || return 0
    e2e_gone_within_2s "$pid" || kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# A systemctl first on PATH that appends "ARGS<TAB>SECONDS.NANOSECONDS" to $E2E_RECORD and
# succeeds. The machine's own systemctl would really shut it down, so nothing starts unless the
# fake is the one found.
e2e_fake_systemctl() {
    mkdir -p "$E2E_DIR/bin"
    E2E_RECORD=$E2E_DIR/systemctl.calls
    : >"$E2E_RECORD"
    cat >"$E2E_DIR/bin/systemctl" <<EOF
#!/bin/sh
now=\$(date +%s.%N)
printf '%s\t%s\n' "\$*" "\$now" >>'$E2E_RECORD'
EOF
    chmod +x "$E2E_DIR/bin/systemctl"
    export PATH="$E2E_DIR/bin:$PATH"
    hash -r
    local found
    found=$(command -v systemctl || true)
    [[ $found == "$E2E_DIR/bin/systemctl" ]] ||
        e2e_fail "systemctl resolves to '$found', not to the fake; refusing to start anything"
}

# An Xvfb of our own; DISPLAY then points at it. The server picks a free display itself and
# names it once it accepts connections, so no other script's server can be mistaken for ours. It
# must not reset when its last client leaves: a program connecting meanwhile is turned away.
e2e_start_xvfb() {
    local n i
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$E2E_DIR/display" \
        >"$E2E_DIR/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    for ((i = 0; i < 200; i++)); do
        n=$(tr -d ' \n' <"$E2E_DIR/display" 2>/dev/null || true)
        if [[ -n $n ]]; then
            export DISPLAY=":$n"
            unset XAUTHORITY
            return 0
        fi
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    e2e_fail "could not start Xvfb: $(cat "$E2E_DIR/xvfb.log")"
}

# A private bus standing in for the system bus, with FAKE_LOGIN1 serving as systemd-logind on it;
# DBUS_SYSTEM_BUS_ADDRESS then points the program there, so it never asks the machine's own logind.
# The stand-in writes its requests and the number of locks held to $E2E_LOGIN1_LOG.
e2e_fake_logind() {
    local fake=$1 address= i
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$E2E_DIR/bus" \
        >"$E2E_DIR/bus.log" 2>&1 &
    E2E_BUS_PID=$!
    for ((i = 0; i < 200; i++)); do
        address=$(head -n 1 "$E2E_DIR/bus" 2>/dev/null || true)
        [[ -n $address ]] && break
        kill -0 "$E2E_BUS_PID" 2>/dev/null || break
        sleep 0.05
    done
    [[ -n $address ]] || e2e_fail "could not start a private bus: $(cat "$E2E_DIR/bus.log")"
    export DBUS_SYSTEM_BUS_ADDRESS=$address
    E2E_LOGIN1_LOG=$E2E_DIR/login1.log
    : >"$E2E_LOGIN1_LOG"
    "$fake" "$address" "$E2E_LOGIN1_LOG" >>"$E2E_DIR/bus.log" 2>&1 &
    E2E_LOGIN1_PID=$!
    for ((i = 0; i < 200; i++)); do
        grep -qx ready "$E2E_LOGIN1_LOG" && return 0
        kill -0 "$E2E_LOGIN1_PID" 2>/dev/null || break
        sleep 0.05
    done
    e2e_fail "the stand-in for logind did not start: $(cat "$E2E_DIR/bus.log")"
}

# Waits up to TIMEOUT_MS for the stand-in for logind to see COUNT locks held.
e2e_wait_locks() {
    local count=$1 timeout_ms=$2 i
    for ((i = 0; i <= timeout_ms / 20; i++)); do
        [[ $(grep '^held ' "$E2E_LOGIN1_LOG" | tail -n 1) == "held $count" ]] && return 0
        sleep 0.02
    done
    e2e_fail "expected $count inhibitor locks held within $timeout_ms ms;" \
        "logind saw: $(tr '\n' ';' <"$E2E_LOGIN1_LOG")"
}

# Starts the program on our X server with its clock set to FAKE_START (local time) and running on
# from there. Sets E2E_PID (the program), E2E_OFFSET_S (faked minus real clock) and
# E2E_LAUNCHED_NS (real time of the launch).
e2e_start_program() {
    local program=$1 fake_start=$2 i
    mkdir -p "$E2E_DIR/config" "$E2E_DIR/runtime"
    chmod 700 "$E2E_DIR/runtime"
    E2E_LAUNCHED_NS=$(e2e_now_ns)
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS \
        QT_ENABLE_HIGHDPI_SCALING=0 \
        XDG_CONFIG_HOME="$E2E_DIR/config" XDG_RUNTIME_DIR="$E2E_DIR/runtime" \
        faketime "$fake_start" "$program" "${@:3}" >>"$E2E_DIR/program.log" 2>&1 &
    E2E_WRAPPER_PID=$!
    # The wrapper first runs date to read the start moment, then forks the program and waits for
    # it, to remove its shared memory afterwards.
    local real child children
    real=$(realpath "$program")
    E2E_PID=
    for ((i = 0; i < 500; i++)); do
        children=()
        { read -r -a children <"/proc/$E2E_WRAPPER_PID/task/$E2E_WRAPPER_PID/children"; } \
            2>/dev/null || true
        for child in "${children[@]}"; do
            if [[ $(readlink "/proc/$child/exe" 2>/dev/null || true) == "$real" ]]; then
                E2E_PID=$child
            fi
        done
        [[ -n $E2E_PID ]] && break
        kill -0 "$E2E_WRAPPER_PID" 2>/dev/null || e2e_fail "the program ended at once: $(e2e_log)"
        sleep 0.01
    done
    [[ -n $E2E_PID ]] || e2e_fail "faketime started no program within 5 s"
    E2E_OFFSET_S=
    for ((i = 0; i < 100; i++)); do
        E2E_OFFSET_S=$({ tr '\0' '\n' <"/proc/$E2E_PID/environ"; } 2>/dev/null |
            sed -n 's/^FAKETIME=\([-+]\{0,1\}[0-9]*\)$/\1/p' || true)
        [[ -n $E2E_OFFSET_S ]] && break
        sleep 0.01
    done
    [[ -n $E2E_OFFSET_S ]] || e2e_fail "cannot read the clock offset faketime gave the program"
    E2E_OFFSET_S=${E2E_OFFSET_S#+}
}

# True while the program runs; checked through its parent, so that a process id reused after it
# ended is never taken for it.
e2e_program_running() {
    [[ -n ${E2E_PID:-} && -n ${E2E_WRAPPER_PID:-} ]] || return 1
    local stat fields
    stat=$(cat "/proc/$E2E_PID/stat" 2>/dev/null) || return 1
    # The fields after the command name, which may hold blanks: state, then parent.
    read -r -a fields <<<"${stat##*) }"
    [[ ${fields[0]} != Z && ${fields[1]} == "$E2E_WRAPPER_PID" ]]
}

# Only the program is asked to stop: the faketime wrapper then ends by itself and removes its
# shared memory, which it leaves behind when it is killed.
e2e_stop_program() {
    if e2e_program_running; then
        kill "$E2E_PID" 2>/dev/null || true
        e2e_gone_within_2s "$E2E_PID" || { e2e_program_running && kill -KILL "$E2E_PID"; } || true
    fi
    if [[ -n ${E2E_WRAPPER_PID:-} ]]; then
        e2e_gone_within_2s "$E2E_WRAPPER_PID" || e2e_stop_pid "$E2E_WRAPPER_PID"
        wait "$E2E_WRAPPER_PID" 2>/dev/null || true
    fi
    E2E_PID=
    E2E_WRAPPER_PID=
}

e2e_log() { tail -n 20 "$E2E_DIR/program.log" 2>/dev/null || true; }

# The program's clock now, in nanoseconds since the epoch.
e2e_fake_now_ns() { echo $(($(e2e_now_ns) + E2E_OFFSET_S * 1000000000)); }

# Polls for the main window until it is mapped; sets E2E_WINDOW and E2E_SHOWN_NS (real time from
# the launch until it was found).
e2e_wait_window() {
    local timeout_s=$1 deadline id
    deadline=$(($(e2e_now_ns) + timeout_s * 1000000000))
    while :; do
        id=$(xdotool search --onlyvisible --name '^Vorlix' 2>/dev/null | head -n 1 || true)
        if [[ -n $id ]]; then
            E2E_SHOWN_NS=$(($(e2e_now_ns) - E2E_LAUNCHED_NS))
            break
        fi
        e2e_program_running || e2e_fail "the program ended before showing its window: $(e2e_log)"
        (($(e2e_now_ns) < deadline)) ||
            e2e_fail "the main window did not show within ${timeout_s} s: $(e2e_log)"
        sleep 0.01
    done
    E2E_WINDOW=$id
    # With no window manager nothing gives the window the keyboard; a click would, but only once
    # the program has seen it, and keys typed before then would be lost.
    timeout 5 xdotool windowfocus --sync "$E2E_WINDOW" ||
        e2e_fail "the main window did not take the keyboard focus"
    local title
    title=$(xdotool getwindowname "$E2E_WINDOW")
    [[ $title == "$E2E_TITLE" ]] || e2e_fail "window title is '$title', expected '$E2E_TITLE'"
}

e2e_px() { echo $((($1 + 7) / 15)); }

# Window-relative pixel rectangle of a control into E2E_RECT: x, y, width, height.
e2e_control_rect() {
    local name=$1 container left top width height x=0 y=0
    [[ -n ${E2E_CONTROLS[$name]:-} ]] || e2e_fail "no such control in lib.sh: $name"
    read -r container left top width height <<<"${E2E_CONTROLS[$name]}"
    if [[ $container != - ]]; then
        e2e_control_rect "$container"
        x=${E2E_RECT[0]} y=${E2E_RECT[1]}
    fi
    E2E_RECT=($((x + $(e2e_px "$left"))) $((y + $(e2e_px "$top"))) "$(e2e_px "$width")"
        "$(e2e_px "$height")")
}

# Fails when a control of the table above no longer sits where the form source puts it.
e2e_check_layout() {
    local source=$1 name container left top width height flat
    # One line with single blanks, whatever the formatter did with the statements.
    flat=$(tr -s ' \t\n' ' ' <"$source")
    for name in "${!E2E_CONTROLS[@]}"; do
        read -r container left top width height <<<"${E2E_CONTROLS[$name]}"
        grep -Eq "\"$name\"[^{};]*\{ ?$left, $top, $width, $height ?\}" <<<"$flat" ||
            e2e_fail "$name is no longer at {$left, $top, $width, $height} in $source;" \
                "update tests/e2e/lib.sh"
    done
}

# A user's actions are collected as xdotool commands and sent by one xdotool, so that a loaded
# machine does not spend seconds starting a process for each click and key.

# Adds a click on a control at DX,DY pixels inside it; its centre when no point is given.
e2e_step_click() {
    e2e_control_rect "$1"
    local x=$((E2E_RECT[0] + ${2:-E2E_RECT[2] / 2})) y=$((E2E_RECT[1] + ${3:-E2E_RECT[3] / 2}))
    E2E_STEPS+=(mousemove --window "$E2E_WINDOW" "$x" "$y" click --delay 10 1)
}

# Adds replacing the text of an editable combo box as a user would: click into its text, select
# all, type the digits. Its left end is clear of the drop-down button; the box is as high as its
# font, so a point near its top stays inside.
e2e_step_type_into_combo() {
    local name=$1 digits=$2
    [[ $digits =~ ^[0-9]+$ ]] || e2e_fail "only digits can be typed, not '$digits'"
    e2e_step_click "$name" 10 10
    E2E_STEPS+=(key --clearmodifiers --delay 5 ctrl+a)
    # Digits are their own key names.
    local i
    for ((i = 0; i < ${#digits}; i++)); do
        E2E_STEPS+=("${digits:i:1}")
    done
}

# Arms the program for ACTION ("poweroff" or "reboot") at LEAD_S whole seconds after its clock's
# present second: types that moment into the six boxes, picks the action, presses 生效. Sets
# E2E_TARGET_S, and E2E_ARMED_AHEAD_MS to how long before it arming finished; fails when that is
# less than a second.
e2e_arm() {
    local action=$1 lead_s=$2 values i
    E2E_TARGET_S=$(($(e2e_fake_now_ns) / 1000000000 + lead_s))
    read -r -a values <<<"$(date -d "@$E2E_TARGET_S" '+%Y %-m %-d %-H %-M %-S')"
    E2E_STEPS=()
    for i in 0 1 2 3 4 5; do
        e2e_step_type_into_combo "Combo$((i + 1))" "${values[$i]}"
    done
    case $action in
        poweroff) e2e_step_click Option1 8 ;;
        reboot) e2e_step_click Option2 8 ;;
        *) e2e_fail "unknown action '$action' (poweroff or reboot)" ;;
    esac
    e2e_step_click Command3
    xdotool "${E2E_STEPS[@]}"
    E2E_ARMED_AHEAD_MS=$(((E2E_TARGET_S * 1000000000 - $(e2e_fake_now_ns)) / 1000000))
    ((E2E_ARMED_AHEAD_MS >= 1000)) ||
        e2e_fail "arming finished only ${E2E_ARMED_AHEAD_MS} ms before the target;" \
            "the machine is too slow for a ${lead_s} s lead"
}

# Sleeps until GRACE_MS after the target second on the program's clock.
e2e_wait_past_target() {
    local wait_ns=$((E2E_TARGET_S * 1000000000 + $1 * 1000000 - $(e2e_fake_now_ns)))
    ((wait_ns <= 0)) || sleep "$((wait_ns / 1000000000)).$(printf '%09d' $((wait_ns % 1000000000)))"
}

# Checks that the program still runs and ran systemctl exactly once, with exactly ACTION; sets
# E2E_DELAY_NS to the time systemctl recorded minus the target.
e2e_read_launch() {
    local action=$1 lines args stamp
    e2e_program_running || e2e_fail "the program is gone: $(e2e_log)"
    lines=$(wc -l <"$E2E_RECORD")
    [[ $lines -eq 1 ]] || e2e_fail "expected one systemctl call for the target" \
        "$(e2e_local "$E2E_TARGET_S"), got $lines: $(tr '\t\n' ' ;' <"$E2E_RECORD")"
    IFS=$'\t' read -r args stamp <"$E2E_RECORD"
    [[ $args == "$action" ]] || e2e_fail "systemctl was called with '$args', expected '$action'"
    E2E_DELAY_NS=$((${stamp/./} - E2E_TARGET_S * 1000000000))
}

# Nanoseconds as milliseconds with three decimals.
e2e_ms() {
    local ns=$1 sign=
    ((ns >= 0)) || { sign=-; ns=$((-ns)); }
    printf '%s%d.%03d' "$sign" $((ns / 1000000)) $((ns / 1000 % 1000))
}

e2e_local() { date -d "@$1" '+%Y-%m-%d %H:%M:%S'; }
