#!/usr/bin/env bash
# How fast the armed program raises the alarm on the headless rig: a loud tone into the sink
# (microphone, trigger duration 0) and an xdotool click (mouse), each to the first alarm sample
# at the sink's monitor, COUNT times each. Build first (cmake --build build).
#   bench/bench_trigger.sh [count]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
count=${1:-12}
alarm_hz=2000
# shellcheck source=scripts/headless-env.sh
source "$root/scripts/headless-env.sh"
start_rig >/dev/null
trap stop_rig EXIT

# Armed at the last close with both detectors on; no delays, one short sound per alarm, no
# pitch alteration.
mkdir -p "$XDG_CONFIG_HOME/Quillmere" "$XDG_DATA_HOME/Quillmere/Ostrel/Sounds"
cat >"$XDG_CONFIG_HOME/Quillmere/Ostrel.ini" <<'INI'
[SoftWare]
Quillmere\Ostrel\S\Alarm%20Active=T
Quillmere\Ostrel\S\ActMicDetectToggle=T
Quillmere\Ostrel\S\ActMouDetectToggle=T
Quillmere\Ostrel\S\set\frmMainspnActivationDelay=0
Quillmere\Ostrel\S\set\frmMainspnTriggerDelay=0
Quillmere\Ostrel\S\set\frmMaintrkMicTriggerDuration=0
Quillmere\Ostrel\S\set\frmMaintrkPersistence=0
Quillmere\Ostrel\S\set\frmMaintrkPersistenceRandom=0
Quillmere\Ostrel\S\set\frmMaintrkRandomAlteration=0
Quillmere\Ostrel\S\snd\alarm.wav=T
INI
sox -n -r 44100 -c 1 "$XDG_DATA_HOME/Quillmere/Ostrel/Sounds/alarm.wav" synth 0.5 sine "$alarm_hz" vol 0.5

# The pointer waits in a corner, away from the window.
xdotool mousemove 5 5
"$root/build/ostrel" 2>/dev/null &
pid=$!
sleep 3
grep -q "Alarm - Activated" "$XDG_DATA_HOME/Quillmere/Ostrel/Reports/Report.txt" ||
  { echo "the program did not arm" >&2; exit 1; }
status=0
ALARM_FILE_HZ=$alarm_hz "$root/build/bench/bench_trigger" tone "$count" 2>/dev/null || status=1
ALARM_FILE_HZ=$alarm_hz "$root/build/bench/bench_trigger" click "$count" 2>/dev/null || status=1
kill "$pid"
wait "$pid" 2>/dev/null || true
exit $status
