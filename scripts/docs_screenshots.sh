#!/usr/bin/env bash
# Refreshes the README's pictures from the screenshots of a test run:
#   bash scripts/test.sh && bash scripts/docs_screenshots.sh [SCREENSHOT_DIR]
# (default build/screenshots). Each window is cut out of the black Xvfb screen.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
shots=${1:-$root/build/screenshots}
out="$root/docs/images"
mkdir -p "$out"
for name in launcher_list_open skin_launcher_tree config_filled_lists exchange_export_filled exchange_import_filled; do
  if [ -f "$shots/$name.png" ]; then
    convert "$shots/$name.png" -bordercolor black -border 1 -fuzz 2% -trim +repage -strip "$out/$name.png"
  else
    echo "docs_screenshots: $shots/$name.png is missing (run scripts/test.sh first)" >&2
  fi
done
ls -1 "$out"
