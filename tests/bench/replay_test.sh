#!/usr/bin/env bash
# Records bench matches under each rule mode, writes each record as text, reads it back and
# replays it; every replay must end on the match's own table and scores.
# Usage: replay_test.sh path/to/velnora-bench [matches per level]
set -euo pipefail
bench="$1"
matches="${2:-60}"
for rules in default hoyle random; do
    out=$("$bench" --seed 3 --matches "$matches" --level all --rules "$rules" --replay)
    line=$(grep '^records' <<<"$out")
    echo "$rules: $line"
    grep -q 'mismatches 0$' <<<"$line" || { grep '^first mismatch' <<<"$out" >&2; exit 1; }
done
