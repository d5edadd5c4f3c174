#!/usr/bin/env bash
# Draws the program's main icon and the installation page's banner with
# ImageMagick. The results are committed, so a build needs neither this
# script nor ImageMagick; run it again only to change the pictures.
set -euo pipefail

out="$(cd "$(dirname "$0")/.." && pwd)/src/win32/resources"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The icon: a blue box with a white arrow pointing into a tray, drawn large
# and scaled down, so each size of the .ico is smooth.
convert -size 256x256 xc:none \
  -fill '#1B5FB0' -draw 'roundrectangle 16,16 240,240 40,40' \
  -fill '#2F7DD6' -draw 'roundrectangle 16,16 240,128 40,40' \
  -fill '#2F7DD6' -draw 'rectangle 16,90 240,128' \
  -fill white -draw 'polygon 104,44 152,44 152,112 188,112 128,172 68,112 104,112' \
  -fill white -draw 'rectangle 60,188 196,206' \
  "$work/icon-256.png"
for size in 48 32 16; do
  convert "$work/icon-256.png" -filter Lanczos -resize ${size}x${size} "$work/icon-$size.png"
done
convert "$work/icon-48.png" "$work/icon-32.png" "$work/icon-16.png" "$out/installer.ico"

# The banner, 437 x 60: a blue gradient with light circles and the name.
convert -size 60x437 gradient:'#4FA3E0'-'#0B3D91' -rotate 90 \
  -fill 'rgba(255,255,255,0.12)' -draw 'circle 360,30 360,-20' \
  -fill 'rgba(255,255,255,0.10)' -draw 'circle 405,52 405,20' \
  -fill 'rgba(255,255,255,0.15)' -draw 'circle 300,8 300,-14' \
  -fill white -font DejaVu-Sans-Bold -pointsize 26 -gravity west -annotate +18+0 'Installer' \
  -strip -quality 92 "$out/banner.jpg"

echo "make-resources: wrote $out/installer.ico and $out/banner.jpg"
