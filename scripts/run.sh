#!/usr/bin/env bash
# Opens the viewer on the desktop when there is a display. Without one (a
# server, a CI machine) it runs the viewer on a private Xvfb, uses it a little
# as a person would, and leaves screenshots of what that person saw in out/.
set -euo pipefail
cd "$(dirname "$0")/.."
for program in build/rasterview build/viewer_tour; do
  [ -x "$program" ] || { echo "$program is missing: build first ('make run' does)." >&2; exit 1; }
done
if [ -n "${DISPLAY:-}" ] && build/viewer_tour probe; then
  exec build/rasterview
fi
exec build/viewer_tour tour build/rasterview out
