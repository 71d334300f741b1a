#!/usr/bin/env bash
# Starts the viewer in a window when there is a display.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -x build/rasterview ]; then
  exec build/rasterview
fi
echo "The viewer is not built yet: the math and scene libraries are; run 'make test'."
