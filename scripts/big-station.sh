#!/usr/bin/env bash
# Writes a big sample station: the small sample station repeated as a 7 x 4 grid of yards
# on a 250 x 60 panel, the yards of a band joined by their main line. Used for the README's
# screenshot of the whole panel at a glance.
#
# Usage: scripts/big-station.sh OUT.reru
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$1"
small="$(mktemp)"
trap 'rm -f "$small"' EXIT
"$here/sample-station.sh" "$small"
printf 'SET_Vyska;60\r\nSET_Sirka;250\r\n' >"$out"
for key in Stanice Autor Verze Popis; do printf 'SET_%s;<Nazev stanice>\r\n' "$key" >>"$out"; done
line='Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0'
for band in 0 1 2 3; do
    for yard in 0 1 2 3 4 5 6; do
        # Every element line of the small station, moved to its yard.
        awk -v dx=$((4 + yard * 35)) -v dy=$((2 + band * 14)) 'BEGIN { FS = OFS = ";" }
            $1 == "PRUSVITKA" {
                sub(/\r$/, "")
                split($2, x, "="); split($3, y, "=")
                $2 = "X=" (x[2] + dx); $3 = "Y=" (y[2] + dy)
                printf "%s\r\n", $0
            }' "$small" >>"$out"
        # The main line on to the next yard.
        if [ "$yard" -lt 6 ]; then
            for ((c = 34 + yard * 35; c < 39 + yard * 35; c++)); do
                printf 'PRUSVITKA;X=%d;Y=%d;NAME=KOL_sLSPS;%s\r\n' "$c" $((7 + band * 14)) "$line" >>"$out"
            done
        fi
    done
done
