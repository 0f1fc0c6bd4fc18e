#!/usr/bin/env bash
# The game played through a gamepad: padplay plays SCRIPT on a simulated
# controller (MODE dpad or stick) with a window (SDL's virtual controller),
# recording the run. The run must pass the title and the stage select, clear
# stage 1, and record exactly the script's key events; the recording replayed
# as keys must give the same scene changes. With --no-pad-keys the pad does
# nothing and the game stays on its title.
#   check_pad.sh PADPLAY KASAMPLE SCRIPT MODE   (MODE dpad, stick or whole)
set -u
padplay=$1 kasample=$2 script=$3 mode=$4

run_dir=$(mktemp -d)
trap 'rm -rf "$run_dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# MODE whole: a whole-game script played headless on the scripted pad, once
# with the D-pad and once with the stick, must take the course the same
# script takes as keys, to the staff roll and back to the title.
if [[ $mode == whole ]]; then
  frames=$(awk '!/^[ \t]*(#|$)/ { f = $1 } END { print f + 700 }' "$script")
  XDG_RUNTIME_DIR=$run_dir timeout 100 "$kasample" --headless --replay "$script" --trace --frames "$frames" \
    >"$run_dir/keys.trace" 2>/dev/null || fail "the replay as keys failed"
  grep -q ' state 7 -> 0 ' "$run_dir/keys.trace" || fail "the script does not reach the title again"
  for steer in "" --pad-stick; do
    XDG_RUNTIME_DIR=$run_dir timeout 100 "$padplay" --headless --pad-script "$script" $steer --trace \
      --frames "$frames" >"$run_dir/pad.trace" 2>/dev/null || fail "padplay $steer failed"
    diff <(grep ' state ' "$run_dir/keys.trace") <(grep ' state ' "$run_dir/pad.trace") | head -5
    cmp -s <(grep ' state ' "$run_dir/keys.trace") <(grep ' state ' "$run_dir/pad.trace") ||
      fail "the pad ${steer:-(D-pad)} took another course than the keys"
  done
  echo "ok: the whole game on the pad, D-pad and stick, as with the keys"
  exit 0
fi

stick=()
[[ $mode == stick ]] && stick=(--pad-stick)
frames=1560

XDG_RUNTIME_DIR=$run_dir timeout 100 "$padplay" --windowed --pad-script "$script" "${stick[@]}" \
  --record "$run_dir/rec.txt" --trace --frames $frames >"$run_dir/pad.trace" 2>"$run_dir/pad.err"
status=$?
[[ $status == 0 ]] || { cat "$run_dir/pad.err"; fail "padplay ended with $status"; }
! grep -q 'kaDraw\|kaSound' "$run_dir/pad.err" || { cat "$run_dir/pad.err"; fail "the game reported errors"; }
grep -q ' state 0 -> 1 ' "$run_dir/pad.trace" || fail "the title was not left"
grep -q ' state 1 -> 9 ' "$run_dir/pad.trace" || fail "no stage was chosen"
grep -q ' state 3 -> 5 stage 1 treasures 0 ' "$run_dir/pad.trace" || fail "stage 1 was not cleared"

events() { awk '!/^[ \t]*(#|$)/ { k = toupper($2); sub(/^0X/, "", k); print $1, k, $3 }' "$1"; }
[[ $(events "$run_dir/rec.txt" | wc -l) -gt 10 ]] || fail "the recording holds no key events"
diff <(events "$script") <(events "$run_dir/rec.txt") >"$run_dir/diff" ||
  { head "$run_dir/diff"; fail "the recording differs from the script"; }

XDG_RUNTIME_DIR=$run_dir timeout 60 "$kasample" --headless --replay "$run_dir/rec.txt" --trace --frames $frames \
  >"$run_dir/keys.trace" 2>/dev/null || fail "the replay of the recording failed"
diff <(grep ' state ' "$run_dir/pad.trace") <(grep ' state ' "$run_dir/keys.trace") ||
  fail "the recording replayed as keys took another course"

if [[ $mode == dpad ]]; then
  XDG_RUNTIME_DIR=$run_dir timeout 60 "$padplay" --windowed --no-pad-keys --pad-script "$script" --trace \
    --frames 120 >"$run_dir/off.trace" 2>/dev/null || fail "padplay --no-pad-keys failed"
  ! grep -q ' state ' "$run_dir/off.trace" || fail "the pad moved the game with --no-pad-keys"
fi
echo "ok: stage 1 cleared with the $mode; recording and replay agree"
