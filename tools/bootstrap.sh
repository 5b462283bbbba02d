#!/usr/bin/env bash
# Installs what the build, the tests and the dependency build need. Idempotent and quiet when all is there.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix mingw-w64-tools libz-mingw-w64-dev nasm cmake make
  wine wine32:i386 fonts-wine xvfb xauth x11-utils imagemagick libtiff-tools dpkg-dev googletest locales
  python3 tango-icon-theme clang libclang-rt-14-dev zlib1g-dev libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev
)

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
# A mirror that fails once is asked again before the build gives up.
retried() { "$@" || { sleep 5; "$@"; } || { sleep 20; "$@"; }; }

needs_update=0

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_ dpkg --add-architecture i386
  needs_update=1
fi

# Source packages of the machine's own suites, for the dependency build.
if ! grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      sudo_ tee /etc/apt/sources.list.d/orlo-deb-src.sources >/dev/null
  else
    grep -E '^deb ' /etc/apt/sources.list | sed -E 's/^deb /deb-src /' |
      sudo_ tee /etc/apt/sources.list.d/orlo-deb-src.list >/dev/null
  fi
  needs_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ $needs_update -eq 1 ]; then
  echo "bootstrap: installing ${missing[*]:-(package lists only)}"
  retried sudo_ apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive retried sudo_ apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi
