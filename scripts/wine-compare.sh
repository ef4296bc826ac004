#!/usr/bin/env bash
# Runs the Windows builds of `varnex info` under wine, headless, and checks
# that each reports what the Linux build reports about its own plug-in,
# apart from the file's path and the record size that pointer width decides;
# and that each DLL's audio is the Linux plug-in's bit for bit, through
# audio_fingerprint (tests/fingerprint), which hashes every output sample of
# a fixed set of cases. Where they part, `audio_fingerprint --samples` on
# both sides shows the frames. `varnex.exe validate` must pass each DLL, and
# `varnex.exe analyze` must give the figures and the picture the Linux build
# gives.
# usage: scripts/wine-compare.sh [ARCH...]   (default: i686 x86_64)
# Needs the native build and the named Windows builds (scripts/test.sh or
# scripts/run.sh make them). Prints one PASS: or FAIL: line per check.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

arches=("$@")
[[ ${#arches[@]} -gt 0 ]] || arches=("${windows_arches[@]}")

# One prefix per build folder; the first run creates it (10-20 s, ~1.3 GB).
export WINEPREFIX=$build_root/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [[ ! -f $WINEPREFIX/.headless ]]; then
    echo "wine: creating the prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    if ! { wineboot -i && wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f &&
        wineserver -w; } >"$build_root/wine-prefix.log" 2>&1; then
        echo "FAIL: creating the wine prefix (see $build_root/wine-prefix.log)"
        exit 1
    fi
    touch "$WINEPREFIX/.headless"
fi
# A persistent server makes every program start in well under a second.
wineserver -p
trap 'wineserver -k 2>/dev/null' EXIT

status=0
check() {
    local name=$1
    shift
    if "$@"; then
        echo "PASS: $name"
    else
        echo "FAIL: $name"
        status=1
    fi
}

# Wine's console ends lines with CR.
windows_varnex() {
    local arch=$1
    shift
    (cd "$(windows_dir "$arch")/bin" && wine varnex.exe "$@") | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

without_platform_facts() {
    grep -v -E '^(Path|Record):|^  "(path|recordSize|pointerBits)":'
}

same_report() {
    local arch=$1
    shift
    local linux windows
    linux=$("$native_dir/bin/varnex" info "$@" | without_platform_facts) || return 1
    windows=$(windows_varnex "$arch" info "$@" | without_platform_facts) || return 1
    if [[ -z $linux || $linux != "$windows" ]]; then
        diff <(echo "$linux") <(echo "$windows") | head -n 20
        return 1
    fi
}

record_line() {
    local arch=$1 expected=$2 line
    line=$(windows_varnex "$arch" info | grep '^Record:')
    [[ $line == "Record:"*"$expected" ]] || {
        echo "got '$line', expected '$expected'"
        return 1
    }
}

# A missing file is one clear line on stderr and exit status 1.
clear_error() {
    local arch=$1 err code
    err=$( (cd "$(windows_dir "$arch")/bin" && wine varnex.exe info Missing.dll 2>&1 >/dev/null) | tr -d '\r')
    code=$(cd "$(windows_dir "$arch")/bin" && wine varnex.exe info Missing.dll >/dev/null 2>&1; echo $?)
    [[ $code -eq 1 && $err == "varnex: no such file: Missing.dll" ]] || {
        echo "status $code, stderr '$err'"
        return 1
    }
}

# The same cases through the Linux plug-in and through each DLL under wine.
linux_audio=$("$native_dir/bin/audio_fingerprint" 2>&1)
linux_audio_status=$?
same_audio() {
    local arch=$1 windows
    if [[ $linux_audio_status -ne 0 ]]; then
        echo "the Linux run failed: $linux_audio"
        return 1
    fi
    windows=$( (cd "$(windows_dir "$arch")/bin" && wine audio_fingerprint.exe 2>&1) | tr -d '\r')
    if [[ $windows != "$linux_audio" ]]; then
        diff <(echo "$linux_audio") <(echo "$windows") | head -n 20
        return 1
    fi
}

# Every check of `varnex validate` at its highest level passes for the DLL
# (the allocation counter is Linux's, so that check is skipped).
validates() {
    local arch=$1 report
    report=$(windows_varnex "$arch" validate --level 10)
    local code=$?
    if [[ $code -ne 0 || $report != *" passed, 0 failed"* ]]; then
        echo "$report" | grep -v '^PASS' | head -n 20
        return 1
    fi
}

# `varnex analyze --json` of each DLL gives the figures and the report
# picture that the Linux build gives of its own plug-in. The audio is the
# same to the bit (above), so only the arithmetic after it may differ:
# FFTW's kernels (SSE2 here, the widest the processor has on Linux) add in
# another order, and the libm that makes the test signals is another. Both
# are off by a few units in the last place of a double, and the figures are
# printed as floats (seven digits), so at most their last digit may move;
# today every figure is the same. A relative tolerance of 1e-5 lets such a
# digit through and catches any real difference (0.001 dB of a -70 dB
# harmonic, one sample of latency). The Linux side measures its plug-in
# under the DLL's file name, which the picture's title shows, so the two
# pictures are the same file: the same pixels through the same libpng and
# zlib versions.
analysis_dir=$build_root/wine-compare-analyze
rm -rf "$analysis_dir"
mkdir -p "$analysis_dir"
cp "$native_dir/bin/Varnex.so" "$analysis_dir/Varnex.dll"
linux_analysis_status=0
"$native_dir/bin/varnex" analyze "$analysis_dir/Varnex.dll" --json -o "$analysis_dir/linux.png" \
    >"$analysis_dir/linux.json" 2>&1 || linux_analysis_status=$?
same_analysis() {
    local arch=$1
    if [[ $linux_analysis_status -ne 0 ]]; then
        echo "the Linux run failed: $(head -n 5 "$analysis_dir/linux.json")"
        return 1
    fi
    windows_varnex "$arch" analyze --json -o "$analysis_dir/$arch.png" \
        >"$analysis_dir/$arch.json" 2>&1 || {
        head -n 5 "$analysis_dir/$arch.json"
        return 1
    }
    awk -v tolerance=1e-5 -f "$root/scripts/same-figures.awk" \
        "$analysis_dir/linux.json" "$analysis_dir/$arch.json" >"$analysis_dir/$arch.diff"
    local status=$?
    [[ $status -eq 0 ]] || cat "$analysis_dir/$arch.diff"
    cmp "$analysis_dir/linux.png" "$analysis_dir/$arch.png" || status=1
    return $status
}

for arch in "${arches[@]}"; do
    case $arch in
    i686) layout="144 bytes (32-bit layout)" ;;
    x86_64) layout="192 bytes (64-bit layout)" ;;
    *) layout="?" ;;
    esac
    check "$arch: varnex.exe runs its own plug-in with the $layout record" record_line "$arch" "$layout"
    check "$arch: text report matches Linux" same_report "$arch"
    check "$arch: JSON report matches Linux" same_report "$arch" --json
    check "$arch: a missing plug-in gives one clear error" clear_error "$arch"
    check "$arch: audio of the DLL is the Linux plug-in's bit for bit" same_audio "$arch"
    check "$arch: varnex.exe validate --level 10 passes the DLL" validates "$arch"
    check "$arch: varnex.exe analyze of the DLL gives the Linux figures and picture" same_analysis "$arch"
done
exit $status
