#!/usr/bin/env bash
# The release executable must be a 32-bit PE image for the Windows GUI subsystem.
set -euo pipefail
objdump=$1 exe=$2
"$objdump" -f "$exe" | grep -q 'file format pei-i386' || { echo "not PE32: $exe"; exit 1; }
"$objdump" -p "$exe" | grep -q 'Subsystem.*(Windows GUI)' || { echo "not a GUI image: $exe"; exit 1; }
echo "PE32 GUI: $exe ($(stat -c %s "$exe") bytes)"
