#!/usr/bin/env bash
# Cross-builds the libraries that Debian ships for Linux only but that the
# Windows builds of `varnex analyze` need: FFTW 3 in double precision, as a
# static library, from Debian's own source package, for each mingw target.
# Installs into build/mingw-deps/<arch> (cmake/MingwDeps.cmake looks there).
# A prefix whose stamp matches the version and options is left as it is, so
# a second run does nothing. The first run takes several minutes per target.
# usage: scripts/mingw-deps.sh [ARCH...]   (default: i686 x86_64)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

arches=("$@")
[[ ${#arches[@]} -gt 0 ]] || arches=("${windows_arches[@]}")

deps_root=$build_root/mingw-deps
sources=$deps_root/sources
pool=http://deb.debian.org/debian/pool/main/f/fftw3
fftw_version=3.3.10-1
# The source package's description, pinned: dpkg-source then checks the
# tarballs against the checksums in it.
fftw_dsc=fftw3_$fftw_version.dsc
fftw_dsc_sha256=5c6a64c8047e33f122fb1eebd4316178e3da86da16de70da0527906adcf22924
fftw_files=("$fftw_dsc" fftw3_3.3.10.orig.tar.gz "fftw3_$fftw_version.debian.tar.xz")

fftw_options() {
    local arch=$1
    local options=(--disable-fortran --enable-static --disable-shared --disable-doc
        --disable-threads --enable-sse2 --with-our-malloc)
    # 32-bit Windows callers may hand over a stack aligned to 4 bytes only;
    # FFTW's SSE2 code then realigns it itself.
    [[ $arch == i686 ]] && options+=(--with-incoming-stack-boundary=2)
    echo "${options[@]}"
}

fetch_fftw_source() {
    local tree=$sources/fftw3-3.3.10
    [[ -f $tree/.unpacked ]] && return 0
    mkdir -p "$sources"
    local file
    for file in "${fftw_files[@]}"; do
        [[ -s $sources/$file ]] && continue
        curl -fsS --retry 3 -o "$sources/$file.part" "$pool/$file" || {
            echo "mingw-deps: cannot download $pool/$file" >&2
            return 1
        }
        mv -f "$sources/$file.part" "$sources/$file"
    done
    echo "$fftw_dsc_sha256  $sources/$fftw_dsc" | sha256sum -c --quiet - || {
        echo "mingw-deps: $fftw_dsc is not the pinned one" >&2
        return 1
    }
    rm -rf "$tree"
    # The signature's key is not on the machine; the pinned checksum stands
    # in for it, and dpkg-source checks the tarballs against the description.
    (cd "$sources" && dpkg-source --no-check -x "$fftw_dsc" "$tree") >/dev/null
    touch "$tree/.unpacked"
}

build_fftw() {
    local arch=$1
    local prefix=$deps_root/$arch
    local stamp="fftw3 $fftw_version $(fftw_options "$arch")"
    if [[ -f $prefix/.fftw-stamp && $(cat "$prefix/.fftw-stamp") == "$stamp" ]]; then
        return 0
    fi
    fetch_fftw_source
    local work=$deps_root/work-fftw-$arch
    rm -rf "$work" "$prefix"
    mkdir -p "$work"
    local started=$SECONDS
    echo "mingw-deps: building FFTW $fftw_version for $arch (log: $work.log)"
    # shellcheck disable=SC2046
    if ! (cd "$work" &&
        "$sources/fftw3-3.3.10/configure" --host="$arch-w64-mingw32" --prefix="$prefix" \
            CC="$arch-w64-mingw32-gcc-posix" $(fftw_options "$arch") &&
        make -j"$jobs" && make install) >"$work.log" 2>&1; then
        echo "mingw-deps: the FFTW build for $arch failed; the end of $work.log:" >&2
        tail -n 40 "$work.log" >&2
        return 1
    fi
    echo "$stamp" >"$prefix/.fftw-stamp"
    rm -rf "$work"
    echo "mingw-deps: FFTW for $arch built in $((SECONDS - started)) s"
}

for arch in "${arches[@]}"; do
    build_fftw "$arch"
done
