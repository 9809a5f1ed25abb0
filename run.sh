#!/usr/bin/env bash
# Installs what is missing, builds and starts Golvantario 99.
set -euo pipefail
source "$(dirname "$0")/scripts/preparar.sh"
instalar_em_falta
construir
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Golvantario 99 needs a graphical display (X11 or Wayland) and none was found." >&2
    echo "Start it from a desktop session, or under a virtual display: xvfb-run -a $RAIZ/build/bin/golvantario" >&2
    exit 2
fi
exec "$RAIZ/build/bin/golvantario"
