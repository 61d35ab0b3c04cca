#!/usr/bin/env bash
# Installs what is missing, builds, starts a private sound server, runs every test (then
# kelvane-batch as a job array on a private Slurm cluster; builds, installs, runs and removes the
# Debian package; the core tests a second time under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzzer for a bounded time), stops what it started and
# exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
source scripts/sound-server.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" || exit 1
JOBS=$(jobs_count)
FAILED_STAGES=()
TOTAL_PASSED=0
TOTAL_FAILED=0

stage_failed() { FAILED_STAGES+=("$1"); echo "*** $1 failed"; }

# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
    local dir=$1 name=$2 log
    log=$(mktemp)
    ctest --test-dir "$dir" --output-on-failure -j "$JOBS" --timeout 900 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local line total failed
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    failed=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
    rm -f "$log"
    if [ -z "$line" ] || [ "${total:-0}" -eq 0 ]; then stage_failed "$name (no tests ran)"; return; fi
    TOTAL_PASSED=$((TOTAL_PASSED + total - failed))
    TOTAL_FAILED=$((TOTAL_FAILED + failed))
    [ "$status" -eq 0 ] || stage_failed "$name"
}

echo "== Build"
if cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null \
    && cmake --build build -j "$JOBS"; then
    start_sound_server || stage_failed "sound server"
    trap stop_sound_server EXIT
    export QT_QPA_PLATFORM=offscreen
    echo "== Tests"
    run_ctest build "tests"
    echo "== Debian package"
    if scripts/check-package.sh build; then
        TOTAL_PASSED=$((TOTAL_PASSED + 1))
    else
        TOTAL_FAILED=$((TOTAL_FAILED + 1)); stage_failed "Debian package"
    fi
else
    stage_failed "build"
fi

echo "== kelvane-batch as a Slurm job array on a private single-node cluster"
if [ -x build/apps/kelvane-batch/kelvane-batch ]; then
    # The test stops its daemons on TERM; KILL only if that hangs.
    if timeout -k 60 600 tests/cluster/slurm_array_test.sh build/apps/kelvane-batch/kelvane-batch; then
        TOTAL_PASSED=$((TOTAL_PASSED + 1))
    else
        TOTAL_FAILED=$((TOTAL_FAILED + 1)); stage_failed "slurm cluster"
    fi
else
    stage_failed "slurm cluster (kelvane-batch was not built)"
fi

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
if cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVANE_CORE_ONLY=ON \
    -DKELVANE_SANITIZE=address,undefined >/dev/null && cmake --build build-asan -j "$JOBS"; then
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS=suppressions="$PWD/scripts/lsan-suppressions.txt" \
        run_ctest build-asan "sanitizer tests"
else
    stage_failed "sanitizer build"
fi

if [ -f fuzz/CMakeLists.txt ]; then
    echo "== Fuzzers"
    if CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELVANE_CORE_ONLY=ON -DKELVANE_BUILD_FUZZERS=ON -DBUILD_TESTING=OFF >/dev/null \
        && cmake --build build-fuzz -j "$JOBS"; then
        for fuzzer in build-fuzz/fuzz/fuzz_*; do
            [ -x "$fuzzer" ] || continue
            name=$(basename "$fuzzer" | sed 's/^fuzz_//')
            work=$(mktemp -d)
            [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
            if LSAN_OPTIONS=suppressions="$PWD/scripts/lsan-suppressions.txt" \
                "$fuzzer" -max_total_time="${FUZZ_SECONDS:-20}" -rss_limit_mb=2048 \
                -print_final_stats=0 "$work" >"$work.log" 2>&1; then
                TOTAL_PASSED=$((TOTAL_PASSED + 1)); echo "fuzz $name: ok"
            else
                TOTAL_FAILED=$((TOTAL_FAILED + 1)); tail -40 "$work.log"; stage_failed "fuzz $name"
            fi
            rm -rf "$work" "$work.log"
        done
    else
        stage_failed "fuzzer build"
    fi
fi

echo
if [ ${#FAILED_STAGES[@]} -gt 0 ]; then
    printf 'Failed: %s\n' "${FAILED_STAGES[@]}"
fi
echo "summary: $TOTAL_PASSED passed, $TOTAL_FAILED failed"
[ ${#FAILED_STAGES[@]} -eq 0 ]
