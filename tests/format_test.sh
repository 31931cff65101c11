#!/usr/bin/env bash
# Every C++ file in the repository is formatted as .clang-format says: run
# clang-format -i on the files it names.
set -euo pipefail
cd "$1"
mapfile -t files < <(find src tools tests bench -name '*.cpp' -o -name '*.h' | sort)
[ ${#files[@]} -gt 0 ] || { echo "no C++ files found"; exit 1; }
if ! clang-format --dry-run --Werror "${files[@]}" 2>"${TMPDIR:-/tmp}/format-$$.log"; then
    grep -o '^[^:]*\.\(cpp\|h\)' "${TMPDIR:-/tmp}/format-$$.log" | sort -u | sed 's/^/not formatted: /'
    rm -f "${TMPDIR:-/tmp}/format-$$.log"
    exit 1
fi
rm -f "${TMPDIR:-/tmp}/format-$$.log"
echo "format_test: ${#files[@]} files formatted"
