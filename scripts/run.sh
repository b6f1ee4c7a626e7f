#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts Prismark Preview.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bootstrap.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset), so the window cannot open."
    echo "On a machine without a screen, start it under a virtual X server:"
    echo "    sudo apt-get install -y xvfb xauth && xvfb-run -a ./scripts/run.sh"
    exit 1
fi
# Written by the build (programs/prismark-preview/CMakeLists.txt), so it follows the target wherever it goes.
path_file="$build_dir/prismark-preview.path"
if [ ! -s "$path_file" ]; then
    echo "run.sh: the build did not say where prismark-preview is ($path_file is missing)." >&2
    exit 1
fi
program=$(<"$path_file")
echo "Starting $program"
exec "$program"
