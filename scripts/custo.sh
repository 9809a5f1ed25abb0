#!/bin/bash
# What the save path costs: the system calls of a season (its 34 league
# rounds, its cup rounds and its change) and a league round's time, on the
# local disk and, given a folder on a FUSE mount, there too.
#
#   scripts/custo.sh [BUILD] [FUSE_FOLDER]
#
# The season is counted between the marks the bench leaves in its own
# system calls (a look for "/gv-marca/..."), one season from the same
# seed; the round's time is the bench's mean of 34 rounds. The game is made
# on the local disk and loaded, played and closed in the folder measured.
set -euo pipefail
build=${1:-build}
fuse=${2:-}
bench=$build/bin/bench_jornada
[ -x "$bench" ] || bench=$(find "$build" -name bench_jornada -type f | head -1)
command -v strace >/dev/null || { echo "strace is needed: apt-get install strace" >&2; exit 1; }

epoca() {   # folder
    local rasto
    rasto=$(mktemp)
    GV_BENCH_JOGOS=$1 strace -f -qq -o "$rasto" "$bench" --benchmark_filter='BM_EpocaComMudanca' >/dev/null 2>&1 || true
    awk '/gv-marca\/epoca/ {dentro=1; n=0; next} /gv-marca\/fim/ {if (dentro) {print n; exit} } dentro {n++}' "$rasto"
    rm -f "$rasto"
}

ronda() {   # folder
    GV_BENCH_JOGOS=$1 "$bench" --benchmark_filter='BM_RondaCampeonato' --benchmark_format=csv 2>/dev/null |
        awk -F, '/BM_RondaCampeonato/ {printf "%.2f %s\n", $3, $5}'
}

local_=$(mktemp -d)
echo "local disk ($(findmnt -no FSTYPE -T "$local_")): season $(epoca "$local_") system calls, league round $(ronda "$local_")"
rm -rf "$local_"
if [ -n "$fuse" ]; then
    echo "$fuse ($(findmnt -no FSTYPE -T "$fuse")): season $(epoca "$fuse") system calls, league round $(ronda "$fuse")"
fi
