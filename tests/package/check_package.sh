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

# Fails unless the files below FOLDER, as paths relative to it, are the EXPECTED ones.
same_files() {
    local found
    found=$(cd "$1" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
    [[ $found == "$(printf '%s\n' "${@:2}")" ]] || fail "in $1:"$'\n'"$found"$'\n'"expected: ${*:2}"
}

# Packs into out/ and fails unless the one package made there bears the name NAME.
pack() {
    "$cpack" -G "$1" --config "$build/CPackConfig.cmake" -B out >/dev/null
    [[ $(find out -maxdepth 1 -type f) == "out/$2" ]] || fail "packed: $(find out -maxdepth 1)"
}

# An installed Linux tree with its prefix: the program, its menu entry and its icon in the two
# forms the hicolor theme looks in.
check_linux_tree() {
    local share=${2#/}/share
    same_files "$1" "${2#/}/bin/vorlix-shutdown" "$share/applications/vorlix-shutdown.desktop" \
        "$share"/icons/hicolor/{48x48/apps/vorlix-shutdown.png,scalable/apps/vorlix-shutdown.svg}
    desktop-file-validate "$1$2/share/applications/vorlix-shutdown.desktop"
}

# The package names in a field of the .deb, one a line, without versions.
deb_field() { dpkg-deb -f "$deb" "$1" | tr ',|' '\n' | sed 's/(.*//; s/ //g; /^$/d'; }

case $kind in
deb)
    # DESTDIR catches a rule with an absolute destination, which would escape the prefix.
    DESTDIR=$scratch/root "$cmake" --install "$build" --prefix /usr/local >/dev/null
    check_linux_tree root /usr/local
    deb=out/vorlix-shutdown_${version}_$(dpkg --print-architecture).deb
    pack DEB "${deb#out/}"
    fields=$(dpkg-deb -f "$deb" Package Version)
    [[ $fields == "Package: vorlix-shutdown"$'\n'"Version: $version" ]] || fail "$fields"
    dpkg-deb -x "$deb" deb
    check_linux_tree deb /usr
    # Every Qt library the packed program links, plus what it loads at run time: the platform
    # plugin, the Song typeface.
    qt=$(readelf -d deb/usr/bin/vorlix-shutdown |
        sed -n 's/.*Shared library: \[libQt6\([A-Za-z]*\)\.so\.6\]/libqt6\L\1\E6/p')
    [[ $qt == *libqt6widgets6* ]] || fail "the packed program does not link Qt 6 Widgets"
    for needed in $qt libc6 libstdc++6 qt6-qpa-plugins fonts-noto-cjk; do
        deb_field Depends | grep -qx -- "$needed" || fail "Depends lacks $needed"
    done
    deb_field Recommends | grep -qx qt6-translations-l10n || fail "Recommends lacks translations"
    ;;
zip)
    pack ZIP "vorlix-shutdown-$version-win64.zip"
    mkdir unpacked
    (cd unpacked && "$cmake" -E tar xf "../out/vorlix-shutdown-$version-win64.zip")
    same_files unpacked README.md vorlix-shutdown.exe
    cmp unpacked/vorlix-shutdown.exe "$6" && cmp unpacked/README.md "$7"
    ;;
esac
