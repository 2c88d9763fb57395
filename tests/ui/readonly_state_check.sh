#!/usr/bin/env bash
# Only the engine writes the game state: the window, the network session, the online extras and
# the store read it and change it through the engine's named actions. This check fails on any
# line of those layers that takes a writable reference to the state or assigns to it. The saved
# game's reader fills a state of its own (its result), which the engine then adopts.
set -euo pipefail
root="$(dirname "$0")/../.."
files=()
for layer in ui net online store; do
    files+=("$root/$layer"/*.cpp "$root/$layer"/*.h)
done
found=0
report() {
    if [ -n "$1" ]; then
        echo "$2:"
        echo "$1"
        found=1
    fi
}
report "$(grep -nE '(^|[^t] )GameState *&' "${files[@]}" | grep -v 'const GameState' |
    grep -vE 'store/saved_game\.cpp:[0-9]+: *GameState& g = r\.state;' || true)" \
    "a writable reference to the game state"
report "$(grep -nE '(\.|->)state(\(\))?\.[A-Za-z_]+(\[[^]]*\])* *([-+*/|&^]?=[^=]|\+\+|--)' \
    "${files[@]}" || true)" "an assignment to the game state"
report "$(grep -nE '(\.|->)state *= *[^=]' "${files[@]}" || true)" "the game state replaced"
report "$(grep -nE '\b(push|pop|clear|removeAt|removeFace)\([a-z_]+(\.|->)state' \
    "${files[@]}" || true)" "a pile of the game state changed"
if [ "$found" -eq 0 ]; then
    echo "only the engine writes the game state"
fi
exit "$found"
