#!/bin/sh
# Renders the application icon's PNG sizes from its two drawings (needs rsvg-convert, package
# librsvg2-bin). The PNGs are kept in the tree, so a build needs no SVG renderer.
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  drawing=corvane.svg
  [ "$size" -le 24 ] && drawing=corvane-small.svg
  rsvg-convert -w "$size" -h "$size" "$drawing" -o "corvane-$size.png"
done
