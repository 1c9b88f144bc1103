#!/bin/sh
# A language chosen once is the language of the next start.
set -eu
dravik=$1
home=$2
src=$3
rm -rf "$home" && mkdir -p "$home/run" && cd "$home"
export XDG_RUNTIME_DIR="$home/run" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config"
"$dravik" --headless --script "$src/language_switch.script"
grep -q '"LANGUAGE"' config/Dravik/registry.json
grep -q '1033' config/Dravik/registry.json
printf 'waitfor root visible true 3000\nexpect nodevice_text_label text "No device found. Please connect a device."\nquit\n' > english.script
"$dravik" --headless --script english.script
echo ok
