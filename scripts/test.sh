#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: in the
# normal build, then in a clang build with AddressSanitizer and UndefinedBehavior-
# Sanitizer, where the fuzz targets also replay their seed corpora. Any sanitizer
# report fails the test that caused it.
set -euo pipefail
extra_packages=(clang libclang-rt-14-dev)
source "$(dirname "${BASH_SOURCE[0]}")/bootstrap.sh"

echo "== Test suite"
(cd "$build_dir" && ctest --output-on-failure --parallel "$(nproc)")

echo "== Test suite and fuzz corpora under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize_dir="$root/build-sanitize"
cmake -S "$root" -B "$sanitize_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DPRISMARK_SANITIZE=ON
cmake --build "$sanitize_dir" --parallel "$(nproc)"
cd "$sanitize_dir"
ctest --output-on-failure --parallel "$(nproc)"
