#!/usr/bin/env bash
# Pictures the Varnex editor as X11 shows it: starts an X server of its own
# (Xvfb), opens the native build's editor with `varnex edit`, which enters
# the demo's transfer curve with real pointer input (XTest), and saves what
# the window shows.
# usage: scripts/edit-screenshot.sh [OUT.png]   (default: out/edit-x11.png)
# Needs the native build (scripts/run.sh or scripts/test.sh make it).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

output=${1:-$root/out/edit-x11.png}
varnex=$native_dir/bin/varnex
# How long Xvfb may take to tell its display number, and the editor to end.
server_timeout=10
edit_timeout=60

fail() {
    echo "edit-screenshot: $*" >&2
    exit 1
}
[[ -x $varnex ]] || fail "no $varnex; build it first (scripts/run.sh)"
command -v Xvfb >/dev/null || fail "Xvfb is not installed (Debian package xvfb)"
mkdir -p "$(dirname "$output")"

work=$(mktemp -d)
server=
stop_server() {
    if [[ -n $server ]]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop_server EXIT

# Xvfb picks a free display and writes its number to descriptor 3 once it
# accepts connections.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
server=$!
number=
read -r -t "$server_timeout" number <"$work/display" || true
[[ $number =~ ^[0-9]+$ ]] || fail "Xvfb did not start within $server_timeout s"

DISPLAY=:$number timeout "$edit_timeout" "$varnex" edit --curve-normalized \
    --curve "$demo_curve" --screenshot "$output"
