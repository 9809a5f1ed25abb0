#!/usr/bin/env bash
# Runs the save path's suites with their games, and their temporary
# folders, on a real file system in user space: a bindfs pass-through of a
# folder of the build, as a desktop's NTFS partition, an exFAT stick or a
# network home are (no file made without a name, no rename that refuses a
# name taken, deleted open files kept under a hidden name, locks of this
# machine only). Needs /dev/fuse; says so and stops where there is none.
# Installs bindfs (and what the build needs) when missing, builds, runs.
#   scripts/testes_fuse.sh          on a bindfs mount of its own
#   scripts/testes_fuse.sh PASTA    in PASTA, a folder already mounted (an
#                                   NTFS, exFAT or sshfs mount, say)
set -euo pipefail
source "$(dirname "$0")/preparar.sh"

if [ ! -c /dev/fuse ]; then
    echo "Esta máquina não tem /dev/fuse: os testes num sistema de ficheiros FUSE não correm aqui."
    echo "This machine has no /dev/fuse: the tests on a FUSE file system do not run here."
    exit 0
fi
PACOTES+=(bindfs fuse3)
instalar_em_falta
construir

if [ $# -gt 0 ]; then
    montado="$(realpath "$1")"
    mkdir -p "$montado/gv-testes-fuse"
    montado="$montado/gv-testes-fuse"
    trap 'rm -rf "$montado"' EXIT
else
base="$RAIZ/build/fuse-testes"
por_baixo="$base/por-baixo" montado="$base/montado"
fusermount3 -u "$montado" 2>/dev/null || fusermount -u "$montado" 2>/dev/null || true
rm -rf "$por_baixo"
mkdir -p "$por_baixo" "$montado"
bindfs --no-allow-other "$por_baixo" "$montado"
trap 'fusermount3 -u "$montado" 2>/dev/null || fusermount -u "$montado" 2>/dev/null || true; rm -rf "$por_baixo"' EXIT
if ! mount | grep -q " $montado "; then
    echo "bindfs não montou $montado / bindfs did not mount $montado" >&2
    exit 1
fi
fi

echo "Jogos em / games on: $montado ($(findmnt -no FSTYPE -T "$montado" 2>/dev/null || stat -f -c %T "$montado"))"
# The suites as they run on a local disk: the file system's own lacks are
# real here, none taken away by the game's layer. A user-space file system
# is slower, and each test keeps its minute (on sshfs, a power-cut test of
# the load takes most of it alone).
TMPDIR="$montado" QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$RAIZ/build" -j "$(nproc)" --output-on-failure \
    -R '^(BaseDados|Consultas|Continuidade|Promessas|Fases/|NovoJogo|CarregarJogo|Arredores|Sobras|Caminhos|Nomes|Guardas|Sistemas|Partilhas|Nota|Capacidades|Escritas|Vigia|Retoma)'
