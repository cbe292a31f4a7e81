# shellcheck shell=bash
# Headless rig for Ostrel: a private X server (Xvfb) and a private PulseAudio daemon whose
# only sink is a null sink, so a tone played into it is what the "microphone" (the sink's
# monitor, the default source) hears. Source this file, then:
#
#   start_rig    # exports DISPLAY, PULSE_SERVER, XDG_*_HOME, XDG_RUNTIME_DIR, OSTREL_TEST_SINK
#   check_rig    # plays a tone into the sink and fails unless the monitor hears it
#   stop_rig     # stops exactly the processes start_rig started and removes its folder
#
# The rig changes the environment of the shell that sources it; use it from a script.
# RIG_STATE_DIR, when set before start_rig, holds the config and data folders instead of the
# temporary root, and is kept afterwards (scripts/run uses it so its output can be inspected).
# RIG_DESKTOP=1, when set before start_rig, lets the sound server behave as a desktop's does:
# no keeper stream holds the monitor, and module-suspend-on-idle suspends the sink when nothing
# uses it. The benchmarks use it to see what an idle program costs; the tests need the keeper.

RIG_SINK=ostrel_sink
RIG_ROOT=
RIG_XVFB_PID=
RIG_PULSE_PID=
RIG_KEEPER_PID=

_rig_log() { echo "rig: $*" >&2; }

# Polls a command until it succeeds, for at most $1 seconds.
_rig_wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    if ((SECONDS >= deadline)); then return 1; fi
    sleep 0.1
  done
}

_rig_alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }

# Terminates one process by PID, escalating to SIGKILL after 5 s.
_rig_kill() {
  local pid=$1
  _rig_alive "$pid" || return 0
  kill -TERM "$pid" 2>/dev/null || return 0
  _rig_wait_for 5 eval "! kill -0 $pid" || kill -KILL "$pid" 2>/dev/null || true
  # Reap it when it is our child; a daemonized process is not, and wait then fails harmlessly.
  wait "$pid" 2>/dev/null || true
}

start_rig() {
  local tool
  for tool in Xvfb xdpyinfo pulseaudio pactl parec; do
    command -v "$tool" >/dev/null || { _rig_log "missing $tool (run scripts/install-deps)"; return 1; }
  done

  # Every step checks its own result: callers may run this where set -e does not apply.
  RIG_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-rig.XXXXXX") || return 1
  local state=${RIG_STATE_DIR:-$RIG_ROOT}
  mkdir -p "$state/config" "$state/data" || return 1
  install -d -m 0700 "$RIG_ROOT/runtime" || return 1
  export XDG_CONFIG_HOME=$state/config
  export XDG_DATA_HOME=$state/data
  export XDG_RUNTIME_DIR=$RIG_ROOT/runtime

  # Qt must pick the private X server, whatever the calling session uses.
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM

  # -displayfd lets Xvfb choose a free display number itself, so parallel rigs never collide.
  # -noreset: an idle Xvfb would otherwise reset whenever its last client leaves, and refuse
  # the next program that connects meanwhile; a desktop's server never does.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$RIG_ROOT/display" >"$RIG_ROOT/xvfb.log" 2>&1 &
  RIG_XVFB_PID=$!
  if ! _rig_wait_for 15 grep -q '[0-9]' "$RIG_ROOT/display"; then
    _rig_log "Xvfb did not start:"; cat "$RIG_ROOT/xvfb.log" >&2; return 1
  fi
  DISPLAY=:$(tr -dc '0-9' <"$RIG_ROOT/display")
  export DISPLAY
  if ! _rig_wait_for 15 xdpyinfo; then
    _rig_log "Xvfb on $DISPLAY does not answer"; return 1
  fi

  # A client that cannot reach our daemon must fail, never spawn a second daemon of its own.
  printf 'autospawn = no\n' >"$RIG_ROOT/client.conf"
  export PULSE_CLIENTCONFIG=$RIG_ROOT/client.conf
  export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native

  cat >"$RIG_ROOT/pulse.pa" <<EOF
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=$RIG_SINK rate=44100 channels=2 sink_properties=device.description=Ostrel_test_sink
set-default-sink $RIG_SINK
set-default-source $RIG_SINK.monitor
EOF
  if [ "${RIG_DESKTOP:-}" = 1 ]; then
    echo 'load-module module-suspend-on-idle' >>"$RIG_ROOT/pulse.pa" || return 1
  fi
  # -n: no system default script, only ours. The same command works as root and as a user;
  # as root PulseAudio warns that it is not meant to run that way, which is harmless here.
  # A disabled session bus address keeps it from autolaunching a D-Bus daemon we would not stop.
  if ! DBUS_SESSION_BUS_ADDRESS=disabled: pulseaudio -n -F "$RIG_ROOT/pulse.pa" --daemonize=yes --exit-idle-time=-1 \
       --disable-shm=yes --log-target=file:"$RIG_ROOT/pulse.log" >/dev/null 2>&1; then
    _rig_log "PulseAudio did not start:"; cat "$RIG_ROOT/pulse.log" >&2 2>/dev/null; return 1
  fi
  # The daemon forked away from us; its pid file is the only way to stop it by PID.
  _rig_wait_for 10 test -s "$XDG_RUNTIME_DIR/pulse/pid" || { _rig_log "no PulseAudio pid file"; return 1; }
  RIG_PULSE_PID=$(tr -dc '0-9' <"$XDG_RUNTIME_DIR/pulse/pid")
  if ! _rig_wait_for 15 pactl info; then
    _rig_log "PulseAudio does not answer:"; cat "$RIG_ROOT/pulse.log" >&2; return 1
  fi
  pactl set-default-sink "$RIG_SINK" && pactl set-default-source "$RIG_SINK.monitor" || return 1

  # Without one low-latency stream held on the monitor, a new recording can get no data for
  # up to 2 s; this one stays attached for the whole run. A desktop has none.
  if [ "${RIG_DESKTOP:-}" != 1 ]; then
    parec --latency-msec=10 -d "$RIG_SINK.monitor" --raw >/dev/null 2>"$RIG_ROOT/keeper.log" &
    RIG_KEEPER_PID=$!
    if ! _rig_wait_for 10 eval "pactl list short source-outputs | grep -q ."; then
      _rig_log "the monitor keeper stream did not attach"; return 1
    fi
  fi

  export OSTREL_TEST_SINK=$RIG_SINK
  _rig_log "DISPLAY=$DISPLAY PULSE_SERVER=$PULSE_SERVER sink=$RIG_SINK root=$RIG_ROOT"
}

