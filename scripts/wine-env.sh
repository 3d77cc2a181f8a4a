# shellcheck shell=bash
# Sourced: a Wine of the project's own for the Windows tests. It uses a prefix under the build
# folder, no display (Wine's null driver), no crash dialogs and a Chinese locale, so that the
# ANSI code page is 936 (GBK) as on a Chinese Windows. Creates the prefix and the locale once.
#
#   source scripts/wine-env.sh
#   vorlix_wine_start; ctest --preset windows; vorlix_wine_stop

vorlix_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEPREFIX=${VORLIX_WINEPREFIX:-$vorlix_root/build/windows/wineprefix}
export WINEDLLOVERRIDES='mscoree,mshtml='
export WINEDEBUG=-all
# Without the zh_CN.UTF-8 locale Wine cannot map the Chinese file name of the settings file to a
# Linux one; it is built into the project's folder so that the system stays as it is.
export LOCPATH=$vorlix_root/build/locale
if [[ ! -d $LOCPATH/zh_CN.UTF-8 ]]; then
    mkdir -p "$LOCPATH"
    # localedef warns about the locale source's own oddities and may exit non-zero for them.
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || true
    [[ -d $LOCPATH/zh_CN.UTF-8 ]] || {
        echo "wine-env.sh: cannot build the zh_CN.UTF-8 locale (package locales)" >&2
        return 1
    }
fi
# The shell itself cannot see a locale under LOCPATH and would warn; the programs it starts can.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 2>/dev/null

if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /d no-debugger.exe /f </dev/null >/dev/null 2>&1
    wineserver -w
fi

# CTest waits for the pipes Wine's background processes inherit unless a server is already
# running when the tests start them.
vorlix_wine_start() {
    wineserver -p
    wine wineboot </dev/null >/dev/null 2>&1
}

vorlix_wine_stop() {
    wineserver -k || true
}

# Windows shown on $DISPLAY through Wine's X11 driver, where the prefix made above draws nowhere.
# Every process of the prefix reads the driver once, as it starts: the server is left stopped.
vorlix_wine_x11() {
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f </dev/null >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w
}
