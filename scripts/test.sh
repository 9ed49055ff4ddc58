#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal build, then the
# unit tests again under the address and undefined-behaviour sanitizers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j 2 --timeout 300)

"$root/scripts/build.sh" "$root/build-sanitize" -DLUCIVANTA_SANITIZE=ON -DLUCIVANTA_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-sanitize" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j 2 -L unit --timeout 600)
