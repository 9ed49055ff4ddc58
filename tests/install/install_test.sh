#!/usr/bin/env bash
# `cmake --install` into a staging folder: exactly the expected files, the links and the saver
# module reaching the program, desktop entries, metainfo, the XScreenSaver description and the
# manual pages as their validators and man(1) want them, icons of the named sizes, and the
# installed render tool drawing a frame from the installed data.
# usage: install_test.sh <build folder>
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"

expected="$(cat "$(dirname "$0")/expected_files.txt")"
# The pictures of the default data are many; the data test counts them.
actual="$(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | grep -v '^share/lucivanta/\(Images\|Backdrop\)/' | LC_ALL=C sort)"
[ "$actual" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
ls "$root/share/lucivanta/Images/"*.bmp "$root/share/lucivanta/Backdrop/"*.bmp >/dev/null

# The hack is the program; the saver module runs it with --root (a broken window id shows it).
[ "$(readlink -f "$root/libexec/xscreensaver/lucivanta")" = "$root/bin/lucivanta" ] || fail "hack link"
set +e
message="$(XSCREENSAVER_WINDOW=garbage "$root/libexec/xsecurelock/saver_lucivanta" 2>&1 >/dev/null)"
code=$?
set -e
[ $code -eq 1 ] && [[ "$message" == *XSCREENSAVER_WINDOW* ]] || fail "saver module: exit $code, $message"

desktop-file-validate "$root/share/applications/lucivanta.desktop" \
  "$root/share/applications/screensavers/lucivanta.desktop"
grep -qx 'Exec=lucivanta --root' "$root/share/applications/screensavers/lucivanta.desktop" || fail "Exec"
appstreamcli validate --no-net "$root/share/metainfo/org.lucivanta.Lucivanta.metainfo.xml" >/dev/null
xmllint --noout "$root/share/xscreensaver/config/lucivanta.xml"

for page in "$root/share/man/man6/lucivanta.6.gz" "$root/share/man/man1/lucivanta-render.1.gz"; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "$page: $warnings"
done

for size in 48 128 256; do
  file "$root/share/icons/hicolor/${size}x${size}/apps/lucivanta.png" | grep -q "PNG image data, $size x $size" ||
    fail "icon $size"
done

"$root/bin/lucivanta-render" --quiet --size 64x48 --duration 1 --output "$stage/frame.png" >/dev/null
file "$stage/frame.png" | grep -q "PNG image data, 64 x 48" || fail "installed render tool"
