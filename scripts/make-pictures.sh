#!/usr/bin/env bash
# Regenerates docs/images/ and the README's performance table. For each view,
# one `rastershot --renderer both` writes the software picture, the OpenGL
# picture and their difference; then, for each row of the table, rastershot
# --stats with one thread and with every core times the software frame in
# memory, through GL points and as one image, and the viewer's difference view.
#   scripts/make-pictures.sh [BUILD_DIR]      (default: build)
# Without a display it runs itself again under its own Xvfb, whose screen holds
# a 1920 x 1080 window.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shot=$build/rastershot
[ -x "$shot" ] || { echo "$shot is missing: build first ('make build' does)." >&2; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1920x1200x24" "$0" "$@"
fi

# picture name | rastershot flags
views=(
  "startup|"
  "close-up|--zoom 10 --tilt -25"
  "grazing|--tilt -84 --zoom 6"
  "near-plane|--zoom 9.9"
)

field() { grep -o "\"$1\": [0-9.]*" <<<"$2" | head -n 1 | sed 's/.*: //'; }

mkdir -p docs/images
for view in "${views[@]}"; do
  IFS='|' read -r name flags <<<"$view"
  # shellcheck disable=SC2086 # the flags are words on purpose
  "$shot" --renderer both --out "docs/images/$name" $flags 2>"docs/images/$name.txt"
  echo "docs/images/$name-{software,opengl,diff}.png: $(cat "docs/images/$name.txt")" >&2
  rm "docs/images/$name.txt"
done

# Real models from Debian's assimp-testmodels, for the README's row of them.
# One thread: the band renderer walks every polygon once per band.
models=/usr/share/assimp/models
for model in "duck|Collada/duck.dae" "spider|OBJ/spider.obj" "engine|glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb"; do
  IFS='|' read -r name file <<<"$model"
  "$shot" --renderer both --threads 1 --model "$models/$file" --out "docs/images/model-$name" 2>"docs/images/model-$name.txt"
  echo "docs/images/model-$name-{software,opengl,diff}.png: $(cat "docs/images/model-$name.txt")" >&2
  rm "docs/images/model-$name.txt"
done

# False-colour views of the software frame at two views, for the README's row of them.
for view in "startup|" "grazing|--tilt -84 --zoom 6"; do
  IFS='|' read -r name flags <<<"$view"
  # shellcheck disable=SC2086 # the flags are words on purpose
  "$shot" --renderer software --show all --out "docs/images/views-$name" $flags
  rm "docs/images/views-$name-software.png"
  echo "docs/images/views-$name-software-{depth,lod,normal,texcoord,spans}.png" >&2
done

# README label | size | rastershot flags
rows=(
  "start-up view|480x480|"
  "filling the window (--spin 0 --tilt 0 --zoom 8)|480x480|--spin 0 --tilt 0 --zoom 8"
  "filling the width (--spin 0 --tilt 0 --zoom 8)|1920x1080|--spin 0 --tilt 0 --zoom 8"
)
frames=50
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
lines=()
for row in "${rows[@]}"; do
  IFS='|' read -r label size flags <<<"$row"
  # shellcheck disable=SC2086 # the flags are words on purpose
  one=$("$shot" --renderer software --size "$size" --frames $frames --stats --threads 1 --out "$scratch/f" $flags)
  # shellcheck disable=SC2086
  all=$("$shot" --renderer both --size "$size" --frames $frames --stats --out "$scratch/f" $flags 2>/dev/null)
  software=$(grep '"renderer": "software"' <<<"$all")
  opengl=$(grep '"renderer": "opengl"' <<<"$all")
  difference=$(grep '"renderer": "difference"' <<<"$all")
  [ -n "$(field glImageMedianMs "$software")" ] || { echo "no timing in the window: is the display usable?" >&2; exit 1; }
  lines+=("| $label | ${size/x/ x } | $(field fragmentsShaded "$one") | $(field medianMs "$one") | $(field medianMs "$software") | $(field glPointsMedianMs "$one") | $(field glPointsMedianMs "$software") | $(field glImageMedianMs "$software") | $(field medianMs "$opengl") | $(field medianMs "$difference") |")
  echo "${lines[-1]}" >&2
done

model=$(grep -m 1 'model name' /proc/cpuinfo | sed 's/.*: //')
threads=$(field threads "$software")
table=$(
  echo "Milliseconds per frame, median of $frames frames, on $model with $(nproc) cores; \"all\" is $threads threads:"
  echo
  echo "| View | Size | Fragments shaded | In memory, 1 thread | In memory, all | GL points, 1 thread | GL points, all | One image, all | OpenGL path | Difference view, all |"
  echo "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|"
  printf '%s\n' "${lines[@]}"
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
