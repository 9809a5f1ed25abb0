#!/usr/bin/env bash
# Installs what is missing, builds and runs every test, then a short run of
# the benchmarks so they cannot rot.
set -euo pipefail
source "$(dirname "$0")/scripts/preparar.sh"
instalar_em_falta
construir
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The tests' temporary folder is their own: nothing a test or the game's
# cleaner does there touches the machine's.
TMPDIR="$(mktemp -d "${TMPDIR:-/tmp}/golvantario-testes.XXXXXX")"
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
ctest --test-dir "$RAIZ/build" --output-on-failure -j "$(nproc)"
for b in "$RAIZ"/build/bin/bench_*; do
    [ -x "$b" ] || continue
    "$b" --benchmark_min_time=0.01 >/dev/null
    echo "benchmark ok: $(basename "$b")"
done
