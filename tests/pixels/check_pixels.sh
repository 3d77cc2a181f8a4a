#!/usr/bin/env bash
# Usage: check_pixels.sh qt PROGRAM | check_pixels.sh win32 PROGRAM WINEPREFIX
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

toolkit=$1 program=$2
# Twips rectangles of the client area and what they must show: "only" that colour (a style may
# shade it a little), "mostly" at least half, "text" a few pixels near it, as smooth text has.
# "face" is the colour at the client area's corner.
checks=(
    "Form1 3300 810 600 90 only face"        # Frame1, between the clock fields and the target lists
    "Form1 3300 2850 600 90 only face"       # Frame2, below the buttons
    "Form1 240 360 855 420 mostly 0,0,0"     # Text1, the clock's year
    "Form1 240 360 855 420 text 0,255,0"
    "Form1 1320 405 375 450 mostly face"     # Label1, "年"
    "Form1 240 960 855 420 mostly 0,0,0"     # Combo1, the target's year
    "Form1 240 960 855 420 text 255,255,0"
    "Form1 240 1920 735 375 text 255,0,255"  # Option1, "关机"
    "Form1 120 3120 2000 300 text 255,128,0" # Frame3's caption, "程序运行情况："
    "Form1 360 3480 6735 375 text 255,0,0"   # Label13, the status line
    "Form1 360 3480 1800 375 only face"      # its left end: the status is centred
    "Form2 3045 450 120 300 only face"       # Frame1, between "确定" and "默认"
    "Form2 240 360 735 375 mostly 0,0,0"     # Text1, the start year
    "Form2 240 360 735 375 text 0,255,0"
    "Form3 240 240 4920 375 text 255,0,0"    # Label1, the time left
    "Form3 795 900 915 255 text 80,80,80"    # inside Command1, "立即执行" (dark, smoothed)
    "Form3 2250 900 915 255 text 80,80,80"   # inside Command3, "推迟10分钟"
    "Form3 3705 900 915 255 text 80,80,80"   # inside Command2, "取消"
    "Form3 1905 840 150 375 only face"       # between the first two buttons
    "Form3 3360 840 150 375 only face"       # and the last two
)

px() { echo $((($1 * dpi + 720) / 1440)); }
reg() { wine reg add "$@" /f </dev/null >/dev/null 2>&1; }
wine_down() { wineserver -k 2>/dev/null || true && wineserver -w; }

e2e_init
shot=$E2E_DIR/capture.png
if [[ $toolkit == win32 ]]; then
    trap 'e2e_cleanup; wine_down' EXIT
    # The tests' shared prefix draws nowhere; this one draws on the X server above.
    # shellcheck source=scripts/wine-env.sh
    VORLIX_WINEPREFIX=$3 source "$(dirname "$0")/../../scripts/wine-env.sh" >/dev/null
    vorlix_wine_x11
    # Wine's theme paints a frame's caption in its own colour, whatever the program asks for.
    reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0
fi

# DISTANCE [FORMAT]: how many pixels in the caller's x y w h are that near r,g,b, or their bounds.
near() {
    convert "$shot" -crop "$(px "$w")x$(px "$h")+$(px "$x")+$(px "$y")" +repage \
        -fx "sqrt((r * 255 - $r)^2 + (g * 255 - $g)^2 + (b * 255 - $b)^2) < $1" \
        ${2:+-trim} -format "${2:-%[fx:round(mean * w * h)]}" info: 2>/dev/null
}

# FORM W H: true once it shows what the table says, else result says why; height of its green text.
as_table_says() {
    local form x y w h kind r g b face
    import -window "$E2E_WINDOW" "$shot"
    result=$(identify -format 'client area %w %h' "$shot")
    [[ $result == "client area $(px "$2") $(px "$3")" ]] || return 1
    face=$(convert "$shot" -format \
        '%[fx:int(255 * p{0,0}.r)],%[fx:int(255 * p{0,0}.g)],%[fx:int(255 * p{0,0}.b)]' info:)
    result=$([[ $face != 0,0,0 ]] || echo "the face colour is black")
    for check in "${checks[@]}"; do
        IFS=' ,' read -r form x y w h kind r g b <<<"${check/face/$face}"
        [[ $form == "$1" ]] || continue
        case $kind in
            only) (($(near 10) == $(px "$w") * $(px "$h"))) ;;
            mostly) (($(near 10) * 2 >= $(px "$w") * $(px "$h"))) ;;
            text) (($(near 60) >= 5)) ;;
        esac || result+=$'\n'"not $kind $r,$g,$b at $x $y $w $h"
        [[ "$kind $r,$g,$b" != "text 0,255,0" ]] || height=$(near 100 %h)
    done
    [[ -z $result ]]
}

check_window() { # TITLE FORM W H
    e2e_poll 60 e2e_find_window "$1" || e2e_fail "no $2: $(tail "$E2E_DIR/program.log")"
    e2e_poll 30 as_table_says "${@:2}" || e2e_fail "$2 at $dpi dpi: $result"
    echo "$2 at $dpi dpi: as its table says; text $height pixels high"
}

start() { # ARGS...
    if [[ $toolkit == qt ]]; then
        e2e_start_program "$program" now "$@"
    else
        wine "$program" "$@" </dev/null >>"$E2E_DIR/program.log" 2>&1 & E2E_PID=$!
    fi
}

for dpi in 96 $([[ $toolkit == qt ]] || echo 144); do
    if [[ $toolkit == win32 ]]; then
        reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
        wine_down # every process of the prefix reads it once, when it starts
    fi
    start
    check_window '^Vorlix定时关机软件' Form1 7320 4050
    h96=${h96:-$height}
    # Half as large again at 144 dpi, give or take a pixel of rounding.
    ((dpi == 96 || (height * 2 - h96 * 3) ** 2 <= 4)) ||
        e2e_fail "the clock's text is $h96 pixels high at 96 dpi and $height at 144"
    xdotool mousemove --window "$E2E_WINDOW" "$(px 1567)" "$(px 2587)" click 1 # "参数设置"
    check_window '^参数设置$' Form2 4200 2325
    e2e_stop_pid "$E2E_PID"
    # Armed with less than a minute left, the warning shows at once; it goes before it can run.
    start --in 55s --arm
    check_window '^定时关机提醒$' Form3 5400 1440
    e2e_stop_pid "$E2E_PID"
done
echo PASS
