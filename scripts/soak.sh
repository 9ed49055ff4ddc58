#!/usr/bin/env bash
# A long run of the scene: lucivanta-render over HOURS of simulated time (default 24) at a small
# size, its resident memory and open descriptors sampled as it goes. Resident memory is shown
# split into anonymous pages (the heap and stacks: what a leak grows) and file pages (libraries and
# fonts, paged in as code paths and glyphs are first used). Prints the samples and fails when the run fails,
# writes an error line to its log, or ends with more than 8 MiB above its resident memory after
# the first simulated hour (the textures, wall images and caches are all made by then), or with
# more descriptors open than after that hour.
#   scripts/soak.sh [HOURS] [RENDER_TOOL]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
hours="${1:-24}"
tool="${2:-$root/build/tools/render/lucivanta-render}"
work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
seconds=$(( hours * 3600 ))
"$tool" --quiet --size 64x48 --fps 10 --duration "$seconds" --seed 15 --log "$work/log.txt" \
  --output "$work/last.png" &
pid=$!
samples=() anon=() file=() fds=()
while kill -0 "$pid" 2>/dev/null; do
  rss=''
  read -r rss ra rf < <(awk '/^VmRSS:/ {r=$2} /^RssAnon:/ {a=$2} /^RssFile:/ {f=$2}
    END {if (r != "") print r, a, f}' "/proc/$pid/status" 2>/dev/null) || true
  open=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
  # A sample taken while the process is ending (its descriptors already closed) is not of the run.
  if [ -n "${rss:-}" ] && [ "$open" -gt 0 ]; then samples+=("$rss") anon+=("$ra") file+=("$rf") fds+=("$open"); fi
  sleep 1
done
status=0; wait "$pid" || status=$?
echo "simulated ${hours} h in ${#samples[@]} s of real time"
[ "$status" -eq 0 ] || { echo "soak: the run failed with status $status" >&2; exit 1; }
# The log's first line is its title, "Error Log File"; any line after the start's is a report.
if grep -q -E 'FAILED|Error:' "$work/log.txt" 2>/dev/null; then
  echo "soak: reports in the log:" >&2; grep -E 'FAILED|Error:' "$work/log.txt" >&2; exit 1
fi
count=${#samples[@]}
if [ "$count" -ge 2 ]; then
  settled=${samples[$(( (count - 1) / hours ))]}
  last=${samples[$(( count - 1 ))]}
  peak=$(printf '%s\n' "${samples[@]}" | sort -n | tail -1)
  echo "RSS at start ${samples[0]} KiB, after the first hour ${settled} KiB, at end ${last} KiB, peak ${peak} KiB"
  by_hour=() anon_by_hour=() file_by_hour=()
  for (( h = 0; h <= hours; ++h )); do
    i=$(( h * (count - 1) / hours ))
    by_hour+=("${samples[$i]}") anon_by_hour+=("${anon[$i]}") file_by_hour+=("${file[$i]}")
  done
  echo "RSS at each simulated hour (KiB): ${by_hour[*]}"
  echo "  of it anonymous (KiB):          ${anon_by_hour[*]}"
  echo "  of it file pages (KiB):         ${file_by_hour[*]}"
  settled_fds=${fds[$(( (count - 1) / hours ))]}
  echo "open descriptors at start ${fds[0]}, after the first hour ${settled_fds}, at end ${fds[$(( count - 1 ))]}"
  [ $(( last - settled )) -le 8192 ] || { echo "soak: resident memory grew by $(( last - settled )) KiB" >&2; exit 1; }
  [ "${fds[$(( count - 1 ))]}" -le "$settled_fds" ] || { echo "soak: open descriptors grew" >&2; exit 1; }
fi
