#!/usr/bin/env bash
# Draws the PNG sizes of the program's icon from packaging/icons/morvo.svg; run after changing
# the SVG and commit the PNGs with it. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" morvo.svg --output "morvo-$size.png"
done
