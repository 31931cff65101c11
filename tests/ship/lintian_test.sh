#!/usr/bin/env bash
# The .deb as Debian's own checker sees it: a package for /usr, built in a
# scratch folder from the sources, must draw no tag at all from lintian at
# its strictest (errors, warnings, info, pedantic and experimental tags),
# and made twice it is the same bytes.
# A package with a known fault shows that the check sees one.
source "$(dirname "$0")/common.sh"
source=$1

# lintianTags DEB: lintian's tags for the package, one a line.
lintianTags() { lintian --pedantic --display-info --display-experimental "$1" 2>/dev/null | grep -E '^[A-Z]: ' || true; }

# Only what the package holds is built: the demo and its compressed documents.
cmake -S "$source" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >"$work/log" 2>&1 || fail "cmake: $(cat "$work/log")"
cmake --build "$work/build" -j2 --target newyear newyear-docs >"$work/log" 2>&1 || fail "build: $(cat "$work/log")"
cpack -G DEB --config "$work/build/CPackConfig.cmake" -B "$work/pkg" >"$work/log" 2>&1 || fail "cpack: $(cat "$work/log")"
deb=$(ls "$work"/pkg/newyear_*.deb)

tags=$(lintianTags "$deb")
[ -z "$tags" ] || fail "lintian: $tags"

# Reproducible: the package made again, a second later and from files made
# anew, as by a second build, is the same bytes. (The time of the sources
# stands in for the time of the build.)
start=$(date +%s)
touch "$work/build/newyear" "$work/build/dist/"*.gz
while [ "$(date +%s)" -le "$start" ]; do sleep 0.1; done
cpack -G DEB --config "$work/build/CPackConfig.cmake" -B "$work/pkg2" >"$work/log" 2>&1 || fail "cpack: $(cat "$work/log")"
cmp -s "$deb" "$work/pkg2/$(basename "$deb")" || fail "a second package differs from the first"

# The same package without its copyright file.
dpkg-deb -R "$deb" "$work/broken"
rm "$work/broken/usr/share/doc/newyear/copyright"
sed -i '/usr\/share\/doc\/newyear\/copyright$/d' "$work/broken/DEBIAN/md5sums"
dpkg-deb --root-owner-group -b "$work/broken" "$work/broken.deb" >/dev/null
tags=$(lintianTags "$work/broken.deb")
[ "$tags" = "E: newyear: no-copyright-file" ] || fail "lintian on a package without copyright: $tags"
echo "lintian_test: passed"
