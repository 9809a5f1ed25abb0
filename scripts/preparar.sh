#!/usr/bin/env bash
# Installs what is missing (Debian packages) and builds the game, its tests
# and benchmarks into build/. Sourced by run.sh and test.sh.
set -euo pipefail

RAIZ="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACOTES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libsqlcipher-dev libssl-dev
         libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core xvfb xauth x11-utils imagemagick
         qt6-translations-l10n)

instalar_em_falta() {
    local falta=()
    for p in "${PACOTES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || falta+=("$p")
    done
    [ ${#falta[@]} -eq 0 ] && return 0
    echo "A instalar / installing: ${falta[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${falta[@]}"
}

construir() {
    cmake -S "$RAIZ" -B "$RAIZ/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$RAIZ/build" -j "$(nproc)"
}
