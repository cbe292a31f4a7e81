# shellcheck shell=bash
# The real program on the headless rig, for the benchmarks and the packaging test: the build it
# comes from, the settings and sounds it starts with, starting and stopping it. Source it from the
# checkout's root after scripts/headless-env.sh, and call these after start_rig.
# OSTREL_BUILD_DIR names the build (default build; a relative path is taken from the checkout's
# root); PROGRAM_EXECUTABLE, when set before sourcing, is the program to start instead of the
# build's.

PROGRAM_BUILD=$(realpath -m "${OSTREL_BUILD_DIR:-build}")
PROGRAM_EXECUTABLE=${PROGRAM_EXECUTABLE:-$PROGRAM_BUILD/ostrel}
PROGRAM_PID=

# Fails unless the build holds each named executable (a path below the build folder).
require_built() {
  local target
  for target in "$@"; do
    [ -x "$PROGRAM_BUILD/$target" ] || { echo "no $PROGRAM_BUILD/$target: build it first" >&2; return 1; }
  done
}

# Replaces the settings file with these values under the program's state key, as a user's last
# session left them (the first-run greeting seen); each argument is NAME=VALUE as the file spells it ("Alarm%20Active=T",
# "set\frmMainspnActivationDelay=0").
write_settings() {
  mkdir -p "$XDG_CONFIG_HOME/Quillmere" || return 1
  { echo '[SoftWare]' && printf 'Quillmere\\Ostrel\\S\\%s\n' "$@" MsgThanx=T; } >"$XDG_CONFIG_HOME/Quillmere/Ostrel.ini"
}

# Puts a half-second sine of $2 Hz into the program's sound folder as $1.
add_sound() {
  local folder=$XDG_DATA_HOME/Quillmere/Ostrel/Sounds
  mkdir -p "$folder" && sox -n -r 44100 -c 1 "$folder/$1" synth 0.5 sine "$2" vol 0.5
}

_program_report() { echo "$XDG_DATA_HOME/Quillmere/Ostrel/Reports/Report.txt"; }

# Starts the program in the background as PROGRAM_PID and gives it $1 seconds to come up; its
# report starts empty, so that what it says is this start's.
start_program() {
  rm -f "$(_program_report)" || return 1
  "$PROGRAM_EXECUTABLE" 2>/dev/null &
  PROGRAM_PID=$!
  sleep "$1"
  kill -0 "$PROGRAM_PID" 2>/dev/null || { echo "the program ended at its start" >&2; return 1; }
}

# Succeeds when the program's report holds the text.
program_reported() {
  grep -q "$1" "$(_program_report)"
}

stop_program() {
  _rig_kill "$PROGRAM_PID"
  PROGRAM_PID=
}

# For the EXIT trap: the program goes before the rig it runs on.
stop_program_and_rig() {
  stop_program
  stop_rig
}
