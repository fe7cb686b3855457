#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vantrel in its data folder. When this machine has
# no WSJT-X data folder, Vantrel opens the bundled demo station instead. Arguments are passed on
# (switches such as /DEBUG, --rig-name NAME).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
viewer="$data_home/Vantrel"
if [ -z "${LOCALAPPDATA:-}" ] && [ ! -d "$data_home/WSJT-X" ]; then
  echo "No WSJT-X data folder found: opening the demo station."
  export LOCALAPPDATA="$root/data/demo"
  export VANTREL_SETTINGS="${VANTREL_SETTINGS:-$data_home/Vantrel-demo/Vantrel.ini}"
  viewer="$data_home/Vantrel-demo"
fi
mkdir -p "$viewer"
cd "$viewer"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under xvfb-run (the window is not visible)."
  exec xvfb-run -a "$root/build/vantrel" "$@"
fi
exec "$root/build/vantrel" "$@"
