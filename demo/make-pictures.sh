#!/usr/bin/env bash
# Draws the demo release's pictures with ImageMagick into the given Data folder:
# the side pictures of the wizard pages (164 x 313, 24-bit Windows bitmaps) and
# Icon.ico of the About dialog.
# Usage: demo/make-pictures.sh <Data folder>
set -euo pipefail

data=${1:?usage: make-pictures.sh <Data folder>}
mkdir -p "$data"

# One side picture: a vertical gradient, soft circles, a white motif near the
# top and the release's name at the bottom.
side_picture() {
  local file=$1 top=$2 bottom=$3
  shift 3
  convert -size 164x313 gradient:"$top"-"$bottom" \
    -fill 'rgba(255,255,255,0.10)' -draw 'circle 140,40 140,-30' \
    -fill 'rgba(255,255,255,0.08)' -draw 'circle 20,250 20,170' \
    -fill white -stroke white "$@" \
    -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 22 \
    -gravity south -annotate +0+46 'Demo' \
    -font DejaVu-Sans -pointsize 15 -annotate +0+26 'Update Pack' \
    -alpha off -type TrueColor "BMP3:$data/$file"
}

# Welcome: a parcel with a ribbon.
side_picture Willkommen.bmp '#4FA3E0' '#0B3D91' \
  -strokewidth 0 -draw 'roundrectangle 42,70 122,150 8,8' \
  -fill '#0B3D91' -draw 'rectangle 76,70 88,150' -draw 'rectangle 42,102 122,114' \
  -fill none -stroke white -strokewidth 5 -draw 'ellipse 70,60 14,9 0,360' \
  -draw 'ellipse 94,60 14,9 0,360'

# Method: one road that forks into two.
side_picture Methode.bmp '#5CC08A' '#12603A' \
  -fill none -strokewidth 9 -draw 'line 82,160 82,115' \
  -draw 'bezier 82,118 82,90 50,90 50,62' -draw 'bezier 82,118 82,90 114,90 114,62' \
  -fill white -strokewidth 1 -draw 'polygon 36,66 64,66 50,44' -draw 'polygon 100,66 128,66 114,44'

# Summary: a sheet with ticked lines.
side_picture Zusammenfassung.bmp '#F2B14C' '#A0520B' \
  -strokewidth 0 -draw 'roundrectangle 46,50 118,158 6,6' \
  -fill none -stroke '#A0520B' -strokewidth 4 \
  -draw 'stroke-linejoin round polyline 56,76 61,82 70,70' \
  -draw 'stroke-linejoin round polyline 56,102 61,108 70,96' \
  -draw 'stroke-linejoin round polyline 56,128 61,134 70,122' \
  -strokewidth 3 -draw 'line 78,77 108,77' -draw 'line 78,103 108,103' -draw 'line 78,129 108,129'

# Finish: a ticked circle.
side_picture Fertig.bmp '#8A7BE0' '#33217A' \
  -fill none -strokewidth 8 -draw 'circle 82,105 82,55' \
  -strokewidth 12 -draw 'stroke-linejoin round polyline 58,106 76,124 108,86'

# The icon: a blue box with a white parcel, drawn large and scaled down so each
# size of the .ico is smooth.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 256x256 xc:none \
  -fill '#0B3D91' -draw 'roundrectangle 12,12 244,244 44,44' \
  -fill '#4FA3E0' -draw 'roundrectangle 12,12 244,120 44,44' -draw 'rectangle 12,80 244,120' \
  -fill white -draw 'roundrectangle 64,78 192,200 12,12' \
  -fill '#0B3D91' -draw 'rectangle 118,78 138,200' -draw 'rectangle 64,128 192,148' \
  "$work/icon-256.png"
for size in 48 32 16; do
  convert "$work/icon-256.png" -filter Lanczos -resize ${size}x${size} "$work/icon-$size.png"
done
convert "$work/icon-48.png" "$work/icon-32.png" "$work/icon-16.png" "$data/Icon.ico"
