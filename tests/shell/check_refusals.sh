#!/usr/bin/env bash
# The program as a new player meets it, run by hand the way they would:
# headless runs beside a running copy, a windowed second copy that says why it
# ends, no display, a sound capture or a script that cannot be used, and a
# program copied without its sound folders.
#   check_refusals.sh KASAMPLE SCRIPT
set -u
program=$1 script=$2

work=$(mktemp -d)
trap 'kill "$holder" 2>/dev/null; rm -rf "$work"' EXIT
holder=0
export XDG_RUNTIME_DIR=$work SDL_AUDIODRIVER=dummy
failures=0
check() {  # NAME WANTED-STATUS STDERR-PATTERN (- for none) COMMAND...
  local name=$1 want=$2 pattern=$3
  shift 3
  timeout 30 "$@" >"$work/out" 2>"$work/err"
  local status=$?
  local said=1
  if [[ $pattern == - ]]; then [[ -s $work/err ]] && said=0; else grep -qE -- "$pattern" "$work/err" || said=0; fi
  if [[ $status != "$want" || $said == 0 ]]; then
    echo "FAIL: $name: status $status (wanted $want), standard error:"
    cat "$work/err"
    failures=$((failures + 1))
  fi
}

# A copy holds the single-instance lock (as a windowed game would).
(exec 9>"$work/kaサンプル_KaMutex.lock" && flock -n 9 && exec sleep 60) &
holder=$!
sleep 0.3
check "headless beside a running copy" 0 - "$program" --headless --frames 3 --screenshot "$work/x.bmp"
[[ -s $work/x.bmp ]] || { echo "FAIL: the headless run beside a running copy wrote no screenshot"; failures=$((failures + 1)); }
check "windowed second copy" 0 'another copy is already running' env SDL_VIDEODRIVER=dummy "$program" --frames 3
kill "$holder"
wait "$holder" 2>/dev/null

check "no display" 1 'headless' env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$program" --frames 3
check "capture file cannot be written" 1 'cannot write' "$program" --headless --frames 3 --audio-capture "$work/no/such/x.wav"
check "scale out of range" 2 '1 to 8' "$program" --headless --scale 9

# The same file for --record and --replay, however it is spelt.
cp "$script" "$work/s.txt"
ln "$work/s.txt" "$work/link.txt"
check "record onto the replay" 2 'also the --replay file' "$program" --headless --replay "$work/s.txt" --record "$work/./link.txt"
check "replay of the recording" 2 'also the --record file' "$program" --headless --record "$work/s.txt" --replay "$work//s.txt"
cmp -s "$script" "$work/s.txt" || { echo "FAIL: the script was changed"; failures=$((failures + 1)); }
check "replay of a device" 2 'not a regular file' "$program" --headless --replay /dev/zero
check "replay of a folder" 2 'not a regular file' "$program" --headless --replay "$work"

# Copied without music/ and with a damaged effect: one line per file.
mkdir -p "$work/bare/wave"
cp "$program" "$work/bare/"
echo "not a sound" >"$work/bare/wave/get.WAV"
check "bare program" 0 'LoadObject' "$work/bare/kasample" --headless --frames 1
[[ $(grep -c '^kaSound::LoadObject: .*/music/[a-z0-9]*\.WAV: no such file$' "$work/err") == 8 ]] &&
  [[ $(grep -c "^kaSound::LoadObject: $work/bare/wave/get.WAV: not a WAV file" "$work/err") == 1 ]] &&
  [[ $(grep -c 'WAVEリソースが見つかりません' "$work/err") == 13 ]] ||
  { echo "FAIL: the failed loads are not named one per line:"; cat "$work/err"; failures=$((failures + 1)); }

[[ $failures == 0 ]] && echo "ok: every refusal and message as expected"
exit $((failures > 0))
