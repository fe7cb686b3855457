#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vantrel in its data folder. When this machine has
# no WSJT-X data folder, Vantrel opens the bundled demo station instead. Arguments are passed on
# (switches such as /DEBUG, --rig-name NAME).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build

# The rig name, as the program reads it: the last --rig-name NAME, --rig-name=NAME or -r NAME.
rig=
previous=
for argument in "$@"; do
  case "$previous" in --rig-name|-r) rig=$argument ;; esac
  case "$argument" in --rig-name=*) rig=${argument#--rig-name=} ;; esac
  previous=$argument
done
wsjtx="WSJT-X${rig:+ - $rig}"

# Vantrel keeps its files in its own data folder, $XDG_DATA_HOME/Vantrel ("Vantrel - NAME" for a
# rig name), which --data-folder creates and enters; the demo station has a folder of its own.
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
folder=(--data-folder)
if [ -z "${LOCALAPPDATA:-}" ] && [ ! -d "$data_home/$wsjtx" ]; then
  echo "No WSJT-X data folder found: opening the demo station."
  export LOCALAPPDATA="$root/data/demo"
  export VANTREL_SETTINGS="${VANTREL_SETTINGS:-$data_home/Vantrel-demo/Vantrel.ini}"
  folder=(--data-folder="$data_home/Vantrel-demo")
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under xvfb-run (the window is not visible)."
  exec xvfb-run -a "$root/build/vantrel" "${folder[@]}" "$@"
fi
exec "$root/build/vantrel" "${folder[@]}" "$@"
