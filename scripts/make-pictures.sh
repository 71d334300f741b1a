#!/usr/bin/env bash
# Regenerates docs/images/ and the README's performance table from the same
# runs: for each view, one `rastershot --renderer both --frames 50 --stats`
# writes the software picture, the OpenGL picture and their difference, and
# reports the median milliseconds per frame of each path.
#   scripts/make-pictures.sh [BUILD_DIR]      (default: build)
# Without a display it runs itself again under its own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shot=$build/rastershot
[ -x "$shot" ] || { echo "$shot is missing: build first ('make build' does)." >&2; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

# name | README label | rastershot flags
views=(
  "startup|start-up view|"
  "close-up|close-up filling the window (--zoom 10 --tilt -25)|--zoom 10 --tilt -25"
  "grazing|grazing view (--tilt -84 --zoom 6)|--tilt -84 --zoom 6"
  "near-plane|through the near plane (--zoom 9.9)|--zoom 9.9"
)

field() { grep -o "\"$1\": [0-9.]*" <<<"$2" | head -n 1 | sed 's/.*: //'; }

mkdir -p docs/images
rows=()
for view in "${views[@]}"; do
  IFS='|' read -r name label flags <<<"$view"
  # shellcheck disable=SC2086 # the flags are words on purpose
  json=$("$shot" --renderer both --frames 50 --stats --out "docs/images/$name" $flags 2>"docs/images/$name.txt")
  software=$(grep '"renderer": "software"' <<<"$json")
  opengl=$(grep '"renderer": "opengl"' <<<"$json")
  points=$(field glPointsMedianMs "$software")
  [ -n "$points" ] || { echo "no GL points timing: is the display usable?" >&2; exit 1; }
  rows+=("| $label | $(field fragmentsShaded "$software") | $(field medianMs "$software") | $points | $(field medianMs "$opengl") |")
  echo "docs/images/$name-{software,opengl,diff}.png: $(cat "docs/images/$name.txt")" >&2
  rm "docs/images/$name.txt"
done

model=$(grep -m 1 'model name' /proc/cpuinfo | sed 's/.*: //')
table=$(
  echo "Milliseconds per frame at 480 x 480, median of 50 frames, on $model with $(nproc) cores:"
  echo
  echo "| View | Fragments shaded | Software into memory | Software through GL points | OpenGL path |"
  echo "|---|---:|---:|---:|---:|"
  printf '%s\n' "${rows[@]}"
)
echo "$table"

# Between the markers in README.md, the table is this script's.
begin='<!-- performance table: made by scripts/make-pictures.sh -->'
end='<!-- end of performance table -->'
if grep -qF "$begin" README.md && grep -qF "$end" README.md; then
  table=$table awk -v begin="$begin" -v end="$end" '
    $0 == begin { print; print ENVIRON["table"]; skipping = 1; next }
    $0 == end { skipping = 0 }
    !skipping { print }' README.md >README.md.new
  mv README.md.new README.md
  echo "README.md: performance table updated" >&2
fi
