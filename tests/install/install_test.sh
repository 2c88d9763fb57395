#!/bin/sh
# Installs the built program into a temporary prefix, checks the desktop files with the
# desktop's own validators, and starts the installed program offscreen to see that it runs and
# finds its help pages there.
set -eu
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null
for f in bin/velnora share/velnora/help/index.html share/applications/velnora.desktop \
         share/metainfo/org.example.velnora.Velnora.metainfo.xml \
         share/icons/hicolor/scalable/apps/velnora.svg \
         share/icons/hicolor/48x48/apps/velnora.png share/man/man6/velnora.6; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/velnora.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.example.velnora.Velnora.metainfo.xml"

# The installed program, away from the build tree, with its own settings: it must stay up.
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export VELNORA_USER_STORE="$prefix/user.db" VELNORA_MACHINE_STORE="$prefix/machine.db"
export XDG_DATA_HOME="$prefix/data" XDG_CONFIG_HOME="$prefix/config" XDG_RUNTIME_DIR="$prefix"
unset VELNORA_DATA_DIR || true
cd "$prefix"
"$prefix/bin/velnora" /setup >"$prefix/run.log" 2>&1 &
pid=$!
sleep 4
if ! kill -0 "$pid" 2>/dev/null; then
    echo "the installed program ended early:"; cat "$prefix/run.log"; exit 1
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "installed and started from $prefix"
