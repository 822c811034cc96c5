#!/usr/bin/env bash
# Builds the Debian package and checks it on this machine: its fields, that every file
# lies under /usr and that lintian reports no error (its warnings are printed); then
# installs it with apt-get, runs the installed tool on a sample
# station, asks xdg-mime about station files and their default application, and removes
# the package again, checking that nothing of it is left. The package is removed however
# the checks end.
#
# Usage: scripts/check-package.sh [BUILD_DIR]   (as root, or with sudo available)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
root=()
if [ "$(id -u)" -ne 0 ]; then
    root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
chmod 755 "$work"
installed_here=false
cleanup() {
    if $installed_here && dpkg-query -W -f='${Status}' vedivez 2>/dev/null | grep -q installed; then
        echo "check-package: removing the package after a failed check" >&2
        "${root[@]}" apt-get remove -y -q vedivez >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
fail() {
    echo "check-package: $*" >&2
    exit 1
}

# A package left installed by hand would hide what this one installs and removes.
if dpkg-query -W -f='${Status}' vedivez 2>/dev/null | grep -q "install ok installed"; then
    echo "check-package: removing the vedivez package installed before the check" >&2
    "${root[@]}" apt-get remove -y -q vedivez >/dev/null
fi

rm -f "$build"/vedivez_*.deb
cmake --build "$build" --target package
deb=$(echo "$build"/vedivez_"$version"_"$(dpkg --print-architecture)".deb)
[ -f "$deb" ] || fail "no $deb"
cp "$deb" "$work/"
deb=$work/$(basename "$deb")

# The package's fields: version, shared-library dependencies, the recommended font and
# both languages in the description; all files under /usr.
# Each field is read whole before it is searched: with pipefail, a grep -q that stops at its
# first match would otherwise fail the check through dpkg-deb's broken pipe.
field() { dpkg-deb -f "$deb" "$1"; }
has() { grep -q "${@:2}" <<<"$(field "$1")"; }
[ "$(field Package)" = vedivez ] || fail "package name"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
has Depends 'libqt6widgets6' || fail "no Qt dependency: $(field Depends)"
has Depends 'libc6' || fail "no C library dependency: $(field Depends)"
has Recommends -w 'fonts-wine' || fail "fonts-wine is not recommended"
has Description 'track-diagram panel' || fail "no English description"
has Description 'reliéf železniční stanice' || fail "no Czech description"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v -e '^\./$' -e '^\./usr/' &&
    fail "files outside /usr"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\.||' >"$work/files"
[ -s "$work/files" ] || fail "an empty package"

# Debian's own checks of the package; errors fail, warnings and notes are shown.
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
! grep -q '^E: ' "$work/lintian" || fail "lintian reports errors"

installed_here=true
"${root[@]}" apt-get install -y -q "$deb"
while read -r f; do
    [ -e "$f" ] || fail "$f is not installed"
done <"$work/files"

# A session of its own, so that no user's or desktop's settings answer for the system.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID XDG_DATA_DIRS
mkdir -p "$HOME"

scripts/sample-station.sh "$work/station.reru"
cp "$work/station.reru" "$work/STATION.RERU"
answer=$(/usr/bin/vedivez-tool check "$work/station.reru")
[ "$answer" = "rows=12 cols=30 elements=96" ] || fail "vedivez-tool check says '$answer'"
[ "$(/usr/bin/vedivez --version)" = "vedivez (VediVEZ) $version" ] || fail "vedivez --version"
for f in station.reru STATION.RERU; do
    type=$(xdg-mime query filetype "$work/$f")
    [ "$type" = application/x-vedivez-station ] || fail "xdg-mime takes $f for '$type'"
done
default=$(xdg-mime query default application/x-vedivez-station)
[ "$default" = vedivez.desktop ] || fail "the default application is '$default'"

"${root[@]}" apt-get remove -y -q vedivez
installed_here=false
status=$(dpkg-query -W -f='${db:Status-Status}' vedivez 2>/dev/null || echo not-installed)
[ "$status" = not-installed ] || fail "the package is left as '$status'"
while read -r f; do
    [ ! -e "$f" ] || fail "$f is left"
done <"$work/files"
[ ! -e /usr/share/mime/application/x-vedivez-station.xml ] || fail "the MIME type is left"
! grep -rqs vedivez /usr/share/applications/mimeinfo.cache || fail "mimeinfo.cache names vedivez"
type=$(xdg-mime query filetype "$work/station.reru")
[ "$type" != application/x-vedivez-station ] || fail "xdg-mime still knows station files"

echo "check-package: $(basename "$deb") installs, works and removes cleanly"
