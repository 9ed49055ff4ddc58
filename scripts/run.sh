#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lucivanta (arguments are passed on, e.g. /s).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build" -DLUCIVANTA_TESTS=OFF -DLUCIVANTA_BENCH=OFF
exec "$root/build/src/lucivanta" "$@"
