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
#   only COLOUR    that colour alone; a style may shade it a little (Qt's Fusion does in frames)
#   mostly COLOUR  at least half of it that colour
#   text COLOUR    some pixels close to that colour, as smooth text has few of it exactly
# "face" is the face colour, read at the client area's top-left corner, outside every frame.
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
settings_button="1567 2587" # the middle of the main window's "参数设置", which opens the dialog

# Twips as pixels at $dpi.
px() { echo $((($1 * dpi + 720) / 1440)); }

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

# The pixels of the capture in the twips rectangle X Y W H that lie within DISTANCE of the colour
# R,G,B: how many, or with FORMAT the ImageMagick format of their bounds.
near() {
    local x y w h r g b
    read -r x y w h <<<"$1"
    IFS=, read -r r g b <<<"$2"
    convert "$E2E_DIR/capture.png" -crop "$(px "$w")x$(px "$h")+$(px "$x")+$(px "$y")" +repage \
        -fx "sqrt((r * 255 - $r)^2 + (g * 255 - $g)^2 + (b * 255 - $b)^2) < $3" \
        ${4:+-trim} -format "${4:-%[fx:round(mean * w * h)]}" info: 2>/dev/null
}

# True once the window FORM shows what it must; sets result to what is wrong in it, and height to
# the height of its green text in pixels.
window_as_table_says() {
    local form x y w h kind colour face all
    import -window "$E2E_WINDOW" "$E2E_DIR/capture.png"
    read -r w h <<<"${client[$1]}"
    result=$(identify -format 'client area %w %h' "$E2E_DIR/capture.png")
    [[ $result == "client area $(px "$w") $(px "$h")" ]] || return 1
    result=
    face=$(convert "$E2E_DIR/capture.png" -format \
        '%[fx:int(255 * p{0,0}.r)],%[fx:int(255 * p{0,0}.g)],%[fx:int(255 * p{0,0}.b)]' info:)
    [[ $face != 0,0,0 ]] || result="the face colour is black"
    for check in "${checks[@]}"; do
        read -r form x y w h kind colour <<<"$check"
        [[ $form == "$1" ]] || continue
        [[ $colour != face ]] || colour=$face
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

# Waits for the window FORM and checks it, as painting follows the showing; sets height.
check_window() {
    e2e_poll 60 e2e_find_window "${title[$1]}" || e2e_fail "no $1: $(tail "$E2E_DIR/program.log")"
    e2e_poll 30 window_as_table_says "$1" || e2e_fail "$1 at $dpi dpi: $result"
    echo "$1 at $dpi dpi: as its table says; text $height pixels high"
}

declare -A heights
for dpi in 96 $([[ $toolkit == qt ]] || echo 144); do
    start_at "$dpi"
    check_window Form1
    heights[$dpi]=$height
    read -r x y <<<"$settings_button"
    xdotool mousemove --window "$E2E_WINDOW" "$(px "$x")" "$(px "$y")" click 1
    check_window Form2
    e2e_stop_program
done
# Half as large again, give or take a pixel of rounding.
scale=$((${heights[144]:-0} * 2 - heights[96] * 3))
[[ $toolkit == qt ]] || ((scale >= -2 && scale <= 2)) ||
    e2e_fail "the clock's text is ${heights[96]} pixels high at 96 dpi and ${heights[144]} at 144"
echo PASS
