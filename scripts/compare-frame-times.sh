#!/usr/bin/env bash
# Frame times of one or more builds side by side, run after run in turn on the
# same machine, so that ratios between them are not skewed by a load that came
# and went: for each view and thread count every build's rastershot --stats
# times the software frame in memory, as one image in the window and the
# difference view. Medians of FRAMES frames in ms, the fastest frame in
# brackets (other programs on a shared machine only ever add time); with two
# builds a last column gives the second's median over the first's.
#   scripts/compare-frame-times.sh [-f FRAMES] BUILD_DIR [BUILD_DIR...]
# Without a display it runs itself again under its own Xvfb.
set -euo pipefail
frames=30
if [ "${1:-}" = -f ]; then
  frames=$2
  shift 2
fi
[ $# -ge 1 ] || { echo "usage: $0 [-f FRAMES] BUILD_DIR [BUILD_DIR...]" >&2; exit 1; }
for build in "$@"; do
  [ -x "$build/rastershot" ] || { echo "$build/rastershot is missing: build first." >&2; exit 1; }
done
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1920x1200x24" "$0" -f "$frames" "$@"
fi

field() { grep -o "\"$1\": [0-9.]*" <<<"$2" | head -n 1 | sed 's/.*: //'; }

# label | size | rastershot flags
views=(
  "1080p filling|1920x1080|--spin 0 --tilt 0 --zoom 8"
  "480 filling|480x480|--spin 0 --tilt 0 --zoom 8"
  "start-up view|480x480|"
)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

header="| View | Threads | Measure |"
rule="|---|---:|---|"
for build in "$@"; do
  header+=" $build |"
  rule+="---:|"
done
[ $# -eq 2 ] && header+=" ratio |" && rule+="---:|"
echo "Milliseconds per frame, median of $frames frames (fastest), $(grep -m 1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(nproc) cores:"
echo
echo "$header"
echo "$rule"
for view in "${views[@]}"; do
  IFS='|' read -r label size flags <<<"$view"
  for threads in 1 2; do
    declare -A memory=() image=() difference=()
    for build in "$@"; do
      # shellcheck disable=SC2086 # the flags are words on purpose
      out=$("$build/rastershot" --renderer both --size "$size" --frames "$frames" --stats --threads "$threads" \
        --out "$scratch/f" $flags 2>/dev/null)
      software=$(grep '"renderer": "software"' <<<"$out")
      difference=$(grep '"renderer": "difference"' <<<"$out")
      memory[$build]="$(field medianMs "$software") ($(field minMs "$software"))"
      image[$build]="$(field glImageMedianMs "$software") ($(field glImageMinMs "$software"))"
      difference[$build]="$(field medianMs "$difference") ($(field minMs "$difference"))"
    done
    for measure in memory image difference; do
      [ "$measure" = difference ] && [ "$label" != "1080p filling" ] && continue
      declare -n values=$measure
      line="| $label | $threads | $measure |"
      for build in "$@"; do line+=" ${values[$build]} |"; done
      if [ $# -eq 2 ]; then
        line+=" $(awk -v a="${values[$1]%% *}" -v b="${values[$2]%% *}" 'BEGIN { printf "%.2f", b / a }') |"
      fi
      echo "$line"
      unset -n values
    done
    unset memory image difference
  done
done
