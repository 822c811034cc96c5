#!/usr/bin/env bash
# Installs every Debian package the build, tests, benchmarks and sanitizer/fuzz runs need.
# Idempotent: packages already present are skipped without touching the network.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev qt6-translations-l10n
    libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    clang-format
    fonts-dejavu-core fonts-wine
    xvfb xdotool imagemagick openbox
    poppler-utils
    cups printer-driver-cups-pdf
    dpkg-dev file man-db lintian
    desktop-file-utils appstream libxml2-utils xdg-utils shared-mime-info libfile-mimeinfo-perl
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
