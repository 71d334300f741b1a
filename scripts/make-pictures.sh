#!/usr/bin/env bash
# Regenerates docs/images/, then every table of figures in the README through
# scripts/make-numbers.py. The window's own pictures come from
# scripts/make-window-pictures.sh. For each view, one `rastershot --renderer both`
# writes the software picture, the OpenGL picture and their difference, and
# for two views `--show all` writes the false-colour views of the software frame.
#   scripts/make-pictures.sh [--quick] [BUILD_DIR]      (default: build)
# --quick goes to make-numbers.py: few repetitions, for trying the scripts.
# Without a display it runs itself again under its own Xvfb, whose screen holds
# a 1920 x 1080 window.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
for arg in "$@"; do
  [ "$arg" = --quick ] || build=$arg
done
shot=$build/rastershot
for program in "$shot" "$build/rasterview" "$build/viewer_tour"; do
  [ -x "$program" ] || { echo "$program is missing: build first ('make build' does)." >&2; exit 1; }
done
if [ -z "${DISPLAY:-}" ]; then
  # make-numbers.py then says the OpenGL times are Xvfb's.
  RV_NUMBERS_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1200x24" "$0" "$@"
fi

# picture name | rastershot flags
views=(
  "startup|"
  "close-up|--zoom 10 --tilt -25"
  "grazing|--tilt -84 --zoom 6"
  "near-plane|--zoom 9.9"
)

mkdir -p docs/images
scripts/make-window-pictures.sh "$build"
for view in "${views[@]}"; do
  IFS='|' read -r name flags <<<"$view"
  # shellcheck disable=SC2086 # the flags are words on purpose
  "$shot" --renderer both --quiet --out "docs/images/$name" $flags 2>"docs/images/$name.txt"
  echo "docs/images/$name-{software,opengl,diff}.png: $(cat "docs/images/$name.txt")" >&2
  rm "docs/images/$name.txt"
done

# Real models from Debian's assimp-testmodels, for the README's row of them.
models=/usr/share/assimp/models
for model in "duck|Collada/duck.dae" "spider|OBJ/spider.obj" "engine|glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb"; do
  IFS='|' read -r name file <<<"$model"
  "$shot" --renderer both --quiet --model "$models/$file" --out "docs/images/model-$name" 2>"docs/images/model-$name.txt"
  echo "docs/images/model-$name-{software,opengl,diff}.png: $(cat "docs/images/model-$name.txt")" >&2
  rm "docs/images/model-$name.txt"
done

# False-colour views of the software frame at two views, for the README's row of them.
for view in "startup|" "grazing|--tilt -84 --zoom 6"; do
  IFS='|' read -r name flags <<<"$view"
  # shellcheck disable=SC2086 # the flags are words on purpose
  "$shot" --renderer software --quiet --show all --out "docs/images/views-$name" $flags
  rm "docs/images/views-$name-software.png"
  echo "docs/images/views-$name-software-{depth,lod,normal,texcoord,spans}.png" >&2
done

# The README's tables of figures, measured on the same display.
exec scripts/make-numbers.py "$@"
