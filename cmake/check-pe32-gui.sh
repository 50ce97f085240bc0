#!/usr/bin/env bash
# The release executable must be a 32-bit PE image for the Windows GUI subsystem, whose manifest
# asks for common controls 6 and names no execution level: with one, Windows would run it without
# the file and registry virtualization through which the client writes, and its rows would vanish.
# It declares Windows 7 SP1 as its floor, in the header and in the manifest, and it is the same
# bytes wherever it was built: no link time in the header, no folder of the build machine inside.
set -euo pipefail
objdump=$1 exe=$2 source_dir=$3 build_dir=$4
header=$("$objdump" -f "$exe")
details=$("$objdump" -p "$exe")
fail() { echo "$1: $exe"; exit 1; }

grep -q 'file format pei-i386' <<<"$header" || fail "not PE32"
grep -q 'Subsystem.*(Windows GUI)' <<<"$details" || fail "not a GUI image"
grep -qa 'Microsoft.Windows.Common-Controls' "$exe" || fail "no common controls 6"
if grep -qa 'requestedExecutionLevel' "$exe"; then
    fail "the manifest names an execution level"
fi

version() { awk -v major="Major$1" -v minor="Minor$1" \
    '$1 == major { a = $2 } $1 == minor { b = $2 } END { print a "." b }' <<<"$details"; }
[ "$(version OSystemVersion)" = 6.1 ] || fail "OS version $(version OSystemVersion), not 6.1"
[ "$(version SubsystemVersion)" = 6.1 ] || fail "subsystem version $(version SubsystemVersion)"
# The manifest's supported systems start at Windows 7 (no Vista entry).
grep -qa '35138b9a-5d96-4fbd-8e2d-a2440225f93a' "$exe" || fail "the manifest lacks Windows 7"
if grep -qa 'e2011457-1546-43c5-a5fe-008deee3d3f0' "$exe"; then
    fail "the manifest lists Windows Vista"
fi

pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
stamp=$(od -An -tu4 -j$((pe_offset + 8)) -N4 "$exe" | tr -d ' ')
[ "$stamp" = 0 ] || fail "link time $stamp in the PE header"
for folder in "$source_dir" "$build_dir"; do
    if grep -qaF "$folder" "$exe"; then
        fail "the image names $folder"
    fi
done
echo "PE32 GUI for Windows 6.1, reproducible: $exe ($(stat -c %s "$exe") bytes)"
