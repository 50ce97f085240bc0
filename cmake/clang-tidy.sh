#!/usr/bin/env bash
# Runs clang-tidy over the sources named, as the build's compile database compiles them, as many
# at a time as there are cores, and fails when any of them has a finding or does not parse.
# Usage: clang-tidy.sh <clang-tidy> <build dir> [--extra-arg=...]... -- <source>...
set -uo pipefail
tidy=$1 build=$2
shift 2
extra=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    extra+=("$1")
    shift
done
shift
if [ ! -x "$tidy" ]; then
    echo "clang-tidy is not installed (Debian package clang-tidy)"
    exit 1
fi

# A file's report is printed in one piece so that two runs at a time do not mix their lines.
check() {
    local report
    report=$("$tidy" --quiet -p "$build" "${extra[@]}" "$1" 2>&1) && return 0
    printf '%s\n' "$report"
    return 1
}

jobs=$(nproc)
running=0
failed=0
for source in "$@"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || failed=$((failed + 1))
        running=$((running - 1))
    fi
    check "$source" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=$((failed + 1))
    running=$((running - 1))
done
echo "clang-tidy: $# files, $failed with findings"
[ "$failed" -eq 0 ]
