#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal build, then the
# Debian package made from it, then the unit tests again under the address and
# undefined-behaviour sanitizers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"

export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
# The /usr prefix of the package, so that making it rebuilds nothing.
"$root/scripts/build.sh" "$root/build" -DCMAKE_INSTALL_PREFIX=/usr
(cd "$root/build" && ctest --output-on-failure -j 2 --timeout 300)

# The Debian package from the same build folder: built, listed, installed, used and removed.
deb="$("$root/scripts/package.sh" "$root/build")"
bash "$root/tests/install/package_test.sh" "$deb"

# clang, so that one instrumented build also carries the fuzz targets (their corpora replayed and
# fuzzed for a few seconds each), then a soak of one simulated hour.
CC=clang CXX=clang++ "$root/scripts/build.sh" "$root/build-sanitize" -DLUCIVANTA_SANITIZE=ON -DLUCIVANTA_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug
# Tests that bound how fast a real program answers a signal or a display run in the plain build
# above; an instrumented program is many times slower, so there they would measure the sanitizer.
timed='^(Desktop_Test|Hack_Contract|Xscreensaver|Pacing)\.|^Each_Use/Lost_Display\.|^Headless_Program\.EndsInOrder|^Stopped_Time\.'
(cd "$root/build-sanitize" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j 2 -L "unit|fuzz" -E "$timed" --timeout 1200)
"$root/scripts/soak.sh" 1 "$root/build/tools/render/lucivanta-render"
