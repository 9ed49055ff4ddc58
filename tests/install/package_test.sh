#!/usr/bin/env bash
# The Debian package on this machine: it holds exactly the installed tree's files, dpkg installs
# it, the installed programs run (lucivanta-render draws a frame from the installed data), man
# finds and renders both pages without warnings, and dpkg removes it with all its files.
# usage: package_test.sh <package.deb>   (as root, or with sudo)
# Outside CI a lucivanta package that is already installed is left alone: then only the
# package's contents are checked.
set -euo pipefail
deb="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

dpkg-deb -I "$deb"
# Entries as "./usr/bin/lucivanta" or "./usr/libexec/xscreensaver/lucivanta -> ../../bin/lucivanta".
listed="$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./usr/||' |
  grep -v '^share/lucivanta/\(Images\|Backdrop\)/' | LC_ALL=C sort)"
[ "$listed" = "$(cat "$here/expected_files.txt")" ] || fail "package files differ:
$(diff "$here/expected_files.txt" <(echo "$listed"))"
dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "no Depends from shlibdeps"
[ "$(dpkg-deb -f "$deb" Suggests)" = "xscreensaver | xfce4-screensaver | xsecurelock" ] || fail "Suggests"

installed() { dpkg-query -W -f='${Status}' lucivanta 2>/dev/null | grep -q "install ok installed"; }
if installed && [ "${CI:-}" != "true" ]; then
  echo "lucivanta is installed on this machine: not replacing it; the package's contents are right"
  exit 0
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive dpkg -i "$deb" >/dev/null
installed || fail "dpkg -i"
/usr/bin/lucivanta --version | grep -q '^lucivanta ' || fail "installed lucivanta"
/usr/bin/lucivanta-render --quiet --size 64x48 --duration 1 --output "$work/frame.png" >/dev/null
file "$work/frame.png" | grep -q "PNG image data, 64 x 48" || fail "installed lucivanta-render"
for page in "6 lucivanta" "1 lucivanta-render"; do
  # shellcheck disable=SC2086
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings $page 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man $page: $warnings"
done

"${as_root[@]}" dpkg -r lucivanta >/dev/null
! installed || fail "dpkg -r"
while read -r path; do
  [ ! -e "/usr/$path" ] && [ ! -L "/usr/$path" ] || fail "left behind: /usr/$path"
done <"$here/expected_files.txt"
echo "package: installed, used and removed"
