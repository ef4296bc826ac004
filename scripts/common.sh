# Shared by run.sh and test.sh: where things are built and how.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=$root/build
jobs=$(nproc)
# The test script turns warnings into errors; the main job builds as a user would.
warnings_as_errors=()

native_dir=$build_root/native
# The transfer curve that run.sh draws in the editor: a soft saturation,
# steep near silence and flattening towards full scale.
demo_curve="0,0;0.15,0.45;0.4,0.8;0.7,0.95;1,1"
windows_dir() { echo "$build_root/windows-$1"; }
windows_arches=(i686 x86_64)

# configure_and_build DIR [CMAKE OPTIONS...]: output goes to DIR.log and is
# shown only when a step fails.
configure_and_build() {
    local dir=$1
    shift
    mkdir -p "$dir"
    local log=$dir.log
    if ! { cmake -S "$root" -B "$dir" "${warnings_as_errors[@]}" "$@" &&
        cmake --build "$dir" -j"$jobs"; } >"$log" 2>&1; then
        echo "build of $(basename "$dir") failed; the end of $log:" >&2
        tail -n 60 "$log" >&2
        return 1
    fi
}

build_native() {
    configure_and_build "$native_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

build_windows() {
    configure_and_build "$(windows_dir "$1")" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$1.cmake"
}
