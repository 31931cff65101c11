#!/usr/bin/env bash
# tools/make-docs.sh, run in a scratch copy of the tree, makes the committed
# docs/screenshot.png, docs/preview.gif, docs/letters.png and
# docs/projection.png again byte for byte: the pictures carry no dates, so
# they change only when a frame of the demo, a glyph or the landscape's
# projection does.
source "$(dirname "$0")/common.sh"
source=$1
build=$2
mkdir -p "$work/tree/tools" "$work/tree/docs"
ln -s "$source/tools/make-docs.sh" "$work/tree/tools/make-docs.sh"
ln -s "$source/data" "$work/tree/data"
bash "$work/tree/tools/make-docs.sh" "$build" >"$work/log" 2>&1 || fail "make-docs.sh: $(cat "$work/log")"
for f in screenshot.png preview.gif letters.png projection.png; do
    cmp -s "$work/tree/docs/$f" "$source/docs/$f" || fail "docs/$f made again differs from the committed one"
done
echo "docs_test: passed"
