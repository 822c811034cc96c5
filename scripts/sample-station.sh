#!/usr/bin/env bash
# Writes a small sample station: a through line with two loops, a siding on each side with
# its buffer stop, and track-circuit boundaries. Used for the About photograph and the
# README's screenshot.
#
# Usage: scripts/sample-station.sh OUT.reru
set -euo pipefail
station="$1"
{
    printf 'SET_Vyska;12\r\nSET_Sirka;30\r\n'
    for key in Stanice Autor Verze Popis; do printf 'SET_%s;<Nazev stanice>\r\n' "$key"; done
} >"$station"
tile() { # col row name; a corner is joined when the tile runs into it; replaces the cell's tile
    local f=() code
    sed -i "/^PRUSVITKA;X=$1;Y=$2;/d" "$station"
    for code in LH LS LD SH SD PH PS PD; do
        case "$3" in *"$code"*) f+=(-1) ;; *) f+=(0) ;; esac
    done
    printf 'PRUSVITKA;X=%d;Y=%d;NAME=%s;Cont_LH=%s;Cont_LS=%s;Cont_LD=%s;Cont_SH=%s;Cont_SD=%s;Cont_PH=%s;Cont_PS=%s;Cont_PD=%s\r\n' \
        "$1" "$2" "$3" "${f[@]}" >>"$station"
}
row_of() { # row first last name
    for ((c = $2; c <= $3; c++)); do tile "$c" "$1" "$4"; done
}
# Main line, row 5, with track-circuit boundaries.
row_of 5 0 29 KOL_sLSPS
for c in 8 15 21; do tile "$c" 5 HKO_sLSPS; done
# Upper loop, row 3.
tile 4 5 VYH_sLSPS_sLSPH; tile 5 4 KOL_sLDPH; tile 6 3 KOL_sLDPS
row_of 3 7 22 KOL_sLSPS
tile 23 3 KOL_sLSPD; tile 24 4 KOL_sLHPD; tile 25 5 VYH_sLSPS_sLHPS
# Lower loop, row 7.
tile 2 5 VYH_sLSPS_sLSPD; tile 3 6 KOL_sLHPD; tile 4 7 KOL_sLHPS
row_of 7 5 24 KOL_sLSPS
tile 25 7 KOL_sLSPH; tile 26 6 KOL_sLDPH; tile 27 5 VYH_sLSPS_sLDPS
# Siding off the lower loop, row 9, with its buffer stop.
tile 8 7 VYH_sLSPS_sLSPD; tile 9 8 KOL_sLHPD; tile 10 9 KOL_sLHPS
row_of 9 11 18 KOL_sLSPS
tile 19 9 KOZ_sLS
# Siding off the upper loop, row 1.
tile 10 3 VYH_sLSPS_sLSPH; tile 11 2 KOL_sLDPH; tile 12 1 KOL_sLDPS
row_of 1 13 20 KOL_sLSPS
tile 21 1 KOZ_sLS
for c in 12 18; do tile "$c" 3 HKO_sLSPS; tile "$c" 7 HKO_sLSPS; done

