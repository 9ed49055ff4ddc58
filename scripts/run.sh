#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lucivanta (arguments are passed on, e.g. /s).
# Without a display it renders a PNG of the scene instead and prints its path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build" -DLUCIVANTA_TESTS=OFF -DLUCIVANTA_BENCH=OFF
# Without a display there is nothing to show a window on: render a picture of the scene instead
# and print where it is.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: rendering 30 s of the scene into a picture with lucivanta-render" >&2
  exec "$root/build/tools/render/lucivanta-render" --duration 30 --output "$root/build/lucivanta.png"
fi
exec "$root/build/src/lucivanta" "$@"
