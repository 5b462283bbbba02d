#!/usr/bin/env bash
# Makes the program's .ico files from Debian's tango-icon-theme (public domain), one per line of a list.
# Usage: make-icons.sh <icons.txt> <output folder>
set -euo pipefail
list=$1
out=$2
theme=/usr/share/icons/Tango
mkdir -p "$out"
while read -r name sizes icon; do
  case "$name" in '' | '#'*) continue ;; esac
  pictures=()
  for size in ${sizes//,/ }; do
    picture=$theme/${size}x${size}/$icon.png
    [ -f "$picture" ] || { echo "make-icons: $picture is missing (is tango-icon-theme installed?)" >&2; exit 1; }
    pictures+=("$picture")
  done
  convert "${pictures[@]}" "ICO:$out/$name.ico.tmp" && mv "$out/$name.ico.tmp" "$out/$name.ico"
done <"$list"
