#!/usr/bin/env bash
# Installs what is missing, builds and runs every test, then a short run of
# the benchmarks so they cannot rot.
set -euo pipefail
source "$(dirname "$0")/scripts/preparar.sh"
instalar_em_falta
construir
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir "$RAIZ/build" --output-on-failure -j "$(nproc)"
for b in "$RAIZ"/build/bin/bench_*; do
    [ -x "$b" ] || continue
    "$b" --benchmark_min_time=0.01 >/dev/null
    echo "benchmark ok: $(basename "$b")"
done
