#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs the whole test suite three times: in
# the normal Qt 5 build, in a Qt 6 build, then in a clang Qt 5 build with
# AddressSanitizer and UndefinedBehaviorSanitizer, where the fuzz targets also
# replay their seed corpora. Any sanitizer report fails the test that caused it.
# Last, the commands the README gives are run as a newcomer would type them.
set -euo pipefail
# Every package the suite needs (listed in bootstrap.sh).
with_suite_packages=1
source "$(dirname "${BASH_SOURCE[0]}")/bootstrap.sh"

echo "== Test suite under Qt 5"
(cd "$build_dir" && ctest --output-on-failure --parallel "$(nproc)")

echo "== Test suite under Qt 6"
qt6_dir="$root/build-qt6"
cmake -S "$root" -B "$qt6_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRISMARK_QT_MAJOR=6
cmake --build "$qt6_dir" --parallel "$(nproc)"
(cd "$qt6_dir" && ctest --output-on-failure --parallel "$(nproc)")

echo "== Test suite and fuzz corpora under AddressSanitizer and UndefinedBehaviorSanitizer"
build_sanitized
cd "$sanitize_dir"
ctest --output-on-failure --parallel "$(nproc)"

echo "== Commands the README gives"
"$root/scripts/check-commands.sh"
