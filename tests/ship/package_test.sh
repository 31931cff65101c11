#!/usr/bin/env bash
# cpack -G DEB from the build folder: the package's name, its files (the
# same tree as an install, with the desktop entry pointing at the packaged
# data) and its dependencies. It is not installed here: that would change
# this machine.
source "$(dirname "$0")/common.sh"
build=$1
source=$2
prefix=$(installedPrefix "$build")
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack" 2>&1 ||
    fail "cpack: $(cat "$work/cpack")"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$work/pkg/newyear_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work/pkg")"

[ "$(dpkg-deb -f "$deb" Package)" = newyear ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "package section"
diff <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub("^\\.", "", $6); print $6 }' | sort) <(shipped "$prefix") ||
    fail "packaged files differ from the list above"

# SDL 1.2 must be the one over SDL 2 (the classic one would also satisfy
# the library's own dependency), and the libraries found in the binary.
depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
for want in libsdl1.2-compat-shim libsdl-mixer1.2 libc6 libstdc++6 libwayland-client0; do
    grep -qxF "$want" <<<"$names" || fail "Depends lacks $want: $depends"
done
# A window on Wayland needs it for its title bar; apt installs it unless
# told not to.
[ "$(dpkg-deb -f "$deb" Recommends)" = libdecor-0-plugin-1-cairo ] ||
    fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"

dpkg-deb -x "$deb" "$work/root"
checkTree "$work/root" "$prefix" "$source"
gzip -dc "$work/root$prefix/share/doc/newyear/changelog.gz" >"$work/changelog"
changelog=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$changelog" = "$version" ] || fail "the changelog's last entry is $changelog, the package $version"
echo "package_test: passed"
