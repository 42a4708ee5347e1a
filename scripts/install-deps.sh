#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and is not there yet.
# Safe to run again: it does nothing when everything is installed.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick python3
  libgtest-dev googletest libbenchmark-dev
  xboard polyglot fairymax
  locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
