#!/usr/bin/env bash
# The includes under src/ run one way, from the edges down: a file includes
# its own folder or a folder of a lower layer, never one of a higher layer
# nor a sibling of its own. Each wrong include is named with its file and
# line. A folder missing from the list below fails too, so that a new one
# is given its place, and so does an include of a file outside src/ (tools/
# and bench/ may include src/, never the other way).
#   tests/layers_test.sh SOURCE_DIR
set -euo pipefail
cd "$1/src"

# From the top; the folders on one line are siblings.
layers=(
    "platform/desktop platform/web" # the edges, one per platform
    "platform"                      # what the edges share: the music
    "demo"                          # the demo, and what it asks of an edge
    "effects"
    "data text"
    "render assets"
)

# layerOf FOLDER: "INDEX FOLDER" for the listed folder that holds FOLDER
# (the longest that does), or nothing.
layerOf()
{
    local i f best= index=
    for i in "${!layers[@]}"; do
        for f in ${layers[$i]}; do
            if [[ $1 == "$f" || $1 == "$f"/* ]] && [ ${#f} -gt ${#best} ]; then
                best=$f
                index=$i
            fi
        done
    done
    [ -z "$best" ] || echo "$index $best"
}

faults=0
includes=0
fault()
{
    echo "$1"
    faults=$((faults + 1))
}

mapfile -t files < <(find . -name '*.cpp' -o -name '*.h' | sed 's|^\./||' | sort)
for file in "${files[@]}"; do
    read -r layer folder <<<"$(layerOf "$(dirname "$file")")"
    if [ -z "$folder" ]; then
        fault "src/$file: its folder $(dirname "$file") has no layer in tests/layers_test.sh"
        continue
    fi
    while IFS=: read -r line name; do
        includes=$((includes + 1))
        # As the compiler looks: beside the file first, then from src/.
        target=$name
        [ -f "$(dirname "$file")/$name" ] && target=$(realpath -m --relative-to=. "$(dirname "$file")/$name")
        if [ ! -f "$target" ]; then
            fault "src/$file:$line: includes \"$name\", which is no file under src/"
            continue
        fi
        read -r targetLayer targetFolder <<<"$(layerOf "$(dirname "$target")")"
        if [ -z "$targetFolder" ] || [ "$targetFolder" = "$folder" ] || [ "$targetLayer" -gt "$layer" ]; then
            continue
        fi
        if [ "$targetLayer" -lt "$layer" ]; then
            fault "src/$file:$line: includes $target, of $targetFolder, a layer above $folder"
        else
            fault "src/$file:$line: includes $target, of $targetFolder, a sibling of $folder"
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
done

if [ "$faults" -gt 0 ]; then
    echo "layers_test: $faults includes run the wrong way"
    exit 1
fi
echo "layers_test: $includes includes in ${#files[@]} files run one way"
