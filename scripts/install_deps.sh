#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(cmake make g++ gcc libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
          g++-mingw-w64-i686 binutils-mingw-w64-i686 clang lld libclang-rt-14-dev
          wine wine32 xvfb xdotool imagemagick)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  query="$p"
  [ "$p" = "wine32" ] && query="wine32:i386"
  if ! dpkg-query -W -f='${Status}' "$query" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]/wine32/wine32:i386}"
  fi
fi
