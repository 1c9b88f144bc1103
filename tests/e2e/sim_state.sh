#!/bin/sh
# --sim-state: the emulated memory is written at exit and read back at the next start.
set -eu
dravik=$1
home=$2
rm -rf "$home" && mkdir -p "$home/run" && cd "$home"
export XDG_RUNTIME_DIR="$home/run" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config"
printf 'quit\n' > quit.script
"$dravik" --headless --demo=mouse,headset --sim-state state.json --script quit.script
grep -q '"kind" : "mouse"' state.json
grep -q '"info" : "aa55' state.json
# Change the mouse's power area by hand; the next run must load and keep it.
sed -i '0,/"power" : "[0-9a-f]*"/s//"power" : "3201"/' state.json
"$dravik" --headless --demo=mouse,headset --sim-state state.json --script quit.script
grep -q '"power" : "3201"' state.json
# Devices attached by a script start from the loaded state too.
printf 'plug mouse\nnotify mouse 0401\nunplug mouse\nquit\n' > plug.script
"$dravik" --headless --sim-state state.json --script plug.script
grep -q '"power" : "3201"' state.json
# A file that is not a device-state document is refused.
echo '{"devices": 5}' > bad.json
if "$dravik" --headless --demo --sim-state bad.json --script quit.script 2>/dev/null; then exit 1; fi
echo ok
