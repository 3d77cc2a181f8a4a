# shellcheck shell=bash disable=SC2034  # the E2E_ variables set here are read by the caller
# Sourced under `set -euo pipefail` by the end-to-end, Wine and pixel tests and the benchmark. Times
# are in ms. China Standard Time needs no time zone database and shows up a clock read as UTC.
export TZ='CST-8'

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }
e2e_stop_pid() { { kill "$1" && wait "$1"; } 2>/dev/null || true; }
# shellcheck disable=SC2046  # one process id a word
e2e_cleanup() { kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$E2E_DIR"; }
e2e_fake_now_ms() { echo $(($(date +%s%3N) + E2E_OFFSET_MS)); }
# The whole second SECONDS ahead of the program's clock becomes the target.
e2e_target_in() { E2E_TARGET_MS=$((($(e2e_fake_now_ms) / 1000 + $1) * 1000)); }

e2e_poll() { # SECONDS COMMAND...
    local end=$((${EPOCHREALTIME/./} + $1 * 1000000))
    until "${@:2}" 2>/dev/null; do ((${EPOCHREALTIME/./} < end)) || return 1; sleep 0.02; done
}

e2e_find_window() {
    E2E_WINDOW=$(xdotool search --onlyvisible --name "$1" | head -n 1) && [[ $E2E_WINDOW ]]
}

# Starts COMMAND, which writes what it serves to its descriptor 3, and waits for that in file NAME.
e2e_serve() {
    "${@:2}" 3>"$E2E_DIR/$1" >"$E2E_DIR/$1.log" 2>&1 &
    e2e_poll 10 test -s "$E2E_DIR/$1" || e2e_fail "no $1: $(cat "$E2E_DIR/$1.log")"
}

# An X server of the test's own, without a window manager.
e2e_xvfb() {
    e2e_serve display Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24
    export DISPLAY=:$(<"$E2E_DIR/display")
}

# A notification area on it: trayer, a small XEmbed tray, whose window is named "panel".
e2e_tray() {
    trayer >"$E2E_DIR/trayer.log" 2>&1 &
    e2e_poll 10 xdotool search --name '^panel$' >/dev/null || e2e_fail "no tray: $(cat "$E2E_DIR/trayer.log")"
}

# The fake systemctl appends "ARGS<TAB>TIME" to E2E_RECORD and exits with SYSTEMCTL_EXIT.
e2e_init() {
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-e2e.XXXXXX") E2E_RECORD=$E2E_DIR/systemctl.calls
    set -E && trap 'echo "FAIL: error at ${BASH_SOURCE[0]}:$LINENO: $BASH_COMMAND" >&2' ERR
    trap e2e_cleanup EXIT && trap 'exit 130' INT TERM HUP
    mkdir -m 700 "$E2E_DIR/runtime" "$E2E_DIR/bin"
    : >"$E2E_RECORD"
    install -m 755 /dev/stdin "$E2E_DIR/bin/systemctl" <<EOF
#!/bin/sh
printf '%s\t%s\n' "\$*" "\$(date +%s%3N)" >>'$E2E_RECORD'
exit "\${SYSTEMCTL_EXIT:-0}"
EOF
    export PATH="$E2E_DIR/bin:$PATH"
    # The machine's own systemctl would really shut it down.
    [[ $(command -v systemctl) == "$E2E_DIR/bin/systemctl" ]] ||
        e2e_fail "systemctl is not the fake; refusing to start anything"
    e2e_xvfb
    export XDG_CONFIG_HOME=$E2E_DIR/config XDG_RUNTIME_DIR=$E2E_DIR/runtime
    unset XAUTHORITY QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
}

# Moves the faked clock SECONDS on; the program and what it starts see it within a second.
e2e_jump() {
    E2E_OFFSET_MS=$((E2E_OFFSET_MS + $1 * 1000))
    printf '%+d\n' $((E2E_OFFSET_MS / 1000)) >"$E2E_DIR/faketime.new"
    mv "$E2E_DIR/faketime.new" "$E2E_DIR/faketime"
}

# PROGRAM FAKE_START [ARGS...] on a clock faked from FAKE_START, until its window has the keyboard.
e2e_start_program() {
    local started=${EPOCHREALTIME/./}
    E2E_OFFSET_MS=$((($(date -d "$2" +%s) - started / 1000000) * 1000))
    e2e_jump 0
    QT_ENABLE_HIGHDPI_SCALING=0 LD_PRELOAD="$(echo /usr/lib/*/faketime/libfaketime.so.1)" \
        LC_ALL=C.UTF-8 FAKETIME_TIMESTAMP_FILE=$E2E_DIR/faketime FAKETIME_CACHE_DURATION=1 \
        "$1" "${@:3}" >>"$E2E_DIR/program.log" 2>&1 &
    E2E_PID=$!
    e2e_poll 10 e2e_find_window '^Vorlix定时关机软件' ||
        e2e_fail "no main window: $(tail "$E2E_DIR/program.log")"
    E2E_SHOWN_MS=$(((${EPOCHREALTIME/./} - started) / 1000))
    # Without a window manager nothing gives it the keyboard; keys sent before that are lost.
    timeout 5 xdotool windowfocus --sync "$E2E_WINDOW" || e2e_fail "the window took no keys"
}

# ACTION LEAD_S: from "同步时间" Tab visits the action, "生效", "重置", "退出", the six target lists.
e2e_arm() {
    local keys=(Tab Down Tab Tab Tab) value i
    e2e_target_in "$2"
    [[ $1 == reboot ]] || unset 'keys[1]' # the arrow key picks the other action
    for value in $(date -d "@$((E2E_TARGET_MS / 1000))" '+%Y %-m %-d %-H %-M %-S'); do
        keys+=(Tab ctrl+a)
        for ((i = 0; i < ${#value}; i++)); do keys+=("${value:i:1}"); done
    done
    keys+=(shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return)
    xdotool key --clearmodifiers --delay 5 "${keys[@]}"
    (($(e2e_fake_now_ms) + 1000 <= E2E_TARGET_MS)) || e2e_fail "armed too late; too slow a machine"
}

# ARGS [MAX_DELAY], then empties the record; waiting 1.5 s past the target shows up a second call.
# Started 0 to 500 ms after its second, or late. Measured here: 25 to 70 ms for the Linux program,
# 100 to 340 ms for the .exe under Wine's X11 driver with the build busy beside it; two seconds
# when the command waited for the warning to close.
e2e_check_launch() {
    local args at ms=$((E2E_TARGET_MS + 1500 - $(e2e_fake_now_ms)))
    ((ms <= 0)) || sleep "${ms}e-3"
    kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "gone: $(tail "$E2E_DIR/program.log")"
    IFS=$'\t' read -r args at <"$E2E_RECORD" || true
    [[ $(wc -l <"$E2E_RECORD") == 1 && $args == "$1" ]] ||
        e2e_fail "expected one '$1', got: $(tr '\t\n' ' ;' <"$E2E_RECORD")"
    E2E_DELAY_MS=$((at - E2E_TARGET_MS))
    echo "'$1' $E2E_DELAY_MS ms after the target second"
    ((E2E_DELAY_MS >= 0 && E2E_DELAY_MS <= ${2:-500})) || e2e_fail "ran outside its time"
    : >"$E2E_RECORD"
}
