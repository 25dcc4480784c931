#!/usr/bin/env bash
# Installs, from Debian's packages, whatever building, running and testing pellix needs and this
# machine lacks; makes the Japanese locale when it is missing. Does nothing when all is there.
set -euo pipefail

# fonts-wine is only a recommendation of Wine's, which --no-install-recommends leaves out: without
# its symbol font the title bars' buttons are drawn as letters.
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  wine wine64 fonts-wine xvfb xdotool xclip x11-utils fonts-ipafont-gothic locales python3
  python3-pytest python3-pytest-xdist python3-xlib syncthing
  clang-format
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q
  as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "Making the ja_JP.UTF-8 locale"
  as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
