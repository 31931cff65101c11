#!/usr/bin/env bash
# Makes docs/screenshot.png and docs/preview.gif from the demo's own frames:
# newyear-capture draws them from data/ exactly as the demo would, and
# imagemagick doubles them with sharp pixels; docs/letters.png, every glyph
# of the greeting's letters as the scroller shows it, which newyear-letters
# draws; and docs/projection.png, the landscape's projection worked through
# on the first frame, which newyear-projection draws. Usage:
# tools/make-docs.sh [BUILD] (default build/, where the tools are built if
# they are missing).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
[ -x "$build/newyear-capture" ] || cmake --build "$build" --target newyear-capture
[ -x "$build/newyear-letters" ] || cmake --build "$build" --target newyear-letters
[ -x "$build/newyear-projection" ] || cmake --build "$build" --target newyear-projection
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT

# The snow has set in and the scroller is reading out; the camera crosses
# ridges lit up their slopes with dark valleys between, and around frame
# 1917 comes over the pale mountain with the dark ridges beyond it.
first=1670
last=1940
still=1917
(cd data && "$build/newyear-capture" "$first" "$last" "$frames")
mkdir -p docs
# No dates or times in the PNG: the same frames give the same bytes, so the
# files only change when a pixel does.
convert "$frames/frame-$(printf %05d "$still").png" -scale 200% -define png:exclude-chunks=date,time \
    docs/screenshot.png

# Every third frame, each held as long as the demo takes for three (about
# 22 ms apiece), one palette for all so the GIF's frames only store what changed.
picks=()
for ((n = first; n <= last; n += 3)); do
    picks+=("$frames/frame-$(printf %05d "$n").png")
done
palette=()
for ((i = 0; i < ${#picks[@]}; i += 3)); do palette+=("${picks[i]}"); done
convert "${palette[@]}" +append +dither -colors 256 -unique-colors "$frames/palette.png"
convert -delay 7 -loop 0 "${picks[@]}" -scale 200% +dither -remap "$frames/palette.png" \
    -layers OptimizeTransparency docs/preview.gif

"$build/newyear-letters" docs/letters.png
"$build/newyear-projection" data docs/projection.png
ls -l docs/screenshot.png docs/preview.gif docs/letters.png docs/projection.png
