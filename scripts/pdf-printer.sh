#!/usr/bin/env bash
# Readies the virtual PDF printer the smoke run prints to: CUPS running, and the queue
# "VediVEZ-PDF" of cups-pdf writing every job as a PDF file into one known folder,
# /var/spool/cups-pdf/vedivez (named by the job's title). Idempotent: what is already set up
# is left as it is. Needs root (or sudo) and the packages cups and printer-driver-cups-pdf.
set -euo pipefail
queue=VediVEZ-PDF
out=/var/spool/cups-pdf/vedivez
conf=/etc/cups/cups-pdf.conf
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

# Every job, a user's or an anonymous one, into the same folder.
if ! grep -q "^Out $out\$" "$conf"; then
    "${sudo_cmd[@]}" sed -i -e "s|^#\?Out .*|Out $out|" -e "s|^#\?AnonDirName .*|AnonDirName $out|" \
        -e "s|^#\?UserUMask .*|UserUMask 0022|" "$conf"
fi
"${sudo_cmd[@]}" mkdir -p "$out"
"${sudo_cmd[@]}" chmod 1777 "$out"

running() { [[ "$(lpstat -r 2>/dev/null)" == *"is running"* ]]; }
if ! running; then
    "${sudo_cmd[@]}" cupsd
    for _ in $(seq 50); do
        running && break
        sleep 0.2
    done
fi
if ! lpstat -p "$queue" >/dev/null 2>&1; then
    "${sudo_cmd[@]}" lpadmin -p "$queue" -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
fi
lpstat -p "$queue"
