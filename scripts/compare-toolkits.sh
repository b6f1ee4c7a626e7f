#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Renders the same selection with the Qt 5 build and the Qt 6 build of prismark-shot
# and compares them, the Qt 5 renders standing as the baseline: what changes for an
# author's users when the toolkit moves on. Any prismark-shot options after the
# builds select what is rendered (default: every built-in theme and tab).
#
#   scripts/compare-toolkits.sh [--qt5 BUILD] [--qt6 BUILD] [--out DIR] [OPTION...]
#
# The page is DIR/qt6/diff/index.html. Exit status: prismark-shot's for the Qt 6
# run (1 when anything differs beyond --threshold), 2 when a build is missing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qt5_build="$root/build"
qt6_build="$root/build-qt6"
out="toolkits"
while [ $# -gt 0 ]; do
    case "$1" in
        --qt5) qt5_build="$2"; shift 2 ;;
        --qt6) qt6_build="$2"; shift 2 ;;
        --out) out="$2"; shift 2 ;;
        *) break ;;
    esac
done
if [ $# -eq 0 ]; then
    set -- --theme all
fi
for build in "$qt5_build" "$qt6_build"; do
    if [ ! -x "$build/bin/prismark-shot" ]; then
        echo "compare-toolkits: no prismark-shot in $build; build it first (see docs/development.md)" >&2
        exit 2
    fi
done
"$qt5_build/bin/prismark-shot" --quiet --out "$out/qt5" "$@"
"$qt6_build/bin/prismark-shot" --quiet --out "$out/qt6" --compare "$out/qt5" "$@"
