#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing.
# Usage: scripts/deps.sh [extra package ...]
set -euo pipefail

packages=(cmake g++ ninja-build libgtest-dev qt6-base-dev fonts-liberation2 xvfb xauth "$@")
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=sudo
  else
    echo "error: packages ${missing[*]} are missing and this user cannot install them." >&2
    echo "       Run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
else
  SUDO=
fi
if ! { $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"; }; then
  echo "error: apt-get could not install ${missing[*]}; check the package sources." >&2
  exit 1
fi
