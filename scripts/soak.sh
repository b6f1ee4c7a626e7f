#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Runs the whole Qt 5 test suite again and again on two cores, the way a busy CI
# machine runs it: N times (default 5) with both cores held busy by stress-ng, N
# times with four tests at once, then once in the sanitizer build. Prints every
# test that failed in any run, with its output, and how often each failed.
# On demand, not in CI: run it before submitting a change to attach, live, shot,
# profile or the editor sessions. Exits 1 when any run failed. Leave the tree alone
# while it runs: deb_package_starts builds the package, which rebuilds the tree.
set -euo pipefail

runs=${1:-5}
if ! [[ $runs =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/soak.sh [N]   (N runs of each way, default 5)" >&2
    exit 2
fi

with_suite_packages=1
extra_packages=(stress-ng)
source "$(dirname "${BASH_SOURCE[0]}")/bootstrap.sh"
build_sanitized

logs="$build_dir/soak"
rm -rf "$logs"
mkdir -p "$logs"
# Two cores, as CI has, however many this machine has.
pin=()
[ "$(nproc)" -le 2 ] || pin=(taskset -c 0,1)

stress_pid=
stop_load() {
    [ -z "$stress_pid" ] || { kill "$stress_pid" 2>/dev/null || true; wait "$stress_pid" || true; }
    stress_pid=
}
trap stop_load EXIT

failures=()     # "way run test reason", one a failure
declare -A failed_runs=()
total_runs=0

# One run of the suite in a build tree; its console and ctest's own log are kept.
# A test's per-test timeout stays its own; one without any gets 25 minutes.
run_suite() {
    local way=$1 run=$2 dir=$3 parallel=$4
    local name="$way-$run"
    echo "== $way, run $run: ctest --parallel $parallel in ${dir#"$root"/}"
    (cd "$dir" && "${pin[@]}" ctest --output-on-failure --parallel "$parallel" --timeout 1500) \
        >"$logs/$name.out" 2>&1 || true
    cp "$dir/Testing/Temporary/LastTest.log" "$logs/$name.log" 2>/dev/null || true
    tail -n 3 "$logs/$name.out" | sed 's/^/   /'
    total_runs=$((total_runs + 1))
    local test reason
    while read -r test reason; do
        failures+=("$way $run $test $reason")
        failed_runs[$test]="${failed_runs[$test]:-} $way-$run"
    done < <(sed -nE '/^The following tests FAILED:/,$ s/^[[:space:]]+[0-9]+ - ([^ ]+) (.*)$/\1 \2/p' \
                 "$logs/$name.out")
}

# What ctest logged of one test: from its command line to its time.
test_output() {
    local log=$1 test=$2
    awk -v test="$test" '
        $0 ~ "^[0-9]+/[0-9]+ Test: " && $3 == test { printing = 1 }
        printing { print }
        printing && index($0, "\"" test "\" time elapsed:") == 1 { exit }
    ' "$log"
}

echo "== Both cores held busy by stress-ng"
"${pin[@]}" stress-ng --cpu 2 --quiet &
stress_pid=$!
for ((run = 1; run <= runs; run++)); do
    run_suite loaded "$run" "$build_dir" 2
done
stop_load

echo "== Four tests at once on two cores"
for ((run = 1; run <= runs; run++)); do
    run_suite parallel4 "$run" "$build_dir" 4
done

echo "== Once under AddressSanitizer and UndefinedBehaviorSanitizer"
run_suite sanitize 1 "$sanitize_dir" 2

for failure in ${failures[@]+"${failures[@]}"}; do
    read -r way run test reason <<<"$failure"
    echo
    echo "==== FAILED: $test $reason, $way run $run"
    test_output "$logs/$way-$run.log" "$test"
done

echo
echo "== Soak summary: $total_runs runs ($runs loaded, $runs with four at once, 1 sanitized)"
if [ ${#failures[@]} -eq 0 ]; then
    echo "no test failed"
    exit 0
fi
for test in $(printf '%s\n' "${!failed_runs[@]}" | sort); do
    read -ra where <<<"${failed_runs[$test]}"
    printf '%-32s failed %d time(s): %s\n' "$test" "${#where[@]}" "${where[*]}"
done
echo "logs: $logs"
exit 1
