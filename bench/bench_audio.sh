#!/usr/bin/env bash
# The two audio engines side by side, on a rig whose sound server behaves as a desktop's
# (RIG_DESKTOP=1: nothing holds the monitor, a sink nobody uses suspends). First the server's
# own CPU with no client; then, for PortAudio and for the sound server's engine (each forced
# with OSTREL_AUDIO_BACKEND), the real program in three states, each after a few seconds of
# settling:
#   (a) no switch on;  (b) the microphone switch stored on;
#   (c) armed with the mouse and the simulation switch on, the next simulated alarm a day away;
# each the median of WINDOWS windows of SECONDS s: the program's CPU in % of one core (utime +
# stime; one clock tick in a 30 s window is 0.03 %), its wakeups per second (the context
# switches of all its threads), the sound server's CPU above its idle, and at the end its
# resident memory and each thread's share. Then per engine: PlayHow to the first sample at the
# monitor (bench_audio latency, COUNT cold plays, each after the engine let its stream go, and
# COUNT warm, right after another), and the armed program's reaction to COUNT loud tones and
# COUNT clicks (bench_trigger.sh, on a rig of its own of the same kind). Ends with one table
# of the figures, with the targets for the sound server's engine; fails when a figure could not
# be taken. About 15 minutes with the defaults (3 windows of 30 s, COUNT 8).
# Build first: cmake --build build --target ostrel bench_audio bench_trigger
#   [OSTREL_BUILD_DIR=build] bench/bench_audio.sh [windows [seconds [count]]]
#   bench/bench_audio.sh 1 5 2    # a quick look
set -euo pipefail
cd "$(dirname "$0")/.."
windows=${1:-3}
seconds=${2:-30}
count=${3:-8}
# Past the program's start and the 5 s after which the server suspends a sink nobody uses.
settle=6
export LC_ALL=C
# shellcheck source=scripts/headless-env.sh
source scripts/headless-env.sh
# shellcheck source=scripts/real-program.sh
source scripts/real-program.sh
require_built ostrel bench/bench_audio bench/bench_trigger
RIG_DESKTOP=1 start_rig >/dev/null
trap stop_program_and_rig EXIT
add_sound alarm.wav 2000

ticks=$(getconf CLK_TCK)
status=0
# The figures, by "engine key": "pulse b cpu", "portaudio cold" ...
declare -A fig

# CPU ticks a process has used so far, its ended threads' included.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# CPU % of one core for $1 ticks in $2 s.
percent() { awk -v t="$1" -v s="$2" -v hz="$ticks" 'BEGIN { printf "%.3f", 100 * t / hz / s }'; }

# One line per living thread of process $1: tid, CPU ticks and context switches so far, name.
# A thread that ends while it is read is left out.
thread_sample() {
  local task=/proc/$1/task
  (cd "$task" && printf "%s\n" *) | awk -v task="$task" '{
    dir = task "/" $0
    ok = (getline stat < (dir "/stat")) > 0 && (getline name < (dir "/comm")) > 0
    switches = 0
    while ((getline line < (dir "/status")) > 0)
      if (line ~ /ctxt_switches:/) { split(line, word, /[ \t]+/); switches += word[2] }
    close(dir "/stat"); close(dir "/comm"); close(dir "/status")
    # The name in stat is in parentheses and may hold blanks: count fields after it.
    sub(/.*\) /, "", stat); split(stat, field, " ")
    if (ok) print $0, field[12] + field[13], switches, name
  }'
}

# Per thread between the samples $1 and $2, taken $3 s apart: CPU % of one core, context
# switches per second, name; a thread born in between counts from its start.
thread_rates() {
  awk -v s="$3" -v hz="$ticks" 'NR == FNR { cpu[$1] = $2; switches[$1] = $3; next } {
    name = $0; sub(/^[^ ]+ [^ ]+ [^ ]+ /, "", name)
    printf "%.3f %.1f %s\n", 100 * ($2 - cpu[$1]) / hz / s, ($3 - switches[$1]) / s, name
  }' <(echo "$1") <(echo "$2")
}

