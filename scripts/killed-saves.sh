#!/usr/bin/env bash
# Kills `vedivez-tool convert` of a million-element station while it writes, again and again,
# and counts what is left beside the output: files that are neither the input nor the
# output, and their size. The output itself must always be the old or the complete new file.
#
#   scripts/killed-saves.sh [KILLS] [TOOL]     (defaults: 50, build/tools/vedivez-tool)
set -euo pipefail
kills=${1:-50}
tool=${2:-$(cd "$(dirname "$0")/.." && pwd)/build/tools/vedivez-tool}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seq 0 999999 | awk '{ printf "PRUSVITKA;X=%d;Y=%d;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n", $1 % 1000, int($1 / 1000) }' \
    | { printf 'SET_Vyska;1000\r\nSET_Sirka;1000\r\n'; cat; } > "$work/in.reru"
"$tool" convert "$work/in.reru" "$work/complete.reru"
mkdir "$work/out"

# Whether process $1 has a file open in the output folder (the save's temporary file).
writing() {
    local fd
    for fd in /proc/"$1"/fd/*; do
        [[ $(readlink "$fd" 2>/dev/null) == "$work/out/"* ]] && return 0
    done
    return 1
}

killed=0 old=0 new=0 broken=0
for ((run = 1; run <= kills; run++)); do
    printf 'the old file' > "$work/out/out.reru"
    "$tool" convert "$work/in.reru" "$work/out/out.reru" &
    pid=$!
    until writing "$pid" || ! kill -0 "$pid" 2>/dev/null; do :; done
    sleep "0.0$((RANDOM % 10))"
    if writing "$pid" && kill -KILL "$pid" 2>/dev/null; then killed=$((killed + 1)); fi
    wait "$pid" 2>/dev/null || true
    if cmp -s "$work/out/out.reru" "$work/complete.reru"; then
        new=$((new + 1))
    elif [[ $(cat "$work/out/out.reru") == 'the old file' ]]; then
        old=$((old + 1))
    else
        broken=$((broken + 1))
    fi
done

leftovers=$(find "$work/out" -mindepth 1 ! -name out.reru | wc -l)
bytes=$(find "$work/out" -mindepth 1 ! -name out.reru -printf '%s\n' | awk '{ s += $1 } END { printf "%.0f\n", s }')
echo "runs: $kills, killed while the temporary file was open: $killed"
echo "output afterwards: old file $old times, complete new file $new times, anything else $broken times"
echo "left beside the output: $leftovers files, $bytes bytes"
[[ $broken -eq 0 ]]
