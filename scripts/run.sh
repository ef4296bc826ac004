#!/usr/bin/env bash
# The main job: install what is missing, build the plug-in for Linux and
# both Windows targets, show what a host sees of the Linux build, render the
# built-in demo song through it with a transfer curve drawn in its editor,
# and save a picture of that editor, all into out/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$root/scripts/install-deps.sh"
echo "run: building in $build_root (this takes a few minutes the first time)"
build_native
for arch in "${windows_arches[@]}"; do
    build_windows "$arch"
done
echo "run: plug-in binaries:"
echo "    $native_dir/bin/Varnex.so"
for arch in "${windows_arches[@]}"; do
    echo "    $(windows_dir "$arch")/bin/Varnex.dll"
done
echo
"$native_dir/bin/varnex" info
echo
mkdir -p "$root/out"
"$native_dir/bin/varnex" render -o "$root/out/varnex-demo-output.wav" \
    --curve-normalized --curve "$demo_curve"
"$native_dir/bin/varnex" snapshot -o "$root/out/editor.png" --curve-normalized --curve "$demo_curve"
# The same curve entered with the real pointer in the editor on an X server.
"$root/scripts/edit-screenshot.sh" "$root/out/edit-x11.png"
echo "run: compare $root/out/varnex-demo-input.wav (the demo song)"
echo "     with    $root/out/varnex-demo-output.wav (through Varnex, curve as drawn in"
echo "             $root/out/editor.png, and on X11 in $root/out/edit-x11.png)"
