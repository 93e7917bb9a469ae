#!/usr/bin/env bash
# Builds libpng as a static library for both MinGW targets from Debian's own
# libpng1.6 source package, once, into the cache folder given as $1.
set -euo pipefail

cache=$1
here=$(cd "$(dirname "$0")/.." && pwd)
version=1.6.39
tarball=libpng1.6_${version}.orig.tar.gz
sha256=a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441
targets=(x86_64 i686)

all_built() {
  for t in "${targets[@]}"; do
    [ -f "$cache/libpng-$t/.built-$version" ] || return 1
  done
}
all_built && exit 0

mkdir -p "$cache/src"

fetch_source() {
  [ -f "$cache/src/$tarball" ] && sha256sum -c <<<"$sha256  $cache/src/$tarball" >/dev/null 2>&1 && return 0
  # A private apt configuration whose deb-src entries are derived from the machine's own
  # Debian sources; the system's apt state is left alone.
  local apt=$cache/apt
  rm -rf "$apt"; mkdir -p "$apt/sources.list.d" "$apt/lists/partial"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -qi debian "$f" || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$f" > "$apt/sources.list.d/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -nE 's/^deb (.*debian.*)/deb-src \1/p' /etc/apt/sources.list > "$apt/sources.list.d/debian-src.list"
  fi
  local opts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources.list.d"
              -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root)
  mkdir -p "$apt/cache/archives/partial"
  apt-get "${opts[@]}" update -qq
  # The newest listed version is sometimes missing from the mirror: try them newest first.
  local versions
  versions=$(apt-cache "${opts[@]}" showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -Vr | uniq)
  for v in $versions; do
    (cd "$cache/src" && apt-get "${opts[@]}" source --download-only -qq "libpng1.6=$v" >/dev/null 2>&1) || true
    if [ -f "$cache/src/$tarball" ] && sha256sum -c <<<"$sha256  $cache/src/$tarball" >/dev/null 2>&1; then
      return 0
    fi
    rm -f "$cache/src/$tarball"
  done
  echo "build-libpng-mingw: could not download a libpng1.6 source with $tarball" >&2
  exit 1
}

fetch_source
rm -rf "$cache/src/libpng-$version"
tar -xzf "$cache/src/$tarball" -C "$cache/src"

for t in "${targets[@]}"; do
  [ -f "$cache/libpng-$t/.built-$version" ] && continue
  echo "build-libpng-mingw: building libpng $version for $t"
  b=$cache/build-libpng-$t
  rm -rf "$b" "$cache/libpng-$t"
  cmake -S "$cache/src/libpng-$version" -B "$b" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$t.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$cache/libpng-$t" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >"$b.log" 2>&1 \
    || { cat "$b.log" >&2; exit 1; }
  cmake --build "$b" >>"$b.log" 2>&1 && cmake --install "$b" >>"$b.log" 2>&1 \
    || { cat "$b.log" >&2; exit 1; }
  touch "$cache/libpng-$t/.built-$version"
  rm -rf "$b"
done
