#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config dpkg-dev desktop-file-utils man-db appstream python3
  systemd ansible-core lintian
  qt6-base-dev qt6-translations-l10n fonts-noto-cjk
  libgtest-dev
  xvfb xdotool faketime x11-utils dbus-daemon imagemagick trayer
  g++-mingw-w64-x86-64 googletest wine wine64 locales
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
