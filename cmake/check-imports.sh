#!/usr/bin/env bash
# Every DLL function the executable imports must be on the list in the repository: a new one,
# from our code or from a toolchain update, may be missing on the oldest Windows we support, and
# the program would then fail at load there.
set -euo pipefail
export LC_ALL=C
objdump=$1 exe=$2 list=$3

# "dll function" per import, the DLL in lower case (Windows ignores its case), "#n" by ordinal.
imports=$("$objdump" -p "$exe" | awk '
    /^The Import Tables/ { inside = 1; next }
    /^[A-Za-z]/ { inside = 0 }
    inside && /^\tDLL Name: / { dll = tolower($3); next }
    inside && dll != "" && /^\t[0-9a-f]+\t/ {
        name = $NF
        if (name == "<none>") name = "#" $(NF - 1)
        print dll, name
    }' | sort -u)
[ -n "$imports" ] || { echo "no imports found in $exe"; exit 1; }

unlisted=$(comm -23 <(echo "$imports") <(grep -v '^#' "$list" | sort -u))
if [ -n "$unlisted" ]; then
    echo "imported by $exe but not on $list:"
    echo "$unlisted"
    exit 1
fi
echo "$(wc -l <<<"$imports") imports, all listed: $exe"
