#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh <folder> [extra cmake options…]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
jobs="${LUCIVANTA_JOBS:-$(nproc)}"
cmake -S "$root" -B "$dir" -DLUCIVANTA_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j "$jobs"
