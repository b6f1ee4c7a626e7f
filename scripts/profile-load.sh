#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# On demand, never in CI: whether prismark-profile gives the same answers however
# busy the machine is. Runs prismark-profile-bench --verdicts RUNS (two planted
# sheets and a control sheet, on the gallery and on a form of 2,000 widgets) on a
# quiet machine, beside `stress-ng --cpu 2`, beside a load that holds both cores for
# 2 s and lets go for 2 s, and beside a build of this project; prints how many
# answers were right in each. Options after RUNS go to prismark-profile
# (--deterministic, say).
#   scripts/profile-load.sh [BUILD_DIR] [RUNS] [OPTION ...]
# CONDITIONS=quiet,steady (say) runs only those.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$(realpath "${1:-$root/build}")"
runs="${2:-10}"
shift $(($# < 2 ? $# : 2))
bench="$build_dir/bench/prismark-profile-bench"
conditions="${CONDITIONS:-quiet,steady,onoff,build}"
for tool in stress-ng cmake; do
    command -v "$tool" >/dev/null || { echo "profile-load.sh: needs $tool" >&2; exit 2; }
done
[[ -x "$bench" ]] || cmake --build "$build_dir" --target prismark-profile-bench || exit 2

load_pid=""
scratch="$(mktemp -d)"
stop_load() {
    # The load runs in a process group of its own; end that group and no other.
    [[ -n "$load_pid" ]] && kill -- "-$load_pid" 2>/dev/null
    wait "$load_pid" 2>/dev/null
    load_pid=""
}
trap 'stop_load; rm -rf "$scratch"' EXIT
start_load() {
    case "$1" in
    steady) setsid stress-ng --cpu 2 --quiet & ;;
    onoff) setsid bash -c 'while :; do timeout 2 stress-ng --cpu 2 --quiet; sleep 2; done' & ;;
    # A build of this project from scratch, without the compiler cache, again and again.
    build) setsid bash -c "cmake -S '$root' -B '$scratch/build' -DCMAKE_BUILD_TYPE=RelWithDebInfo \
               >/dev/null && while :; do cmake --build '$scratch/build' --parallel 2 >/dev/null 2>&1; \
               cmake --build '$scratch/build' --target clean >/dev/null; done" & ;;
    *) return ;;
    esac
    load_pid=$!
    sleep 3
}

summary=()
for condition in ${conditions//,/ }; do
    echo "== $condition"
    start_load "$condition"
    QT_QPA_PLATFORM=offscreen "$bench" --verdicts "$runs" "$@" | tee "$scratch/$condition.txt"
    stop_load
    summary+=("$condition: $(grep '^all:' "$scratch/$condition.txt")")
done
echo "== summary ($runs runs of each profile)"
printf '%s\n' "${summary[@]}"
