#!/usr/bin/env bash
# Plays a stored whole-game script headless with --trace and checks the trace:
# a clean exit, every one of the twelve stages started and cleared, no miss,
# and at the end the ending, the staff roll and the title, in that order.
#   check_trace.sh KASAMPLE SCRIPT ENDING(1|2)
set -u
program=$1 script=$2 ending=$3
want_scene=$([[ $ending == 1 ]] && echo 6 || echo 8)

# A lock folder of its own: other copies of the game may run at the same time.
run_dir=$(mktemp -d)
trap 'rm -rf "$run_dir"' EXIT
XDG_RUNTIME_DIR=$run_dir timeout 240 "$program" --headless --replay "$script" --trace >"$run_dir/trace" 2>"$run_dir/err"
status=$?
fail() { echo "FAIL: $*"; echo "--- scene changes:"; grep -- '->' "$run_dir/trace" | tail -20; cat "$run_dir/err"; exit 1; }
[[ $status == 0 ]] || fail "exit status $status"

changes=$(grep -E '^frame [0-9]+ state [0-9] -> [0-9] stage [0-9]+ treasures -?[0-9]+ found [0-9]$' "$run_dir/trace")
[[ -n $changes ]] || fail "no scene changes in the trace"
for stage in $(seq 1 12); do
  grep -qE "state 9 -> 3 stage $stage " <<<"$changes" || fail "stage $stage never started"
  grep -qE "state 3 -> 5 stage $stage treasures 0 " <<<"$changes" || fail "stage $stage never cleared"
done
grep -qE 'state 3 -> 4 ' <<<"$changes" && fail "the run has a miss"
tail_scenes=$(tail -3 <<<"$changes" | sed -E 's/.* -> ([0-9]).*/\1/' | tr '\n' ' ')
[[ $tail_scenes == "$want_scene 7 0 " ]] || fail "the run ends with scenes '$tail_scenes', not '$want_scene 7 0'"
if [[ $ending == 1 ]]; then
  grep -qE "state 5 -> 6 stage 12 treasures 0 found 5$" <<<"$changes" || fail "the first ending without five hidden items"
fi
echo "ok: $(wc -l <<<"$changes") scene changes, last at $(tail -1 <<<"$changes" | cut -d' ' -f2)"
