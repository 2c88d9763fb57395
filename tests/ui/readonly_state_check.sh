#!/usr/bin/env bash
# The window reads the game state and changes it only through the engine's named actions. This
# check fails on any line of ui/ that takes a writable reference to the state or assigns to it.
set -euo pipefail
ui="$(dirname "$0")/../../ui"
found=0
report() {
    if [ -n "$1" ]; then
        echo "$2:"
        echo "$1"
        found=1
    fi
}
report "$(grep -nE '(^|[^t] )GameState *&' "$ui"/*.cpp "$ui"/*.h | grep -v 'const GameState' || true)" \
    "a writable reference to the game state"
report "$(grep -nE '(\.|->)state(\(\))?\.[A-Za-z_]+(\[[^]]*\])* *([-+*/|&^]?=[^=]|\+\+|--)' \
    "$ui"/*.cpp "$ui"/*.h || true)" "an assignment to the game state"
report "$(grep -nE '(\.|->)state *= *[^=]' "$ui"/*.cpp "$ui"/*.h || true)" \
    "the game state replaced"
report "$(grep -nE '\b(push|pop|clear|removeAt|removeFace)\([a-z_]+(\.|->)state' \
    "$ui"/*.cpp "$ui"/*.h || true)" "a pile of the game state changed"
if [ "$found" -eq 0 ]; then
    echo "ui/ writes no game state"
fi
exit "$found"