# Proves the audio path end to end: a 1 kHz tone played into the sink must appear, loud, in a
# recording of its monitor.
check_rig() {
  local dir=$RIG_ROOT/check rec_pid peak
  mkdir -p "$dir" || return 1
  sox -n -r 44100 -c 2 -b 16 "$dir/tone.wav" synth 0.5 sine 1000 vol 0.5 || return 1
  parecord --latency-msec=20 -d "$RIG_SINK.monitor" --file-format=wav \
    --rate=44100 --channels=2 --format=s16le "$dir/heard.wav" 2>"$dir/parecord.log" &
  rec_pid=$!
  sleep 0.3
  if ! paplay -d "$RIG_SINK" "$dir/tone.wav"; then
    _rig_kill "$rec_pid"; _rig_log "paplay into $RIG_SINK failed"; return 1
  fi
  sleep 0.3
  # SIGINT lets parecord finish the wav header before it exits.
  kill -INT "$rec_pid" 2>/dev/null || true
  wait "$rec_pid" 2>/dev/null || true
  peak=$(sox "$dir/heard.wav" -n stat 2>&1 | awk '/^Maximum amplitude/ {print $3}')
  if [ -z "$peak" ] || ! awk -v p="$peak" 'BEGIN { exit !(p > 0.25) }'; then
    _rig_log "the monitor did not hear the test tone (peak '${peak:-none}')"
    cat "$dir/parecord.log" >&2
    return 1
  fi
  _rig_log "audio loop ok: tone peak $peak heard on $RIG_SINK.monitor"
}

stop_rig() {
  # Keeper first: it is a client of the daemon we are about to stop.
  _rig_kill "$RIG_KEEPER_PID"
  # The pid file may be stale by now; only a pulseaudio process of that PID is ours to stop.
  if _rig_alive "$RIG_PULSE_PID" &&
     [ "$(cat "/proc/$RIG_PULSE_PID/comm" 2>/dev/null)" = pulseaudio ]; then
    _rig_kill "$RIG_PULSE_PID"
  fi
  _rig_kill "$RIG_XVFB_PID"
  RIG_KEEPER_PID='' RIG_PULSE_PID='' RIG_XVFB_PID=
  if [ -n "$RIG_ROOT" ] && [ -d "$RIG_ROOT" ]; then
    rm -rf -- "$RIG_ROOT"
  fi
  RIG_ROOT=
}
