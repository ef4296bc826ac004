#!/usr/bin/env bash
# Installs the Debian packages that building and testing Varnex need, when
# any is missing. Runs apt-get as root, or through sudo when that needs no
# password; otherwise prints the exact commands to run and fails. Then
# cross-builds what Debian lacks for the Windows builds (scripts/mingw-deps.sh,
# which does nothing once it has).
set -euo pipefail

packages=(
    cmake g++ googletest libgtest-dev libbenchmark-dev clang-format
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 wine32:i386
    ardour zam-plugins dpf-plugins-vst lsp-plugins-vst
    pkg-config libsndfile1-dev libpng-dev libfftw3-dev libfreetype-dev fonts-liberation2
    clang
    libx11-dev libxext-dev libxtst-dev
    xvfb xdotool x11-apps
    curl dpkg-dev make libz-mingw-w64-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$package")
done
mingw_deps=$(dirname "${BASH_SOURCE[0]}")/mingw-deps.sh
if [[ ${#missing[@]} -eq 0 ]]; then
    exec "$mingw_deps"
fi

# The 32-bit wine comes from Debian's i386 architecture.
add_i386=false
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    add_i386=true
fi

commands=()
$add_i386 && commands+=("dpkg --add-architecture i386")
commands+=("apt-get update")
commands+=("apt-get install -y --no-install-recommends ${missing[*]}")

if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo=(sudo)
else
    echo "install-deps: missing packages: ${missing[*]}" >&2
    echo "install-deps: run these as root, then try again:" >&2
    for command in "${commands[@]}"; do
        echo "    $command" >&2
    done
    exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$add_i386 && "${sudo[@]}" dpkg --add-architecture i386
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
exec "$mingw_deps"
