#!/usr/bin/env bash
# Plays the pinned bench matches under each rule mode and compares the closing signature with
# the one kept beside this script. Usage: signature_test.sh path/to/velnora-bench
set -euo pipefail
bench="$1"
pins="$(dirname "$0")/signatures.txt"
failed=0
while read -r rules expected; do
    case "$rules" in ''|'#'*) continue ;; esac
    got=$("$bench" --seed 1 --matches 1000 --level all --rules "$rules" | sed -n 's/^signature //p')
    if [ "$got" = "$expected" ]; then
        echo "$rules: $got"
    else
        echo "$rules: signature ${got:-missing}, pinned $expected" >&2
        failed=1
    fi
done < "$pins"
exit "$failed"
