#!/usr/bin/env bash
# Escape ends the game from any scene: plays SCRIPT headless with an Escape
# press added at FRAME, and checks that the game was then in SCENE, that the
# program ended with 0, and that no frame ran after the one Escape reached.
#   check_escape.sh KASAMPLE SCRIPT FRAME SCENE
set -u
program=$1 script=$2 frame=$3 scene=$4

run_dir=$(mktemp -d)
trap 'rm -rf "$run_dir"' EXIT
awk -v f="$frame" '/^[ \t]*(#|$)/ { next }
  !done && $1 >= f { print f " 0x1B down"; done = 1 }
  { print }
  END { if (!done) print f " 0x1B down" }' "$script" >"$run_dir/script"

XDG_RUNTIME_DIR=$run_dir timeout 120 "$program" --headless --replay "$run_dir/script" --trace >"$run_dir/trace" 2>&1
status=$?
fail() { echo "FAIL: $*"; tail -5 "$run_dir/trace"; exit 1; }
[[ $status == 0 ]] || fail "exit status $status"

# The scene Escape met: the last scene change before its frame.
last=$(awk -v f="$frame" '$1 == "frame" && $2 < f && $3 == "state" { s = $6 } END { print s }' "$run_dir/trace")
[[ ${last:-0} == "$scene" ]] || fail "Escape came in scene ${last:-0}, not $scene"
after=$(awk -v f="$frame" '$1 == "frame" && $2 > f' "$run_dir/trace" | head -1)
[[ -z $after ]] || fail "the game went on after Escape: $after"
echo "ok: Escape at frame $frame in scene $scene"
