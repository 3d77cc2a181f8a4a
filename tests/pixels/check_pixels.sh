#!/usr/bin/env bash
# What a user sees of the real program: both windows shown on an X server of their own, captured,
# and a few places checked against the control tables. The Windows program runs under Wine's X11
# driver at 96 dpi and again at 144 dpi, where the windows and their fonts are half as large again.
#
# Usage: check_pixels.sh qt PROGRAM
#        check_pixels.sh win32 PROGRAM WINEPREFIX    (a prefix of its own, made at the first run)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

toolkit=$1 program=$2

# Places in twips from the top-left corner of a window's client area (a control's rectangle from
# its table, moved by the corner of the frame that holds it), and what each must show:
#   face      only the face colour, read at the client area's top-left corner, outside every
#             frame; a style may shade it a little (Qt's Fusion does inside frames)
#   back RGB  mostly that colour, "face" for the face colour
#   text RGB  some pixels close to that colour, as smooth text has few of it exactly
checks=(
    "Form1 3300 810 600 90 face"          # Frame1, between the clock fields and the target lists
    "Form1 3300 2850 600 90 face"         # Frame2, below the buttons
    "Form1 240 360 855 420 back 0,0,0"    # Text1, the clock's year
    "Form1 240 360 855 420 text 0,255,0"
    "Form1 1320 405 375 450 back face"    # Label1, "年"
    "Form1 360 3480 6735 375 text 255,0,0" # Label13, the status line
    "Form2 3045 450 120 300 face"         # Frame1, between "确定" and "默认"
    "Form2 240 360 735 375 back 0,0,0"    # Text1, the start year
    "Form2 240 360 735 375 text 0,255,0"
)
declare -A client=([Form1]="7320 4050" [Form2]="4200 2325")
declare -A title=([Form1]='^Vorlix定时关机软件' [Form2]='^参数设置$')
settings_button="1567 2587" # the middle of the main window's "参数设置", which opens the dialog

px() { echo $((($1 * $2 + 720) / 1440)); }

wine_down() {
    wineserver -k 2>/dev/null || true
    wineserver -w
}

e2e_init
e2e_start_xvfb
if [[ $toolkit == win32 ]]; then
    trap 'e2e_cleanup; wine_down' EXIT
    # The tests' shared prefix has no display, and Wine draws with the driver its server started
    # with, so this one is its own.
    export WINEPREFIX=$3 WINEDLLOVERRIDES='mscoree,mshtml=' WINEDEBUG=-all
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /d no-debugger.exe /f </dev/null >/dev/null 2>&1
    fi
fi

start_at() {
    if [[ $toolkit == qt ]]; then
        e2e_start_program "$program" now
    else
        # Every process of the prefix reads the setting once, when it starts.
        wine_down
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
            </dev/null >/dev/null 2>&1
        wine_down
        wine "$program" </dev/null >>"$E2E_DIR/program.log" 2>&1 &
        E2E_PID=$!
    fi
}

# Reads a capture as ImageMagick enumerates its pixels and prints what is wrong in it, and the
# height of the green text in pixels.
check_capture() {
    local form=$1 dpi=$2 rows
    rows=$(printf '%s\n' "${checks[@]}" | sed -n "s/^$form //p")
    awk -v dpi="$dpi" -v size="${client[$form]}" -v rows="$rows" '
        function px(twips) { return int((twips * dpi + 720) / 1440) }
        function far(a, b, limit,  p, q) {
            split(a, p, ","); split(b, q, ",")
            return (p[1] - q[1])^2 + (p[2] - q[2])^2 + (p[3] - q[3])^2 > limit^2
        }
        NR == 1 { split($5, got, ","); next }
        { sub(/:$/, "", $1); gsub(/[()]/, "", $2); colour[$1] = $2 }
        END {
            split(size, want, " ")
            if (got[1] != px(want[1]) || got[2] != px(want[2])) {
                print "client area " got[1] "x" got[2] ", not " px(want[1]) "x" px(want[2])
                exit
            }
            face = colour["0,0"]
            if (face == "0,0,0") print "the face colour is black"
            n = split(rows, row, "\n")
            for (i = 1; i <= n; i++) {
                split(row[i], f, " ")
                x0 = px(f[1]); y0 = px(f[2]); x1 = px(f[1] + f[3]); y1 = px(f[2] + f[4])
                expected = f[5] == "face" || f[6] == "face" ? face : f[6]
                split("", count); most = ""; near = 0; same = 0; top = -1
                for (y = y0; y < y1; y++) {
                    for (x = x0; x < x1; x++) {
                        c = colour[x "," y]
                        if (++count[c] > count[most]) most = c
                        if (!far(c, expected, 100)) { near++; if (top < 0) top = y; bottom = y }
                        same += !far(c, expected, 10)
                    }
                }
                where = "at (" x0 "," y0 ")-(" x1 "," y1 "): "
                if (f[5] == "face" && same < (x1 - x0) * (y1 - y0))
                    print where "not only the face colour " face ", mostly " most
                if (f[5] == "back" && far(most, expected, 10)) print where "mostly " most
                if (f[5] == "text" && near < 5) print where "no text in " expected
                if (f[5] == "text" && expected == "0,255,0") print "height " bottom - top + 1
            }
        }'
}

# True once the window shows what it must at DPI; sets result to what it found.
window_as_table_says() {
    result=$(import -window "$E2E_WINDOW" -depth 8 txt:- | check_capture "$1" "$2")
    ! grep -qv '^height ' <<<"$result"
}

# Waits for the window FORM and checks it at DPI, as painting follows the showing; sets height.
check_window() {
    e2e_poll 60 e2e_find_window "${title[$1]}" || e2e_fail "no $1: $(tail "$E2E_DIR/program.log")"
    e2e_poll 30 window_as_table_says "$1" "$2" || e2e_fail "$1 at $2 dpi:"$'\n'"$result"
    height=$(sed -n 's/^height //p' <<<"$result")
    echo "$1 at $2 dpi: as its table says"
}

declare -A heights
for dpi in 96 $([[ $toolkit == qt ]] || echo 144); do
    start_at "$dpi"
    check_window Form1 "$dpi"
    heights[$dpi]=$height
    read -r x y <<<"$settings_button"
    xdotool mousemove --window "$E2E_WINDOW" "$(px "$x" "$dpi")" "$(px "$y" "$dpi")" click 1
    check_window Form2 "$dpi"
    e2e_stop_program
done
# Half as large again, give or take a pixel of rounding.
scale=$((${heights[144]:-0} * 2 - heights[96] * 3))
[[ $toolkit == qt ]] || ((scale >= -2 && scale <= 2)) ||
    e2e_fail "the clock's text is ${heights[96]} pixels high at 96 dpi and ${heights[144]} at 144"
echo PASS
