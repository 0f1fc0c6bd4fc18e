#!/usr/bin/env bash
# Makes the README's screenshots (docs/screenshots/*.png) with the game's own
# --screenshot, from the stored whole-game scripts: the same frames every
# time, since a headless replay is deterministic.
#   tools/screenshots.sh [BUILD_DIR]      (after building; needs ImageMagick)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build}/bin/kasample
out=docs/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# NAME SCRIPT FRAMES: the picture shown on the last of FRAMES frames.
shoot() {
  XDG_RUNTIME_DIR=$work "$program" --headless --replay "resources/replays/$2" --frames "$3" \
    --screenshot "$work/$1.bmp" >/dev/null
  /usr/bin/convert "$work/$1.bmp" -strip "$out/$1.png"
  echo "$out/$1.png"
}

shoot title game-ending1.txt 30
shoot stage game-ending1.txt 12000
shoot ending game-ending1.txt 19700
