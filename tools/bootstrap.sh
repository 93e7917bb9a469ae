#!/usr/bin/env bash
# Installs everything the builds and tests need on a Debian 12 machine (run as root).
# Idempotent: when everything is present it only checks and returns within seconds.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache=${MOYUAN_DEPS:-$HOME/.cache/moyuan-capture}

packages=(
  cmake ninja-build make g++ file pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  libz-mingw-w64-dev
  wine wine64 fonts-wine
  xvfb xdotool x11-utils imagemagick fonts-wqy-microhei fonts-wqy-zenhei
  libpng-dev zlib1g-dev googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev python3 python3-pil dpkg-dev
)

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "bootstrap: missing packages and not root; install them: $*" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  need_root "${missing[@]}"
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # The package lists may be stale or absent on a fresh machine.
  apt-get update -qq || true
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || { apt-get update -qq; apt-get install -y -qq --no-install-recommends "${missing[@]}"; }
fi

"$here/tools/build-libpng-mingw.sh" "$cache"
