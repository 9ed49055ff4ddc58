#!/usr/bin/env bash
# Builds the Debian package: scripts/package.sh [build folder] (default build/). Configures the
# folder for the /usr prefix (an existing build only rebuilds the few files that name installed
# paths), builds it, runs CPack, and prints the path of the .deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$dir" -DCMAKE_INSTALL_PREFIX=/usr >&2
rm -f "$dir"/lucivanta_*.deb
(cd "$dir" && cpack -G DEB >&2)
ls "$dir"/lucivanta_*.deb
