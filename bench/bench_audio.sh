#!/usr/bin/env bash
# The audio engine's costs on the headless rig: the real program idling for 60 s with the
# microphone switch stored on (with "armed-both": armed, with the microphone and the mouse
# detector on, in a quiet room), the engine alone with output and recording on, and the latency
# from PlayHow to the first sample at the sink's monitor. Build first (cmake --build build).
#   bench/bench_audio.sh [seconds] [armed-both]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
setup=${2:-microphone}
# shellcheck source=scripts/headless-env.sh
source "$root/scripts/headless-env.sh"
start_rig >/dev/null
trap stop_rig EXIT

# The switch is stored on, as the user left it; the program records from its first activation.
mkdir -p "$XDG_CONFIG_HOME/Quillmere"
settings='[SoftWare]\nQuillmere\\Ostrel\\S\\ActMicDetectToggle=T\n'
if [ "$setup" = armed-both ]; then
  settings+='Quillmere\\Ostrel\\S\\ActMouDetectToggle=T\nQuillmere\\Ostrel\\S\\Alarm%%20Active=T\n'
  settings+='Quillmere\\Ostrel\\S\\set\\frmMainspnActivationDelay=0\n'
fi
printf "$settings" >"$XDG_CONFIG_HOME/Quillmere/Ostrel.ini"

"$root/build/ostrel" 2>/dev/null &
pid=$!
sleep 3
ticks=$(getconf CLK_TCK)
# The whole process, and its main thread alone, where the detectors and the alarm logic run.
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
main_cpu() { awk '{print $14 + $15}' "/proc/$pid/task/$pid/stat"; }
recording=$(pactl list source-outputs | grep -c "application.process.id = \"$pid\"" || true)
before=$(cpu)
main_before=$(main_cpu)
sleep "$seconds"
after=$(cpu)
main_after=$(main_cpu)
rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
kill "$pid"
wait "$pid" 2>/dev/null || true
awk -v t=$((after - before)) -v m=$((main_after - main_before)) -v hz="$ticks" -v s="$seconds" \
  -v r="$rss" -v rec="$recording" -v setup="$setup" \
  'BEGIN { printf "program idle %d s (%s; recording streams attached: %d): CPU %.2f %% of one core (main thread %.2f %%), resident %d KiB\n", s, setup, rec, 100 * t / hz / s, 100 * m / hz / s, r }'

"$root/build/bench/bench_audio" idle "$seconds" 2>/dev/null
"$root/build/bench/bench_audio" latency 20 2>/dev/null
