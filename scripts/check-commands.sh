#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Runs the commands a newcomer copies from the documentation, against the build
# trees that scripts/test.sh has just made: the README's run command must start
# the program, and every build path the README, docs/ and the man pages name must
# exist (a program among them must answer --version). Called by scripts/test.sh
# after the suites; exits 1 with what failed.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# The run command, as the README gives it. It must still be running when the
# timeout ends it (124), after it said which program it started.
echo "== ./scripts/run.sh (must still run after ${PRISMARK_RUN_SECONDS:=60} s)"
run_log=$(mktemp)
QT_QPA_PLATFORM=offscreen timeout "$PRISMARK_RUN_SECONDS" ./scripts/run.sh >"$run_log" 2>&1 </dev/null
status=$?
if [ "$status" -ne 124 ] || ! grep -q '^Starting ' "$run_log"; then
    fail "./scripts/run.sh ended with status $status before the timeout; it printed:"
    tail -n 40 "$run_log" >&2
else
    echo "ok: $(grep '^Starting ' "$run_log")"
fi
rm -f "$run_log"

# Every path into a build tree that the documentation gives as a command
# (./build/..., $PWD/build/...) or names as one of the programs (build/.../prismark-*).
# Placeholders (<target>, …) are skipped; an example's own output folder that happens
# to be called build is not the build tree and is left alone.
echo "== Build paths named in the README, docs/ and the man pages"
documents=(README.md)
while IFS= read -r -d '' document; do documents+=("$document"); done \
    < <(find docs -name '*.md' -print0 2>/dev/null; git ls-files -z '*.1')
paths=$(grep -ohE '(\./|\$PWD/)?build(-[a-z0-9]+)?/[A-Za-z0-9_./@<>…-]*' "${documents[@]}" \
            | grep -E '^(\./|\$PWD/)|/prismark-[a-z-]+$' | grep -vE '[<>…]' \
            | sed -E 's#^(\./|\$PWD/)##; s#[.,]+$##' | sort -u)
for path in $paths; do
    if [ ! -e "$path" ]; then
        fail "$path is named in the documentation but the build has no such file"
        continue
    fi
    name=$(basename "$path")
    # prismark-preview takes no options at all (it would start its window): it only
    # has to be there, like the benchmarks.
    if [ -f "$path" ] && [ -x "$path" ] && [[ $name == prismark-* ]] && [[ $name != *-bench ]] &&
        [ "$name" != prismark-preview ]; then
        if ! output=$(QT_QPA_PLATFORM=offscreen timeout 20 "$path" --version 2>&1 </dev/null); then
            fail "$path --version failed: $output"
            continue
        fi
        echo "ok: $path --version: $output"
    else
        echo "ok: $path"
    fi
done

if [ "$failures" -gt 0 ]; then
    echo "$failures documented command(s) failed" >&2
    exit 1
fi
