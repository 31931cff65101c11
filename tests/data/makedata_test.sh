#!/usr/bin/env bash
# newyear-makedata's arguments and errors: usage, --help, and one line with
# the reason when a file cannot be written, leaving no cut-off file behind.
source "$(dirname "$0")/../xvfb.sh"
makedata=$1

# expectStatus STATUS PATTERN ARGS...: the status, and PATTERN in what it said
# on stderr, run in $work.
expectStatus()
{
    local want=$1 pattern=$2 status=0
    shift 2
    (cd "$work" && exec "$makedata" "$@") >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq "$want" ] || fail "status $status for '$*', expected $want: $(cat "$work/err")"
    grep -q -- "$pattern" "$work/err" || fail "for '$*': '$(cat "$work/err")' lacks '$pattern'"
}

expectStatus 2 '^usage: newyear-makedata OUTDIR$'
expectStatus 2 '^newyear-makedata: unknown option "--bogus"$' --bogus
expectStatus 2 '^usage:' a b
(cd "$work" && exec "$makedata" --help) >"$work/out" || fail "--help failed"
grep -qx 'usage: newyear-makedata OUTDIR' "$work/out" || fail "--help says: $(cat "$work/out")"
[ ! -e "$work/--help" ] || fail "--help made a folder"

expectStatus 1 . missing
oneLine "^newyear-makedata: cannot write \"missing/hm.dat\": No such file or directory\$"

# A full disk (here a file size limit smaller than the height map).
mkdir "$work/full"
status=0
(
    trap '' XFSZ
    ulimit -f 16
    exec "$makedata" "$work/full"
) 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "status $status on a full disk: $(cat "$work/err")"
oneLine "^newyear-makedata: cannot write \"$work/full/hm.dat\": File too large\$"
[ -z "$(ls "$work/full")" ] || fail "left behind: $(ls -l "$work/full")"
echo "makedata_test: passed"
