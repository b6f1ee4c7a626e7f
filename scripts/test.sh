#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bootstrap.sh"

cd "$build_dir"
ctest --output-on-failure --parallel "$(nproc)"
