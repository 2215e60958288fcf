#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(cmake make g++ gcc libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev libpng-dev g++-multilib qemu-user
          g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 clang lld
          wine wine32 wine64 xvfb xdotool imagemagick)

# Installs those of the given packages that are missing.
install_missing() {
  local missing=() p query
  for p in "$@"; do
    query="$p"
    [ "$p" = "wine32" ] && query="wine32:i386"
    if ! dpkg-query -W -f='${Status}' "$query" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -q
    need_update=""
    if [ ${#missing[@]} -gt 0 ]; then
      DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]/wine32/wine32:i386}"
    fi
  fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

install_missing "${packages[@]}"

# The sanitizer and libFuzzer runtimes of the clang just installed, whatever its version.
clang_major=$(clang --version | sed -nE 's/.*clang version ([0-9]+).*/\1/p' | head -1)
if [ -z "$clang_major" ]; then
  echo "install_deps.sh: cannot tell the version of the installed clang" >&2
  exit 1
fi
install_missing "libclang-rt-$clang_major-dev"
