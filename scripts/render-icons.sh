#!/usr/bin/env bash
# Renders the application icons (packaging/icons/*.svg) into the PNG sizes
# of the hicolor theme. The PNGs are committed; run this after editing an SVG.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for svg in *.svg; do
  for size in 16 24 32 48 64 128 256; do
    mkdir -p "$size"
    rsvg-convert --width "$size" --height "$size" "$svg" --output "$size/${svg%.svg}.png"
  done
done
