#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build needs (only those missing), then configures
# and builds into build/ against Qt 5. Sourced by run.sh, test.sh and soak.sh.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$root/build"
sanitize_dir="$root/build-sanitize"

# A script that sources this file may name more in extra_packages, and sets
# with_suite_packages=1 for what the whole test suite needs besides the build:
# Qt 6 for the second build (its UI loader asks for the OpenGL module's CMake files),
# clang for the sanitizer build, dpkg-dev and appstream for the package and
# metainfo checks, neovim and Emacs with eglot for the language server's sessions in
# real editors, chromium for prismark-shot's comparison page in a real browser, and
# Node.js's npm for the VS Code extension (only when no npm is there: a newer Node.js
# installed another way is kept), the distribution's three Python bindings of
# Qt, for prismark-live attached to a Python application on each (tst_attach),
# valgrind, for prismark-profile --deterministic (its header before the build is
# configured, its callgrind for tst_profile), and pmccabe, which measures each
# function's length and complexity for the function_size test.
packages=(cmake make g++ qtbase5-dev qtbase5-private-dev libqt5svg5-dev qttools5-dev-tools
          qttools5-dev fonts-dejavu-core
          ${extra_packages[@]+"${extra_packages[@]}"})
if [ -n "${with_suite_packages:-}" ]; then
    packages+=(qt6-base-dev qt6-base-private-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
               libqt6opengl6-dev libgl-dev clang libclang-rt-14-dev dpkg-dev appstream neovim
               emacs-nox elpa-eglot chromium python3-pyqt5 python3-pyqt6
               python3-pyside2.qtwidgets valgrind pmccabe)
    command -v npm >/dev/null || packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" -DPRISMARK_QT_MAJOR=5
cmake --build "$build_dir" --parallel "$(nproc)"

# The clang Qt 5 build with AddressSanitizer and UndefinedBehaviorSanitizer, in which
# the fuzz targets also replay their seed corpora.
build_sanitized() {
    cmake -S "$root" -B "$sanitize_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DPRISMARK_SANITIZE=ON -DPRISMARK_QT_MAJOR=5
    cmake --build "$sanitize_dir" --parallel "$(nproc)"
}
