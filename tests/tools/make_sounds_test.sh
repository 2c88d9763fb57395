#!/usr/bin/env bash
# tools/make-sounds names every tool it lacks, all at once, before it writes anything; and the
# line it speaks for the "Natural Velnora" event, which also greets a wildcard velnora, names no
# kind of velnora.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
# espeak-ng and sox are there (fakes that would fail if called), soxi and bc are not.
for tool in espeak-ng sox; do
    printf '#!/bin/sh\nexit 99\n' >"$bin/$tool"
    chmod +x "$bin/$tool"
done
for tool in dirname mktemp rm mkdir; do
    ln -s "$(command -v "$tool")" "$bin/$tool"
done

if out=$(PATH="$bin" "$BASH" "$root/tools/make-sounds" 2>&1); then
    fail "make-sounds ran without soxi and bc"
fi
grep -q "missing soxi bc" <<<"$out" || fail "soxi and bc not named as missing: $out"
grep -q "espeak-ng\|sox " <<<"${out%%(*}" && fail "a present tool named as missing: $out"

rm "$bin/sox" "$bin/espeak-ng"
out=$(PATH="$bin" "$BASH" "$root/tools/make-sounds" 2>&1) || true
grep -q "missing espeak-ng sox soxi bc" <<<"$out" || fail "not every tool named: $out"

# The spoken line of natural.wav: the event plays for natural and wildcard velnoras alike.
line=$(grep -B1 -A3 'natchime.wav" 0.07' "$root/tools/make-sounds" | grep 'espeak-ng')
grep -qi 'natural\|wild' <<<"$line" && fail "the velnora line names a kind: $line"
echo "make-sounds checks passed"
