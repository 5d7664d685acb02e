#!/bin/sh
# Renders the program's icon into the PNG sizes that are installed and built into the
# program (dist/icons/markora-N.png). Run after changing dist/markora.svg or
# dist/markora-small.svg, and commit the PNGs. Needs rsvg-convert (Debian: librsvg2-bin).
set -eu
cd "$(dirname "$0")/../dist"
for size in 16 22 24 32 48 64 128 256; do
    # Below 32 px the drawing made on a 16-pixel grid stays sharp.
    if [ "$size" -lt 32 ]; then svg=markora-small.svg; else svg=markora.svg; fi
    rsvg-convert --width "$size" --height "$size" "$svg" --output "icons/markora-$size.png"
done
