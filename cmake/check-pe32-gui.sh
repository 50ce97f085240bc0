#!/usr/bin/env bash
# The release executable must be a 32-bit PE image for the Windows GUI subsystem, whose manifest
# asks for common controls 6 and names no execution level: with one, Windows would run it without
# the file and registry virtualization through which the client writes, and its rows would vanish.
set -euo pipefail
objdump=$1 exe=$2
header=$("$objdump" -f "$exe")
details=$("$objdump" -p "$exe")
grep -q 'file format pei-i386' <<<"$header" || { echo "not PE32: $exe"; exit 1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$details" || { echo "not a GUI image: $exe"; exit 1; }
grep -qa 'Microsoft.Windows.Common-Controls' "$exe" || { echo "no common controls 6: $exe"; exit 1; }
if grep -qa 'requestedExecutionLevel' "$exe"; then
    echo "the manifest names an execution level: $exe"
    exit 1
fi
echo "PE32 GUI: $exe ($(stat -c %s "$exe") bytes)"
