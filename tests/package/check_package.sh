#!/usr/bin/env bash
# Usage: check_package.sh deb|zip CMAKE CPACK BUILD_DIR VERSION SOURCE_DIR [PROGRAM]
set -euo pipefail
kind=$1 cmake=$2 cpack=$3 build=$4 version=$5 source=$6
fail() { echo "FAIL: $*" >&2; exit 1; }
scratch=$(mktemp -d "$build/package-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# Fails unless the files below FOLDER are exactly PATHS, sorted.
same_files() {
    [[ $(find "$1" ! -type d -printf '%P\n' | LC_ALL=C sort) == "$(printf '%s\n' "${@:2}")" ]] ||
        fail "in $1: $(find "$1" ! -type d -printf '%P ')"$'\n'"expected: ${*:2}"
}

package=vorlix-shutdown-$version-win64.zip
[[ $kind == zip ]] || package=vorlix-shutdown_${version}_$(dpkg --print-architecture).deb
"$cpack" -G "${kind^^}" --config "$build/CPackConfig.cmake" -B out >/dev/null
[[ $(find out -maxdepth 1 -type f) == "out/$package" ]] || fail "packed: $(find out -maxdepth 1)"
if [[ $kind == zip ]]; then
    mkdir unpacked
    cd unpacked
    "$cmake" -E tar xf "../out/$package"
    same_files . LICENSE README.md vorlix-shutdown.exe 使用说明.txt
    cmp vorlix-shutdown.exe "$7"
    cmp LICENSE "$source/LICENSE"
    cmp README.md "$source/README.md"
    # The Chinese guide as any Notepad reads it: a UTF-8 byte order mark, every line ending in CR LF.
    [[ $(head -c 3 使用说明.txt) == $'\xef\xbb\xbf' ]] || fail "使用说明.txt starts without a BOM"
    grep -nv $'\r$' 使用说明.txt && fail "the lines above of 使用说明.txt end without CR"
    tail -c +4 使用说明.txt | tr -d '\r' | cmp - "$source/README.zh-CN.md"
    # Windows shows the names as UTF-8 only where the archive says so (general purpose flag 11).
    python3 -c 'import sys, zipfile; sys.exit(any(not i.flag_bits & 0x800 and not i.filename.isascii()
                for i in zipfile.ZipFile(sys.argv[1]).infolist()))' "../out/$package" ||
        fail "the archive does not mark its file names as UTF-8"
    exit
fi
# DESTDIR shows up a rule with an absolute destination, which would escape the prefix.
DESTDIR=$scratch/root "$cmake" --install "$build" --prefix /usr/local >/dev/null
dpkg-deb -x "out/$package" deb
lintian --fail-on error,warning "out/$package" >lintian 2>&1 || fail "lintian: $(cat lintian)"
# The program, its menu entry and its icon in both forms the hicolor theme looks for.
for tree in root:usr/local deb:usr; do
    dir=${tree%:*} prefix=${tree#*:} share=$prefix/share
    same_files "$dir" "$prefix"/{bin/vorlix-shutdown,share/applications/vorlix-shutdown.desktop} \
        "$share"/doc/vorlix-shutdown/{changelog.gz,copyright} \
        "$share"/icons/hicolor/{48x48/apps/vorlix-shutdown.png,scalable/apps/vorlix-shutdown.svg} \
        "$share"/man/{man1,zh_CN/man1}/vorlix-shutdown.1.gz \
        "$share"/metainfo/invalid.vorlix.shutdown.metainfo.xml
    desktop-file-validate "$dir/$share/applications/vorlix-shutdown.desktop"
done
# What software centres list: the metainfo, and the menu entry it names there beside it.
appstreamcli validate-tree --no-net deb >appstream || fail "AppStream: $(cat appstream)"
# Debian's copyright file carries the licence: every line of its text, indented as the format asks.
doc=deb/usr/share/doc/vorlix-shutdown
grep -qx 'License: Expat' "$doc/copyright" || fail "the copyright file names no licence"
sed -n '/^Permission/,$ { /./ s/^/ /p }' "$source/LICENSE" | grep -vxFf "$doc/copyright" &&
    fail "the copyright file lacks the lines above"
changelog=$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[[ $changelog == "$version" ]] || fail "the changelog's latest entry is $changelog"
# Each manual page's synopsis names the options --help names, and its footer the version.
options() { grep -oP '(?<![\w-])--?[a-z]+' | LC_ALL=C sort -u | tr '\n' ' '; }
run() { XDG_CONFIG_HOME=$scratch deb/usr/bin/vorlix-shutdown "$@"; }
said=$(run --version)
[[ $said == "vorlix-shutdown (Vorlix定时关机软件) $version" ]] || fail "--version said: $said"
help=$(run --help | options)
for page in deb/usr/share/man/{,zh_CN/}man1/vorlix-shutdown.1.gz; do
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page")
    synopsis=$(awk '/^[^ ]/ { n++ } n == 3' <<<"$text" | options)
    [[ $synopsis == "$help" ]] || fail "$page's synopsis: $synopsis; --help: $help"
    [[ $(tail -n 1 <<<"$text") == "vorlix-shutdown $version "* ]] || fail "$page is of another version"
done
# The recipes: the daily timer as systemd reads it, with the program from the .deb, the playbook
# that installs both on many computers, and the units as the README and the guide show them.
recipes=$source/recipes
mkdir units run
cp "$recipes/vorlix-shutdown.timer" units
sed "s|/usr/bin/|$scratch/deb&|" "$recipes/vorlix-shutdown.service" >units/vorlix-shutdown.service
said=$(XDG_RUNTIME_DIR=$scratch/run systemd-analyze verify --user units/* 2>&1) && [[ -z $said ]] ||
    fail "systemd-analyze: $said"
HOME=$scratch LC_ALL=C.UTF-8 ansible-playbook --syntax-check -i localhost, \
    "$recipes/daily-shutdown.yml" >/dev/null || fail "the playbook is not sound"
for unit in "$recipes"/vorlix-shutdown.*; do
    [[ $(<"$source/README.md") == *$'```ini\n'"$(<"$unit")"$'\n```'* &&
        $(<"$source/README.zh-CN.md") == *"$(sed 's/^./    &/' "$unit")"* ]] ||
        fail "the README or its Chinese guide shows another ${unit##*/}"
done
# The Qt libraries the packed program links, and what it loads: Qt's platform plugin and Song type.
qt=$(readelf -d deb/usr/bin/vorlix-shutdown |
    sed -n 's/.*Shared library: \[libQt6\([A-Za-z]*\)\.so\.6\]/Depends:libqt6\L\1\E6/p')
[[ $qt == *libqt6widgets6* ]] || fail "the packed program does not link Qt 6 Widgets"
for needed in Package:vorlix-shutdown "Version:$version" $qt Depends:{libc6,libstdc++6} \
    Depends:{qt6-qpa-plugins,fonts-noto-cjk} Recommends:qt6-translations-l10n; do
    dpkg-deb -f "out/$package" "${needed%%:*}" | tr ',|' '\n' | sed 's/(.*//; s/ //g' |
        grep -qx -- "${needed#*:}" || fail "${needed%%:*} lacks ${needed#*:}"
done
