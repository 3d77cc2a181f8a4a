#!/usr/bin/env bash
# Installs and packs a finished build the way a release is made, then checks that exactly the files
# a user needs land where a desktop (or Windows) looks for them, and that the .deb pulls in what the
# program loads at run time.
#
#   check_package.sh deb CMAKE CPACK BUILD_DIR VERSION
#   check_package.sh zip CMAKE CPACK BUILD_DIR VERSION PROGRAM README
set -euo pipefail

kind=$1 cmake=$2 cpack=$3 build=$4 version=$5

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

scratch=$(mktemp -d "$build/package-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# The files below a folder, one relative path a line, sorted.
files_below() { (cd "$1" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort); }

same_list() {
    local what=$1 expected=$2 actual=$3
    [[ $actual == "$expected" ]] && return
    echo "$what differ (< expected, > found):" >&2
    diff <(echo "$expected") <(echo "$actual") >&2
    exit 1
}

# Packs into out/ and prints the one package made there, which must bear the expected name.
pack() {
    local generator=$1 name=$2
    "$cpack" -G "$generator" --config "$build/CPackConfig.cmake" -B "$scratch/out" >&2
    same_list "packages made" "$name" "$(cd out && find . -maxdepth 1 -type f | sed 's|^\./||')"
    echo "$scratch/out/$name"
}

# An installed Linux tree below ROOT with its prefix PREFIX: the program, the menu entry naming it
# and its icon, and the icon in the two forms the hicolor theme looks in.
check_linux_tree() {
    local root=$1 prefix=$2 what=$3
    local expected=(
        bin/vorlix-shutdown
        share/applications/vorlix-shutdown.desktop
        share/icons/hicolor/48x48/apps/vorlix-shutdown.png
        share/icons/hicolor/scalable/apps/vorlix-shutdown.svg
    )
    same_list "$what" "$(printf '%s\n' "${expected[@]/#/${prefix#/}/}")" "$(files_below "$root")"

    local base=$root$prefix
    [[ -x $base/bin/vorlix-shutdown ]] || fail "$what: the program is not executable"

    local desktop=$base/share/applications/vorlix-shutdown.desktop
    command -v desktop-file-validate >/dev/null ||
        fail "desktop-file-validate is missing (package desktop-file-utils)"
    desktop-file-validate "$desktop" || fail "$what: the menu entry is not valid"
    # The desktop finds the program on PATH and the icon in the theme by these names alone.
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [[ -x $base/bin/$exec ]] || fail "$what: the menu entry starts '$exec', which is not installed"
    [[ -f $base/share/icons/hicolor/48x48/apps/$icon.png &&
        -f $base/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
        fail "$what: the menu entry's icon '$icon' is not installed"
}

# The package names in a Depends or Recommends field, one a line, without versions.
field_packages() { tr ',|' '\n' <<<"$1" | sed 's/(.*//; s/ //g; /^$/d'; }

check_deb() {
    # DESTDIR catches a rule with an absolute destination, which would escape the prefix.
    DESTDIR=$scratch/root "$cmake" --install "$build" --prefix /usr/local
    check_linux_tree "$scratch/root" /usr/local "installed files"

    local deb
    deb=$(pack DEB "vorlix-shutdown_${version}_$(dpkg --print-architecture).deb")
    [[ $(dpkg-deb -f "$deb" Package) == vorlix-shutdown ]] || fail "wrong package name"
    [[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "wrong package version"
    dpkg-deb -x "$deb" "$scratch/deb"
    check_linux_tree "$scratch/deb" /usr "files in the .deb"

    # Every Qt library the packed program links, whichever they are, plus what it loads at run
    # time: the platform plugin, the Song typeface.
    local qt
    qt=$(readelf -d "$scratch/deb/usr/bin/vorlix-shutdown" |
        sed -n 's/.*Shared library: \[libQt6\([A-Za-z]*\)\.so\.6\]/libqt6\L\1\E6/p')
    [[ $qt == *libqt6widgets6* ]] || fail "the packed program does not link Qt 6 Widgets"
    local depends needed
    depends=$(field_packages "$(dpkg-deb -f "$deb" Depends)")
    for needed in $qt libc6 libstdc++6 qt6-qpa-plugins fonts-noto-cjk; do
        grep -qx -- "$needed" <<<"$depends" ||
            fail "Depends lacks $needed: $(dpkg-deb -f "$deb" Depends)"
    done
    field_packages "$(dpkg-deb -f "$deb" Recommends)" | grep -qx qt6-translations-l10n ||
        fail "Recommends lacks qt6-translations-l10n"
}

check_zip() {
    local program=$1 readme=$2 zip
    zip=$(pack ZIP "vorlix-shutdown-$version-win64.zip")
    same_list "files in the .zip" "$(printf '%s\n' README.md vorlix-shutdown.exe)" \
        "$("$cmake" -E tar tf "$zip" | LC_ALL=C sort)"
    mkdir unpacked
    (cd unpacked && "$cmake" -E tar xf "$zip")
    cmp -s unpacked/vorlix-shutdown.exe "$program" || fail "the .zip holds another program"
    cmp -s unpacked/README.md "$readme" || fail "the .zip holds another README"
}

case $kind in
deb) check_deb ;;
zip) check_zip "$6" "$7" ;;
*) fail "unknown package kind '$kind'" ;;
esac
