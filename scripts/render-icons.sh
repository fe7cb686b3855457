#!/usr/bin/env bash
# Renders the program's icon into the PNG sizes of the hicolor theme (packaging/icons/hicolor),
# from the small drawing up to 24 pixels and from the full one above. Needs rsvg-convert (Debian
# package librsvg2-bin); the PNGs are kept in the repository, so only a changed drawing needs this.
set -euo pipefail
icons=$(cd "$(dirname "$0")/../packaging/icons" && pwd)
id=io.github.vantrel.Vantrel
command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  drawing="$icons/$id.svg"
  [ "$size" -le 24 ] && drawing="$icons/$id-small.svg"
  mkdir -p "$icons/hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$drawing" -o "$icons/hicolor/${size}x${size}/apps/$id.png"
done
