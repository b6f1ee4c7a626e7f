#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs the whole test suite three times: in
# the normal Qt 5 build, in a Qt 6 build, then in a clang Qt 5 build with
# AddressSanitizer and UndefinedBehaviorSanitizer, where the fuzz targets also
# replay their seed corpora. Any sanitizer report fails the test that caused it.
# Last, the commands the README gives are run as a newcomer would type them.
set -euo pipefail
# Qt 6 for the second build (its UI loader asks for the OpenGL module's CMake files),
# clang for the sanitizer build, dpkg-dev and appstream for the package and
# metainfo checks, neovim and Emacs with eglot for the language server's sessions in
# real editors, chromium for prismark-shot's comparison page in a real browser, and
# Node.js's npm for the VS Code extension (only when no npm is there: a newer Node.js
# installed another way is kept), the distribution's three Python bindings of Qt,
# for prismark-live attached to a Python application on each (tst_attach), and
# valgrind, for prismark-profile --deterministic (its header before the build is
# configured, its callgrind for tst_profile).
extra_packages=(qt6-base-dev qt6-base-private-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
                libqt6opengl6-dev libgl-dev clang libclang-rt-14-dev dpkg-dev appstream neovim
                emacs-nox elpa-eglot chromium python3-pyqt5 python3-pyqt6
                python3-pyside2.qtwidgets valgrind)
command -v npm >/dev/null || extra_packages+=(nodejs npm)
source "$(dirname "${BASH_SOURCE[0]}")/bootstrap.sh"

echo "== Test suite under Qt 5"
(cd "$build_dir" && ctest --output-on-failure --parallel "$(nproc)")

echo "== Test suite under Qt 6"
qt6_dir="$root/build-qt6"
cmake -S "$root" -B "$qt6_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRISMARK_QT_MAJOR=6
cmake --build "$qt6_dir" --parallel "$(nproc)"
(cd "$qt6_dir" && ctest --output-on-failure --parallel "$(nproc)")

echo "== Test suite and fuzz corpora under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize_dir="$root/build-sanitize"
cmake -S "$root" -B "$sanitize_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DPRISMARK_SANITIZE=ON -DPRISMARK_QT_MAJOR=5
cmake --build "$sanitize_dir" --parallel "$(nproc)"
cd "$sanitize_dir"
ctest --output-on-failure --parallel "$(nproc)"

echo "== Commands the README gives"
"$root/scripts/check-commands.sh"