# The middle of a list of numbers (the upper one of two, as BenchStats.h takes it).
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }'; }

# The seconds between two $EPOCHREALTIME readings.
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { print b - a }'; }

# Streams the program $1 holds on the server, of one kind (sink-inputs, source-outputs).
streams_of() {
  local list
  list=$(pactl list "$2")
  grep -c "application.process.id = \"$1\"" <<<"$list" || true
}

# $windows windows of $seconds s of the program $1, or of the server alone for "": prints each
# window and, for a program, each thread's share over all of them and the streams it holds.
# Sets the medians W_CPU, W_WAKEUPS and W_SERVER, and W_RESIDENT_MB at the end.
measure() {
  local pid=$1 i t0 t1 s0 s1 c0 c1 th0 th1 first start wall
  local cpus=() wakeups=() servers=()
  if [ -n "$pid" ]; then
    first=$(thread_sample "$pid")
    start=$EPOCHREALTIME
  fi
  for ((i = 1; i <= windows; i++)); do
    t0=$EPOCHREALTIME
    s0=$(cpu_ticks "$RIG_PULSE_PID")
    if [ -n "$pid" ]; then
      c0=$(cpu_ticks "$pid")
      th0=$(thread_sample "$pid")
    fi
    sleep "$seconds"
    if [ -n "$pid" ]; then
      c1=$(cpu_ticks "$pid")
      th1=$(thread_sample "$pid")
    fi
    s1=$(cpu_ticks "$RIG_PULSE_PID")
    t1=$EPOCHREALTIME
    wall=$(elapsed "$t0" "$t1")
    servers+=("$(percent $((s1 - s0)) "$wall")")
    if [ -z "$pid" ]; then
      echo "window $i: server CPU ${servers[-1]} %"
      continue
    fi
    cpus+=("$(percent $((c1 - c0)) "$wall")")
    wakeups+=("$(thread_rates "$th0" "$th1" "$wall" | awk '{ n += $2 } END { printf "%.1f", n }')")
    echo "window $i: program CPU ${cpus[-1]} %, ${wakeups[-1]} wakeups/s, server CPU ${servers[-1]} %"
  done
  W_SERVER=$(median "${servers[@]}")
  [ -n "$pid" ] || return 0
  W_CPU=$(median "${cpus[@]}")
  W_WAKEUPS=$(median "${wakeups[@]}")
  echo "threads over all windows (CPU % of one core, wakeups/s):"
  thread_rates "$first" "$th1" "$(elapsed "$start" "$t1")" | sort -k1,1gr -k2,2gr |
    awk '{ name = $0; sub(/^[^ ]+ [^ ]+ /, "", name); printf "  %-16s %7s %7s\n", name, $1, $2 }'
  echo "streams on the server: $(streams_of "$pid" sink-inputs) playback," \
    "$(streams_of "$pid" source-outputs) recording;" \
    "sink $(pactl list short sinks | awk -v s="$RIG_SINK" '$2 == s { print $NF }')"
  local kib
  kib=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  # MB as ps and top count them, 1024 KiB each.
  W_RESIDENT_MB=$(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')
  echo "resident $kib KiB ($W_RESIDENT_MB MB of 2^20 bytes)"
}

table_line() { printf '%-42s %13s %13s   %s\n' "$@"; }

# One row of the table: the figure, its unit, its key in fig, and the target for the sound
# server's engine where it has one.
print_row() {
  local a=${fig[portaudio $3]} b=${fig[pulse $3]} target=
  if [ -n "${4:-}" ]; then
    target="<= $4 $2: $(awk -v b="$b" -v limit="$4" \
      'BEGIN { print b == "n/a" ? "no figure" : b + 0 <= limit + 0 ? "met" : "MISSED" }')"
  fi
  table_line "$1" "$a $2" "$b $2" "$target"
}

# The settings of each state; every state has the alarm sound chosen, as a user's would.
declare -A state_settings=(
  [a]=''
  [b]='ActMicDetectToggle=T'
  [c]='Alarm%20Active=T ActMouDetectToggle=T ActSimToggle=T set\frmMainspnActivationDelay=0
       set\frmMainspnSimulateEvery=1440 set\frmMainspnSimulateRandom=0'
)
# The sound server engine's targets for the program's CPU in each state, in % of one core.
declare -A cpu_target=([a]=0.05 [b]=0.3 [c]=0.05)
declare -A state_name=(
  [a]='(a) no switch on'
  [b]='(b) microphone switch on'
  [c]='(c) armed, mouse and simulation on'
)

# Fails unless the program is in the state it was started for.
check_state() {
  case $1 in
    b) (($(streams_of "$PROGRAM_PID" source-outputs) > 0)) ||
      { echo "the program records nothing" >&2; return 1; } ;;
    c) program_reported "Alarm - Activated" || { echo "the program did not arm" >&2; return 1; } ;;
  esac
}

