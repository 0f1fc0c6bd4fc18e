#!/usr/bin/env bash
# Draws resources/placeholder.bmp, the picture shown until the game's own
# screens exist: an 8-bit palettised BMP whose pure-blue parts are transparent.
# Needs ImageMagick 6 and the IPA Gothic font (see tools/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
out=resources/placeholder.bmp

# A rounded panel on a transparent (pure blue) ground, a transparent hole, a
# colour ramp (which also makes the palette need 8 bits) and two lines of text.
/usr/bin/convert -size 192x96 xc:'#0000FF' +antialias \
  -fill '#B03020' -draw 'roundrectangle 2,2 189,93 14,14' \
  -fill '#0000FF' -draw 'circle 172,18 172,25' \
  \( -size 8x160 gradient:'#20E040-#F0C020' -rotate -90 \) -geometry +16+80 -composite \
  -fill white -font "$font" -pointsize 28 -annotate +16+44 'kaサンプル' \
  -fill '#F0F080' -pointsize 14 -annotate +18+68 'placeholder' \
  -type Palette -colors 64 BMP3:"$out"
echo "wrote $out ($(stat -c %s "$out") bytes)"
