#!/usr/bin/env bash
# newyear-makedata's arguments and errors: usage, --help, and one line with
# the reason when a file cannot be written, leaving no cut-off file behind.
set -euo pipefail
makedata=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

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
"$makedata" --help >"$work/out" || fail "--help failed"
grep -qx 'usage: newyear-makedata OUTDIR' "$work/out" || fail "--help says: $(cat "$work/out")"
[ ! -e "$work/--help" ] || fail "--help made a folder"

expectStatus 1 "^newyear-makedata: cannot write \"missing/hm.dat\": No such file or directory\$" missing
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "expected one line, got: $(cat "$work/err")"

# A full disk (here a file size limit smaller than the height map).
mkdir "$work/full"
status=0
(
    trap '' XFSZ
    ulimit -f 16
    exec "$makedata" "$work/full"
) 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "status $status on a full disk: $(cat "$work/err")"
grep -qx "newyear-makedata: cannot write \"$work/full/hm.dat\": File too large" "$work/err" || fail "said: $(cat "$work/err")"
[ -z "$(ls "$work/full")" ] || fail "left behind: $(ls -l "$work/full")"
echo "makedata_test: passed"
