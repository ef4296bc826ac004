#!/usr/bin/env bash
# Cross-builds the libraries that Debian ships for Linux only but that the
# Windows builds of `varnex analyze` need, as static libraries from Debian's
# own source packages, for each mingw target: FFTW 3 in double precision
# (the spectra) and libpng (the report picture; zlib comes from Debian's
# libz-mingw-w64-dev). Installs into build/mingw-deps/<arch>, where
# cmake/MingwDeps.cmake looks. A library whose stamp matches its version and
# options is left as it is, so a second run does nothing. The first run
# takes several minutes per target.
# usage: scripts/mingw-deps.sh [ARCH...]   (default: i686 x86_64)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

arches=("$@")
[[ ${#arches[@]} -gt 0 ]] || arches=("${windows_arches[@]}")

deps_root=$build_root/mingw-deps
sources=$deps_root/sources

# Each source package: its pool folder, version, upstream tarball and the
# pinned checksum of its description (dpkg-source then checks the tarballs
# against the checksums in the description).
fftw_pool=http://deb.debian.org/debian/pool/main/f/fftw3
fftw_version=3.3.10-1
fftw_tree=fftw3-3.3.10
fftw_files=("fftw3_$fftw_version.dsc" fftw3_3.3.10.orig.tar.gz "fftw3_$fftw_version.debian.tar.xz")
fftw_dsc_sha256=5c6a64c8047e33f122fb1eebd4316178e3da86da16de70da0527906adcf22924

png_pool=http://deb.debian.org/debian/pool/main/libp/libpng1.6
png_version=1.6.39-2+deb12u5
png_tree=libpng1.6-1.6.39
png_files=("libpng1.6_$png_version.dsc" libpng1.6_1.6.39.orig.tar.gz
    "libpng1.6_$png_version.debian.tar.xz")
png_dsc_sha256=7b86211030a34deb6b0a2cd7e1d9db0fe92443fd30cab537fb89b1e7f7c9f188

fftw_options() {
    local arch=$1
    local options=(--disable-fortran --enable-static --disable-shared --disable-doc
        --disable-threads --enable-sse2 --with-our-malloc)
    # 32-bit Windows callers may hand over a stack aligned to 4 bytes only;
    # FFTW's SSE2 code then realigns it itself.
    [[ $arch == i686 ]] && options+=(--with-incoming-stack-boundary=2)
    echo "${options[@]}"
}

png_options() {
    echo --enable-static --disable-shared
}

# fetch_source POOL TREE SHA256 FILE...: downloads and unpacks the package.
fetch_source() {
    local pool=$1 tree=$sources/$2 sha256=$3
    shift 3
    local dsc=$1
    [[ -f $tree/.unpacked ]] && return 0
    mkdir -p "$sources"
    local file
    for file in "$@"; do
        [[ -s $sources/$file ]] && continue
        curl -fsS --retry 3 -o "$sources/$file.part" "$pool/$file" || {
            echo "mingw-deps: cannot download $pool/$file" >&2
            return 1
        }
        mv -f "$sources/$file.part" "$sources/$file"
    done
    echo "$sha256  $sources/$dsc" | sha256sum -c --quiet - || {
        echo "mingw-deps: $dsc is not the pinned one" >&2
        return 1
    }
    rm -rf "$tree"
    # The signature's key is not on the machine; the pinned checksum stands
    # in for it, and dpkg-source checks the tarballs against the description.
    (cd "$sources" && dpkg-source --no-check -x "$dsc" "$tree") >/dev/null
    touch "$tree/.unpacked"
}

# build NAME ARCH TREE STAMP OPTIONS...: configure, make and install one
# library into the arch's prefix, unless its stamp says it is there.
build() {
    local name=$1 arch=$2 tree=$3 stamp=$4
    shift 4
    local prefix=$deps_root/$arch
    if [[ -f $prefix/.$name-stamp && $(cat "$prefix/.$name-stamp") == "$stamp" ]]; then
        return 0
    fi
    local work=$deps_root/work-$name-$arch
    rm -rf "$work" "$prefix/.$name-stamp"
    mkdir -p "$work"
    local started=$SECONDS
    echo "mingw-deps: building $name for $arch (log: $work.log)"
    if ! (cd "$work" &&
        "$sources/$tree/configure" --host="$arch-w64-mingw32" --prefix="$prefix" \
            CC="$arch-w64-mingw32-gcc-posix" "$@" &&
        make -j"$jobs" && make install) >"$work.log" 2>&1; then
        echo "mingw-deps: the $name build for $arch failed; the end of $work.log:" >&2
        tail -n 40 "$work.log" >&2
        return 1
    fi
    echo "$stamp" >"$prefix/.$name-stamp"
    rm -rf "$work"
    echo "mingw-deps: $name for $arch built in $((SECONDS - started)) s"
}

fetch_source "$fftw_pool" "$fftw_tree" "$fftw_dsc_sha256" "${fftw_files[@]}"
fetch_source "$png_pool" "$png_tree" "$png_dsc_sha256" "${png_files[@]}"
for arch in "${arches[@]}"; do
    # shellcheck disable=SC2046
    build fftw "$arch" "$fftw_tree" "fftw3 $fftw_version $(fftw_options "$arch")" \
        $(fftw_options "$arch")
    # shellcheck disable=SC2046
    build png "$arch" "$png_tree" "libpng $png_version $(png_options)" $(png_options)
done