# The median the summary line of bench_audio or bench_trigger gives for $1 in the text $2,
# "n/a" when it gives none.
median_of() {
  local value
  value=$(sed -n "s/^$1: median \([0-9.]*\) ms.*/\1/p" <<<"$2")
  echo "${value:-n/a}"
}

echo "== the sound server with no client"
_rig_wait_for 15 eval "pactl list short sinks | grep -q SUSPENDED" ||
  { echo "the idle sink does not suspend" >&2; exit 1; }
measure ""
server_idle=$W_SERVER
printf 'server idle: CPU %.3f %% (median)\n' "$server_idle"

for engine in portaudio pulse; do
  export OSTREL_AUDIO_BACKEND=$engine
  for state in a b c; do
    echo "== $engine, ${state_name[$state]}"
    # shellcheck disable=SC2086 # the settings are separate words
    write_settings ${state_settings[$state]} 'snd\alarm.wav=T'
    start_program "$settle"
    check_state "$state"
    measure "$PROGRAM_PID"
    stop_program
    fig[$engine $state cpu]=$W_CPU
    fig[$engine $state wakeups]=$W_WAKEUPS
    fig[$engine $state server]=$(awk -v s="$W_SERVER" -v i="$server_idle" 'BEGIN { printf "%.3f", s - i }')
    fig[$engine $state resident]=$W_RESIDENT_MB
  done

  echo "== $engine, PlayHow to the first sample"
  if ! out=$("$PROGRAM_BUILD/bench/bench_audio" latency "$count" 2>/dev/null); then
    echo "bench_audio latency failed" >&2
    status=1
  fi
  echo "$out"
  fig[$engine cold]=$(median_of "cold PlayHow to the first sample at the monitor, by its capture time stamp" "$out")
  fig[$engine warm]=$(median_of "warm PlayHow to the first sample at the monitor, by its capture time stamp" "$out")

  echo "== $engine, the armed program's reaction (a rig of its own)"
  if ! out=$(RIG_DESKTOP=1 bench/bench_trigger.sh "$count"); then
    echo "bench_trigger.sh failed" >&2
    status=1
  fi
  echo "$out"
  fig[$engine tone]=$(median_of "loud onset to the first alarm sample at the monitor" "$out")
  fig[$engine click]=$(median_of "xdotool click to the first alarm sample at the monitor" "$out")
done

echo
printf 'The sound server alone, no client: %.3f %% of one core; "server" rows are above that.\n' "$server_idle"
table_line "" PortAudio Pulse "target for Pulse"
for state in a b c; do
  echo "${state_name[$state]}"
  print_row "  program CPU" % "$state cpu" "${cpu_target[$state]}"
  print_row "  program wakeups" /s "$state wakeups"
  print_row "  sound server CPU above its idle" % "$state server"
  print_row "  program resident" MB "$state resident" 40
done
print_row "PlayHow -> first sample, cold, median" ms cold 30
print_row "PlayHow -> first sample, warm, median" ms warm
print_row "loud onset -> first alarm sample, median" ms tone 350
print_row "click -> first alarm sample, median" ms click
exit $status
