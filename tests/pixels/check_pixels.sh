#!/usr/bin/env bash
# Both windows of the real program captured on an X server of their own and checked against the
# control tables; the Windows program under Wine's X11 driver at 96 and at 144 dpi.
# Usage: check_pixels.sh qt PROGRAM | check_pixels.sh win32 PROGRAM WINEPREFIX
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

toolkit=$1 program=$2
# Twips rectangles of the client area and what they must show: "only" that colour (a style may
# shade it a little), "mostly" at least half, "text" a few pixels near it, as smooth text has.
# "face" is the colour at the client area's corner.
checks=(
    "Form1 3300 810 600 90 only face"      # Frame1, between the clock fields and the target lists
    "Form1 3300 2850 600 90 only face"     # Frame2, below the buttons
    "Form1 240 360 855 420 mostly 0,0,0"   # Text1, the clock's year
    "Form1 240 360 855 420 text 0,255,0"
    "Form1 1320 405 375 450 mostly face"   # Label1, "年"
    "Form1 360 3480 6735 375 text 255,0,0" # Label13, the status line
    "Form2 3045 450 120 300 only face"     # Frame1, between "确定" and "默认"
    "Form2 240 360 735 375 mostly 0,0,0"   # Text1, the start year
    "Form2 240 360 735 375 text 0,255,0"
)
declare -A client=([Form1]="7320 4050" [Form2]="4200 2325")
declare -A title=([Form1]='^Vorlix定时关机软件' [Form2]='^参数设置$')

px() { echo $((($1 * dpi + 720) / 1440)); }
wine_down() { wineserver -k 2>/dev/null || true && wineserver -w; }

e2e_init
if [[ $toolkit == win32 ]]; then
    trap 'e2e_cleanup; wine_down' EXIT
    # Wine draws with the driver its server started with, and the tests' shared prefix has none.
    export WINEPREFIX=$3 WINEDLLOVERRIDES='mscoree,mshtml=' WINEDEBUG=-all
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /d no-debugger.exe /f </dev/null >/dev/null 2>&1
    fi
fi

# How many pixels of the capture in twips X Y W H lie within DISTANCE of R,G,B; with FORMAT, the
# ImageMagick FORMAT of their bounds.
near() {
    local x y w h r g b
    read -r x y w h <<<"$1"
    IFS=, read -r r g b <<<"$2"
    convert "$E2E_DIR/capture.png" -crop "$(px "$w")x$(px "$h")+$(px "$x")+$(px "$y")" +repage \
        -fx "sqrt((r * 255 - $r)^2 + (g * 255 - $g)^2 + (b * 255 - $b)^2) < $3" \
        ${4:+-trim} -format "${4:-%[fx:round(mean * w * h)]}" info: 2>/dev/null
}

# True once the window FORM shows what its table says; otherwise result says what is wrong. Sets
# height to the height of its green text in pixels.
as_table_says() {
    local form x y w h kind colour face all
    import -window "$E2E_WINDOW" "$E2E_DIR/capture.png"
    read -r w h <<<"${client[$1]}"
    result=$(identify -format 'client area %w %h' "$E2E_DIR/capture.png")
    [[ $result == "client area $(px "$w") $(px "$h")" ]] || return 1
    face=$(convert "$E2E_DIR/capture.png" -format \
        '%[fx:int(255 * p{0,0}.r)],%[fx:int(255 * p{0,0}.g)],%[fx:int(255 * p{0,0}.b)]' info:)
    result=$([[ $face != 0,0,0 ]] || echo "the face colour is black")
    for check in "${checks[@]}"; do
        read -r form x y w h kind colour <<<"${check/face/$face}"
        [[ $form == "$1" ]] || continue
        all=$(($(px "$w") * $(px "$h")))
        case $kind in
            only) (($(near "$x $y $w $h" "$colour" 10) == all)) ;;
            mostly) (($(near "$x $y $w $h" "$colour" 10) * 2 >= all)) ;;
            text) (($(near "$x $y $w $h" "$colour" 100) >= 5)) ;;
        esac || result+=$'\n'"not $kind $colour at $x $y $w $h"
        [[ "$kind $colour" != "text 0,255,0" ]] || height=$(near "$x $y $w $h" "$colour" 100 %h)
    done
    [[ -z $result ]]
}

check_window() {
    e2e_poll 60 e2e_find_window "${title[$1]}" || e2e_fail "no $1: $(tail "$E2E_DIR/program.log")"
    # Painting follows the showing.
    e2e_poll 30 as_table_says "$1" || e2e_fail "$1 at $dpi dpi: $result"
    echo "$1 at $dpi dpi: as its table says; text $height pixels high"
}

declare -A heights
for dpi in 96 $([[ $toolkit == qt ]] || echo 144); do
    if [[ $toolkit == qt ]]; then
        e2e_start_program "$program" now
    else
        # Every process of the prefix reads the setting once, when it starts.
        wine_down
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            </dev/null >/dev/null 2>&1
        wine_down
        wine "$program" </dev/null >>"$E2E_DIR/program.log" 2>&1 &
        E2E_PID=$!
    fi
    check_window Form1
    heights[$dpi]=$height
    # The middle of "参数设置".
    xdotool mousemove --window "$E2E_WINDOW" "$(px 1567)" "$(px 2587)" click 1
    check_window Form2
    e2e_stop_pid "$E2E_PID"
done
# Half as large again at 144 dpi, give or take a pixel of rounding.
scale=$((${heights[144]:-0} * 2 - heights[96] * 3))
[[ $toolkit == qt ]] || ((scale >= -2 && scale <= 2)) ||
    e2e_fail "the clock's text is ${heights[96]} pixels high at 96 dpi and ${heights[144]} at 144"
echo PASS
