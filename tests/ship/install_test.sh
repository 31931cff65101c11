#!/usr/bin/env bash
# cmake --install into a scratch root: the file tree, the desktop entry and
# the metainfo through their validators, the man page through groff, and the
# installed demo's message when it is started away from its data.
source "$(dirname "$0")/common.sh"
build=$1
source=$2
prefix=$(installedPrefix "$build")
DESTDIR=$work/root cmake --install "$build" >/dev/null
checkTree "$work/root" "$prefix" "$source"
share=$work/root$prefix/share

desktop-file-validate "$share/applications/newyear.desktop" || fail "desktop-file-validate"
# The whole tree as AppStream sees it, at its strictest: the metainfo file
# is named after its component id, and its desktop entry and icon are there.
appstreamcli validate-tree --pedantic --no-net "$work/root$prefix" >"$work/as" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$work/as")"
metainfo=$share/metainfo/invalid.newyear.demo.metainfo.xml
grep -q '<launchable type="desktop-id">newyear.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch newyear.desktop"
grep -q '<icon type="stock">newyear</icon>' "$metainfo" || fail "the metainfo does not show the newyear icon"

gzip -dc "$share/man/man6/newyear.6.gz" >"$work/newyear.6"
man=$work/newyear.6
groff -man -ww -z "$man" 2>"$work/groff" || fail "groff failed"
[ ! -s "$work/groff" ] || fail "groff warns: $(cat "$work/groff")"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS CONTROLS FILES ENVIRONMENT "EXIT STATUS" "SEE ALSO"; do
    grep -qx ".SH \"\?$section\"\?" "$man" || fail "the man page has no $section section"
done
grep -q '^\.TH NEWYEAR 6 ' "$man" || fail "the man page is not in section 6"
! grep -q '@' "$man" || fail "the man page has an unfilled placeholder"
# As a reader sees it: every option, the data folder and the README, which
# is installed where it says.
groff -man -Tascii -rLL=200n -rHY=0 -P-cbou "$man" >"$work/man.txt"
for option in '-h, --help' '--version' '-w, --window' '-s, --scale N' '-d, --data DIR' '-m, --mute'; do
    grep -qx " *$option" "$work/man.txt" || fail "the man page does not describe $option"
done
grep -qF 'newyear [OPTION]...' "$work/man.txt" || fail "the synopsis lacks [OPTION]..."
grep -qF "$prefix/share/games/newyear." "$work/man.txt" || fail "the man page does not name the data folder"
readme=$(grep -o "/[^ ]*/README.md.gz" "$work/man.txt") || fail "the man page points to no README"
[ "$readme" = "$prefix/share/doc/newyear/README.md.gz" ] && [ -f "$work/root$readme" ] ||
    fail "the man page points to $readme, which is not installed"

# Started away from any data, the installed demo names the file it misses
# and every folder it looked in, and fails with status 1.
mkdir "$work/empty"
status=0
(cd "$work/empty" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$work/root$prefix/games/newyear") 2>"$work/err" ||
    status=$?
[ "$status" -eq 1 ] || fail "status $status without data files, expected 1"
oneLine "^newyear: cannot open \"gfx.dat\" in $work/empty or $prefix/share/games/newyear: No such file or directory\$"
echo "install_test: passed"
