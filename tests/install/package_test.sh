#!/bin/sh
# Builds the Debian package of a build folder into a temporary folder and checks what a user's
# apt sees: the control fields, the soundfont the music needs among the recommendations, and a
# stripped program (the debug information made the package install thirty megabytes).
set -eu
build_dir=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$(ls "$out"/velnora_*_amd64.deb)
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = velnora ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
field Version | grep -Eq '^[0-9]+\.[0-9]+' || fail "Version: $(field Version)"
for lib in libqt6widgets6 libqt6network6 libsdl2-mixer-2.0-0 libsqlite3-0; do
    field Depends | grep -q "$lib" || fail "Depends lacks $lib: $(field Depends)"
done
field Recommends | grep -q 'timgm6mb-soundfont' || fail "Recommends: $(field Recommends)"

dpkg-deb -x "$deb" "$out/root"
program="$out/root/usr/bin/velnora"
[ -x "$program" ] || fail "no usr/bin/velnora in the package"
if readelf -S "$program" | grep -Eq '\.debug_|\.symtab'; then
    fail "usr/bin/velnora is not stripped"
fi
size=$(field Installed-Size)
# Stripped, the program and its data install in well under 15 MB (Installed-Size is in KiB).
[ "$size" -lt 15000 ] || fail "Installed-Size $size KiB"
echo "package ok: Installed-Size $size KiB"
