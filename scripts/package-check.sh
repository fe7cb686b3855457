#!/usr/bin/env bash
# Checks the program as an operator installs it: validates the menu entry and the software
# centre's description, makes the Debian package from a build folder (default: build, as
# scripts/test.sh leaves it), installs it, runs the installed program's --version and a short
# start without a window on a copy of the installed demo station, and removes the package again.
# Needs root or sudo; a vantrel package that was installed before is left alone (the check stops).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
app=io.github.vantrel.Vantrel
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
step() { printf '\n== %s\n' "$*"; }
fail() { echo "package-check: $*" >&2; exit 1; }
# desktop-file-validate reports warnings with exit status 0: any remark fails the check.
validate_desktop() {
  local remarks
  remarks=$(desktop-file-validate "$1" 2>&1) || true
  [ -z "$remarks" ] || { echo "$remarks"; fail "desktop-file-validate: $1"; }
  echo "desktop-file-validate $1: no remarks"
}

if dpkg-query -W -f='${Status}' vantrel 2>/dev/null | grep -q "install ok installed"; then
  fail "a vantrel package is installed already; remove it first (apt-get remove vantrel)"
fi

step "Tools: desktop-file-validate, appstreamcli, dpkg-shlibdeps"
"$root/scripts/install-deps.sh"
missing=()
for p in desktop-file-utils appstream; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

step "Validating the menu entry and the metainfo as written"
validate_desktop "$root/packaging/$app.desktop"
appstreamcli validate --no-net "$root/packaging/$app.metainfo.xml"

step "Building the program in $dir and making the Debian package"
VANTREL_BUILD_TARGET=vantrel "$root/scripts/build.sh" "$dir"
rm -rf "$dir/package"
(cd "$dir" && cpack -G DEB -B "$dir/package")
debs=("$dir"/package/vantrel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one vantrel_*.deb in $dir/package"
deb=${debs[0]}
dpkg-deb --field "$deb" Package Version Section Maintainer Depends Recommends
depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6core6 libqt6widgets6 libqt6network6 libpng16-16 qt6-qpa-plugins; do
  [[ "$depends" == *"$library"* ]] || fail "the package does not depend on $library"
done

step "Installing $(basename "$deb")"
remove() { DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq vantrel >/dev/null || true; }
trap remove EXIT
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >/dev/null
for file in /usr/bin/vantrel /usr/share/applications/$app.desktop /usr/share/metainfo/$app.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/$app.svg /usr/share/icons/hicolor/48x48/apps/$app.png \
    /usr/share/doc/vantrel/copyright /usr/share/vantrel/demo/WSJT-X/wsjtx.log \
    /usr/share/vantrel/maps/world600x300.png; do
  [ -f "$file" ] || fail "not installed: $file"
done
[ ! -d "$root/data/places" ] || [ -d /usr/share/vantrel/places ] || fail "not installed: /usr/share/vantrel/places"
validate_desktop /usr/share/applications/$app.desktop
appstreamcli validate --no-net /usr/share/metainfo/$app.metainfo.xml

step "The installed program"
version=$(/usr/bin/vantrel --version)
echo "$version"
[ "$version" = "Vantrel $(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")" ] ||
  fail "unexpected version text: $version"

# A short start without a window on a copy of the installed demo station, in a home of its own,
# started as the menu starts it (--data-folder), stopped by SIGTERM.
tmp=$(mktemp -d)
trap 'remove; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/run" && chmod 700 "$tmp/run"
cp -r /usr/share/vantrel/demo "$tmp/station"
(
  cd "$tmp/home"
  export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/.local/share" XDG_CONFIG_HOME="$tmp/home/.config" \
    XDG_RUNTIME_DIR="$tmp/run" LOCALAPPDATA="$tmp/station"
  unset VANTREL_SETTINGS
  exec timeout 120 /usr/bin/vantrel /HEADLESS /NVC --data-folder
) 2>"$tmp/stderr" &
pid=$!
for _ in $(seq 1 600); do
  grep -q "running without a window" "$tmp/stderr" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
cat "$tmp/stderr"
grep -q "running without a window" "$tmp/stderr" || { kill "$pid" 2>/dev/null || true; fail "the installed program did not start"; }
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the installed program ended with status $status"
viewer="$tmp/home/.local/share/Vantrel"
contacts=$(grep -c . "$tmp/station/WSJT-X/wsjtx.log")
logged=$(grep -c . "$viewer/Viewer_local_log.csv" || true)
echo "local log: $logged lines for $contacts contacts in $viewer"
[ "$logged" -ge "$contacts" ] || fail "the local log was not made in $viewer"
[ -z "$(ls -A "$tmp/home" | grep -v '^\.local$' | grep -v '^\.config$' || true)" ] ||
  fail "files left in the home folder: $(ls -A "$tmp/home")"

step "Removing the package"
remove
trap 'rm -rf "$tmp"' EXIT
! dpkg-query -W -f='${Status}' vantrel 2>/dev/null | grep -q "install ok installed" || fail "vantrel is still installed"
echo "package-check: all passed"
