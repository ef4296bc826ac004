#!/usr/bin/env bash
# The whole test suite: unit and integration tests of the native build, the
# same again under AddressSanitizer + UndefinedBehaviorSanitizer, the tests
# of thread-shared code under ThreadSanitizer, the two Windows cross builds,
# and, under wine, `varnex.exe info` and the DLLs' audio compared with the
# Linux build's.
# Exits non-zero when anything fails; the last line sums up.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
warnings_as_errors=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)

started=$SECONDS
passed=0
failed=0
skipped=0
failures=()
ctest_prefix=()

pass() { passed=$((passed + 1)); echo "PASS: $1"; }
fail() { failed=$((failed + 1)); failures+=("$1"); echo "FAIL: $1" >&2; }

# run_ctest NAME DIR [CTEST OPTIONS...]: runs ctest and adds its counts.
run_ctest() {
    local name=$1 dir=$2
    shift 2
    local log=$dir/ctest.log
    (cd "$dir" && "${ctest_prefix[@]}" ctest --output-on-failure -j"$jobs" "$@") 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local summary total failing
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [[ -n $summary ]]; then
        failing=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$summary")
        total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
        passed=$((passed + total - failing))
        failed=$((failed + failing))
        skipped=$((skipped + $(grep -c '(Skipped)' "$log" || true)))
    fi
    if [[ $status -ne 0 ]]; then
        failures+=("$name")
        [[ -n $summary ]] || failed=$((failed + 1))
        echo "FAIL: $name" >&2
    fi
}

step_build() {
    local name=$1
    shift
    if "$@"; then
        pass "build $name"
        return 0
    fi
    fail "build $name"
    return 1
}

if ! "$root/scripts/install-deps.sh"; then
    echo "test: cannot install the packages the tests need" >&2
    echo "test: 0 passed, 1 failed"
    exit 1
fi

# Windows cross builds first: the native tests check their binaries' tables
# and run their editors under wine, in a prefix of their own that is kept.
export VARNEX_WINE_PREFIX_X11=$build_root/wine-prefix-x11
windows_ok=()
for arch in "${windows_arches[@]}"; do
    if step_build "windows-$arch" build_windows "$arch"; then
        windows_ok+=("$arch")
        export "VARNEX_WINDOWS_BUILD_${arch^^}=$(windows_dir "$arch")/bin"
    fi
done

if step_build native build_native; then
    run_ctest "native tests" "$native_dir"
fi

# A Release build with Clang, warnings as errors: the project builds with
# either compiler, as packagers use them.
clang_dir=$build_root/clang-release
if command -v clang++ >/dev/null; then
    step_build clang-release configure_and_build "$clang_dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
else
    fail "build clang-release (clang++ is not installed)"
fi

sanitize_dir=$build_root/sanitize
if step_build sanitize configure_and_build "$sanitize_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNEX_SANITIZE=ON -DVARNEX_BENCH=OFF; then
    run_ctest "sanitizer tests" "$sanitize_dir"
fi

tsan_dir=$build_root/tsan
if step_build tsan configure_and_build "$tsan_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNEX_TSAN=ON -DVARNEX_BENCH=OFF; then
    # ThreadSanitizer needs a fixed address layout on kernels with much
    # address randomisation; setarch -R gives one where it is allowed.
    if setarch "$(uname -m)" -R true 2>/dev/null; then
        ctest_prefix=(setarch "$(uname -m)" -R)
    fi
    run_ctest "thread-sanitizer tests" "$tsan_dir" -L tsan
    ctest_prefix=()
fi

# varnex.exe under wine, headless, against each DLL; its report must be the
# Linux one apart from the facts of pointer size and the file's path, and the
# DLL's audio the Linux plug-in's bit for bit.
wine_log=$build_root/wine-compare.log
if [[ ${#windows_ok[@]} -eq 0 ]]; then
    fail "wine comparison (no Windows build)"
elif [[ ! -x $native_dir/bin/varnex ]]; then
    fail "wine comparison (no native varnex to compare with)"
else
    "$root/scripts/wine-compare.sh" "${windows_ok[@]}" 2>&1 | tee "$wine_log"
    wine_status=${PIPESTATUS[0]}
    passed=$((passed + $(grep -c '^PASS:' "$wine_log" || true)))
    failed=$((failed + $(grep -c '^FAIL:' "$wine_log" || true)))
    [[ $wine_status -eq 0 ]] || failures+=("wine comparison")
fi

minutes=$(((SECONDS - started) / 60))
seconds=$(((SECONDS - started) % 60))
echo
if [[ $failed -eq 0 && ${#failures[@]} -eq 0 ]]; then
    echo "test: everything passed in ${minutes}m${seconds}s"
else
    echo "test: failed: ${failures[*]} (after ${minutes}m${seconds}s)"
fi
echo "test: $passed passed, $failed failed, $skipped skipped"
[[ $failed -eq 0 && ${#failures[@]} -eq 0 ]]
