#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Builds, packages and tests the VS Code extension in a copy under WORK_DIR, against
# the prismark-lsp at LSP_PATH. Run by CTest; exit 77 (skipped) only where npm or
# the npm registry cannot be had.
set -euo pipefail
work_dir=$1
export PRISMARK_LSP=$2
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if ! command -v npm >/dev/null; then
    echo "SKIPPED: npm is not installed (Debian packages nodejs and npm)"
    exit 77
fi
mkdir -p "$work_dir"
# A fresh copy of the sources each run; node_modules is kept while the lock file is.
# Git lists them only where it tracks them: a copy of the tree inside another
# repository's ignored folder (a snapshot to soak) is read from the disk.
list_sources() {
    if git ls-files --error-unmatch package.json >/dev/null 2>&1; then
        git ls-files -z --cached --others --exclude-standard .
    else
        find . -type f -not -path './node_modules/*' -print0
    fi
}
(cd "$source_dir" && list_sources) | (cd "$source_dir" && xargs -0 cp --parents -t "$work_dir")
cp "$source_dir/../../LICENSE" "$work_dir/LICENSE.txt"
cd "$work_dir"
if ! cmp -s package-lock.json node_modules/.prismark-lock 2>/dev/null; then
    log=$(mktemp)
    if ! npm ci --no-audit --no-fund >"$log" 2>&1; then
        cat "$log"
        if grep -qE 'ENOTFOUND|EAI_AGAIN|ECONNREFUSED|ETIMEDOUT|ECONNRESET' "$log"; then
            echo "SKIPPED: the npm registry cannot be reached"
            exit 77
        fi
        exit 1
    fi
    cp package-lock.json node_modules/.prismark-lock
fi
npm run --silent typecheck
npm run --silent build:test
# Packaged from a tree with no bundle, as "vsce package" or "vsce publish" run alone
# meets it: the manifest's prepublish script must build it.
rm -rf dist prismark-qss.vsix
npm run --silent package
npm test
