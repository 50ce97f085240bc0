#!/usr/bin/env bash
# The release executable must be a 32-bit PE image for the Windows GUI subsystem.
set -euo pipefail
objdump=$1 exe=$2
header=$("$objdump" -f "$exe")
details=$("$objdump" -p "$exe")
grep -q 'file format pei-i386' <<<"$header" || { echo "not PE32: $exe"; exit 1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$details" || { echo "not a GUI image: $exe"; exit 1; }
echo "PE32 GUI: $exe ($(stat -c %s "$exe") bytes)"
