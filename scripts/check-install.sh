#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what lands there: exactly the files
# the install rules name, both programs answering --version with the project's version,
# the desktop entry, the AppStream description and the MIME type valid, the icons at their
# sizes, the manual pages and the changelog compressed and the pages without formatting
# warnings, the copyright file in Debian's machine-readable form, and the MIME type
# recognising station files by name (any letter case) and by content.
#
# Usage: scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() {
    echo "check-install: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
    bin/vedivez
    bin/vedivez-tool
    share/applications/vedivez.desktop
    share/icons/hicolor/128x128/apps/vedivez.png
    share/icons/hicolor/256x256/apps/vedivez.png
    share/icons/hicolor/48x48/apps/vedivez.png
    share/doc/vedivez/changelog.gz
    share/doc/vedivez/copyright
    share/icons/hicolor/scalable/apps/vedivez.svg
    share/man/man1/vedivez-tool.1.gz
    share/man/man1/vedivez.1.gz
    share/metainfo/vedivez.metainfo.xml
    share/mime/packages/vedivez.xml
)
diff -u <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) \
    <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) ||
    fail "the installed files are not the expected ones"

for program in vedivez vedivez-tool; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --version)
    [ "$answer" = "$program (VediVEZ) $version" ] || fail "$program --version says '$answer'"
done

share=$prefix/share
desktop-file-validate "$share/applications/vedivez.desktop"
grep -qx 'Exec=vedivez %f' "$share/applications/vedivez.desktop" || fail "Exec line"
grep -qx 'MimeType=application/x-vedivez-station;' "$share/applications/vedivez.desktop" ||
    fail "MimeType line"
appstreamcli validate --no-net "$share/metainfo/vedivez.metainfo.xml"
xmllint --noout "$share/metainfo/vedivez.metainfo.xml" "$share/mime/packages/vedivez.xml" \
    "$share/icons/hicolor/scalable/apps/vedivez.svg"

for size in 48 128 256; do
    file -b "$share/icons/hicolor/${size}x${size}/apps/vedivez.png" |
        grep -q "^PNG image data, $size x $size," || fail "the $size px icon"
done

for page in vedivez vedivez-tool; do
    gzip -t "$share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip data"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
        "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done
head -n 1 <<<"$(zcat "$share/doc/vedivez/changelog.gz")" | grep -qx "vedivez ($version) unstable; urgency=medium" ||
    fail "the changelog does not start with this version"
head -n 1 "$share/doc/vedivez/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
grep -qx 'License: MIT' "$share/doc/vedivez/copyright" || fail "the copyright file names no MIT licence"
grep -q '<project_license>MIT</project_license>' "$share/metainfo/vedivez.metainfo.xml" ||
    fail "the AppStream description names another licence"

# The MIME type alone (no other types known): built into a database as the system's
# update-mime-database does, then asked about sample files.
XDG_DATA_DIRS=$share update-mime-database "$share/mime"
[ -f "$share/mime/application/x-vedivez-station.xml" ] || fail "no MIME type built"
samples=$work/samples
mkdir -p "$samples"
printf 'SET_Vyska;10\r\nSET_Sirka;10\r\n' >"$samples/station.reru"
cp "$samples/station.reru" "$samples/STATION.RERU"
cp "$samples/station.reru" "$samples/Station.Reru"
cp "$samples/station.reru" "$samples/height-first"
printf 'PRUSVITKA;X=1;Y=1;NAME=KOL_sLSPS\r\n' >"$samples/tiles-first"
printf 'hello\n' >"$samples/notes.txt"
mime_of() {
    XDG_DATA_DIRS=$share XDG_DATA_HOME=$work/none mimetype --brief "$1"
}
for f in station.reru STATION.RERU Station.Reru height-first tiles-first; do
    [ "$(mime_of "$samples/$f")" = application/x-vedivez-station ] ||
        fail "$f is taken for $(mime_of "$samples/$f")"
done
[ "$(mime_of "$samples/notes.txt")" != application/x-vedivez-station ] ||
    fail "any text file is taken for a station"

echo "check-install: the installed tree is complete and valid"
