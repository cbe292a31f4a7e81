#!/usr/bin/env bash
# How fast the armed program raises the alarm on the headless rig: a loud tone into the sink
# (microphone, trigger duration 0) and an xdotool click (mouse), each to the first alarm sample
# at the sink's monitor, COUNT times each. Build first (cmake --build build). OSTREL_BUILD_DIR
# names another build; OSTREL_AUDIO_BACKEND=pulse|portaudio forces the program's engine;
# RIG_DESKTOP=1 lets the sound server behave as a desktop's (see scripts/headless-env.sh).
#   bench/bench_trigger.sh [count]
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-12}
alarm_hz=2000
# shellcheck source=scripts/headless-env.sh
source scripts/headless-env.sh
# shellcheck source=scripts/real-program.sh
source scripts/real-program.sh
require_built ostrel bench/bench_trigger
start_rig >/dev/null
trap stop_program_and_rig EXIT

# Armed at the last close with both detectors on; no delays, one short sound per alarm, no
# pitch alteration.
write_settings 'Alarm%20Active=T' ActMicDetectToggle=T ActMouDetectToggle=T \
  'set\frmMainspnActivationDelay=0' 'set\frmMainspnTriggerDelay=0' \
  'set\frmMaintrkMicTriggerDuration=0' 'set\frmMaintrkPersistence=0' \
  'set\frmMaintrkPersistenceRandom=0' 'set\frmMaintrkRandomAlteration=0' 'snd\alarm.wav=T'
add_sound alarm.wav "$alarm_hz"

# The pointer waits in a corner, away from the window.
xdotool mousemove 5 5
start_program 3
program_reported "Alarm - Activated" || { echo "the program did not arm" >&2; exit 1; }
status=0
ALARM_FILE_HZ=$alarm_hz "$PROGRAM_BUILD/bench/bench_trigger" tone "$count" 2>/dev/null || status=1
ALARM_FILE_HZ=$alarm_hz "$PROGRAM_BUILD/bench/bench_trigger" click "$count" 2>/dev/null || status=1
exit $status
