#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Vornix needs, and any
# further packages named on the command line (the fuzz and Windows checks ask for theirs).
# Safe to run again: when everything is present it only asks dpkg and returns.
# Usage: scripts/setup.sh [package...]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgraphicsmagick++1-dev libstb-dev zlib1g-dev libgtest-dev
  xvfb xauth
  shared-mime-info libfile-mimeinfo-perl xdg-utils
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
