#!/usr/bin/env bash
# The viewer's own window in docs/images/, at its start-up size of 480 x 480:
# the difference view with its legend and the keys overlay, as the headless
# tour (build/viewer_tour, the same as `make run` without a display) shows them.
#   scripts/make-window-pictures.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for program in "$build/rasterview" "$build/viewer_tour"; do
  [ -x "$program" ] || { echo "$program is missing: build first ('make build' does)." >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/viewer_tour" tour "$build/rasterview" "$scratch" >/dev/null 2>&1
mkdir -p docs/images
cp "$scratch/6-difference-view.png" docs/images/window-difference-view.png
cp "$scratch/7-keys-overlay.png" docs/images/window-keys-overlay.png
echo "docs/images/window-{difference-view,keys-overlay}.png" >&2
