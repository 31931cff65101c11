# Sourced by the shipping tests: a scratch folder removed on exit, failing
# with a message, the real demo under its own headless X server, and
# comparing what it shows with the frames newyear-capture draws.
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"

# to565 IMAGE...: the pixels at 5-6-5 precision, one line of raw RGB per
# image. The X server's renderer may widen 5-6-5 with its own rounding, but
# the top bits of every channel always survive.
to565() { convert "$@" -channel R,B -evaluate And 63736 -channel G -evaluate And 64764 +channel -depth 8 rgb:-; }

# colours IMAGE...: the distinct 5-6-5 colours of all the images, one hex
# "rrggbb" a line, sorted.
colours()
{
    convert "$@" -channel R,B -evaluate And 63736 -channel G -evaluate And 64764 +channel \
        -unique-colors -depth 8 rgb:- | od -An -v -tx1 -w3 | tr -d " " | sort -u
}

# The application icon's sizes, from the build (CTest passes them); 16 and
# 48 are drawn from the 16-pixel art, the others from the 32-pixel one.
iconSizes=${NEWYEAR_ICON_SIZES:?the icon sizes, set by CTest}

# shipped PREFIX: every file an install puts under PREFIX, sorted: laid out
# as Debian's games are, with the documents a Debian package must carry.
shipped()
{
    local size data=$1/share/games/newyear doc=$1/share/doc/newyear
    {
        printf '%s\n' "$1/games/newyear" "$data/gfx.dat" "$data/hm.dat" "$data/music.dat" \
            "$1/share/applications/newyear.desktop" "$1/share/metainfo/invalid.newyear.demo.metainfo.xml" \
            "$1/share/man/man6/newyear.6.gz" "$doc/copyright" "$doc/changelog.gz" "$doc/README.md.gz"
        for size in $iconSizes; do
            echo "$1/share/icons/hicolor/${size}x$size/apps/newyear.png"
        done
    } | sort
}

# installedPrefix BUILD: the prefix the build folder was configured with,
# which the desktop entry and the man page were filled in with.
installedPrefix() { sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$1/CMakeCache.txt"; }

# checkTree ROOT PREFIX SOURCE: the installed files under ROOT are the
# shipped ones, the data, icons and documents are the committed ones, and
# the desktop entry starts the demo in the folder that holds the data.
checkTree()
{
    local root=$1 prefix=$2 source=$3 f
    diff <(cd "$root" && find . -type f | sed 's|^\.||' | sort) <(shipped "$prefix") ||
        fail "installed files differ from the list above"
    [ -x "$root$prefix/games/newyear" ] || fail "newyear is not executable"
    for f in gfx.dat hm.dat music.dat; do
        cmp -s "$source/data/$f" "$root$prefix/share/games/newyear/$f" || fail "$f differs from data/$f"
    done
    for f in $iconSizes; do
        cmp -s "$source/data/icons/newyear-$f.png" "$root$prefix/share/icons/hicolor/${f}x$f/apps/newyear.png" ||
            fail "the ${f}x$f icon differs from data/icons/newyear-$f.png"
    done
    checkIcons "$root$prefix/share/icons/hicolor"
    checkDocs "$root$prefix/share" "$source"
    local desktop=$root$prefix/share/applications/newyear.desktop path
    path=$(sed -n 's/^Path=//p' "$desktop")
    [ "$path" = "$prefix/share/games/newyear" ] || fail "desktop entry Path=$path, not $prefix/share/games/newyear"
    grep -qx 'Exec=newyear' "$desktop" || fail "desktop entry does not run newyear"
    grep -qx 'Icon=newyear' "$desktop" || fail "desktop entry does not use the newyear icon"
}

# checkDocs SHARE SOURCE: the documents are the committed ones, compressed
# as gzip -9n does (no name, no time: the same bytes on every build), and
# the machine-readable copyright file carries the licence in LICENSE.
checkDocs()
{
    local doc=$1/doc/newyear f
    for f in "$1/man/man6/newyear.6.gz" "$doc/changelog.gz" "$doc/README.md.gz"; do
        gzip -dc "$f" | gzip -9n | cmp -s - "$f" || fail "$f is not what gzip -9n makes"
    done
    gzip -dc "$doc/changelog.gz" | cmp -s - "$2/dist/changelog" || fail "changelog.gz is not dist/changelog"
    gzip -dc "$doc/README.md.gz" | cmp -s - "$2/README.md" || fail "README.md.gz is not README.md"
    cmp -s "$doc/copyright" "$2/dist/copyright" || fail "copyright is not dist/copyright"
    head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
        fail "copyright is not in the machine-readable format"
    grep -qx 'Copyright: 2026 the newyear team' "$doc/copyright" || fail "copyright names no holder"
    grep -qx 'Copyright (c) 2026 the newyear team' "$2/LICENSE" || fail "LICENSE names no holder"
    # The licence's text in the copyright file, unindented, is LICENSE's.
    diff <(sed -n '/^License: Expat$/,$ { /^License:/d; s/^ //; s/^\.$//; p }' "$doc/copyright") \
        <(sed -n '/^Permission/,$p' "$2/LICENSE") || fail "the copyright file's licence is not LICENSE's"
}

# checkIcons HICOLOR: each icon is a square PNG of its folder's size, and
# each is its art blown up pixel for pixel: shrunk by sampling to the art's
# size, then blown up again, it is the same picture, and the same as the
# other icons drawn from that art.
checkIcons()
{
    local size art icon
    for size in $iconSizes; do
        icon=$1/${size}x$size/apps/newyear.png
        [ "$(identify -format '%m %wx%h %[channels]' "$icon")" = "PNG ${size}x$size srgba" ] ||
            fail "$icon is $(identify -format '%m %wx%h %[channels]' "$icon")"
        art=32
        [ $((size % 32)) -eq 0 ] || art=16
        convert "$icon" -sample ${art}x$art -depth 8 "$work/art-$size.rgba"
        convert -size ${art}x$art -depth 8 "rgba:$work/art-$size.rgba" -sample ${size}x$size -depth 8 "$work/again.rgba"
        convert "$icon" -depth 8 "$work/icon.rgba"
        cmp -s "$work/icon.rgba" "$work/again.rgba" || fail "$icon is not a ${art}-pixel picture scaled up"
        cmp -s "$work/art-$size.rgba" "$work/art-$art.rgba" || fail "$icon is not the same art as the $art-pixel icon"
    done
}

# frameHashes CAPTURE DATA LAST [OPTIONS...]: captures frames 1..LAST from
# the files in DATA into $work/frames, with the capture's OPTIONS, and
# prints the md5 of each at 5-6-5 precision, line N for frame N.
frameHashes()
{
    rm -rf "$work/frames"
    mkdir -p "$work/frames"
    (cd "$2" && "$1" "${@:4}" 1 "$3" "$work/frames") || fail "newyear-capture ${*:4} 1 $3 failed"
    to565 "$work"/frames/frame-*.png | split -b $((320 * 240 * 3)) --filter=md5sum - | cut -d' ' -f1
}

# frameOf SHOT320 HASHES: the number of the frame a 320x240 picture is, or
# nothing.
frameOf()
{
    local hash
    hash=$(to565 "$1" | md5sum | cut -d' ' -f1)
    grep -nx "$hash" "$2" | head -1 | cut -d: -f1 || true
}
