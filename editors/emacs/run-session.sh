#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Emacs with eglot, set up as the documentation's "Emacs (eglot)" section says,
# against the prismark-lsp at LSP_PATH. Usage: run-session.sh SOURCE_DIR LSP_PATH.
# Exit 77 (skipped) where Emacs or eglot is not installed.
set -euo pipefail
source_dir=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lsp=$2
if ! command -v emacs >/dev/null; then
    echo "SKIPPED: emacs is not installed (Debian packages emacs-nox and elpa-eglot)"
    exit 77
fi
# The set-up block as a reader copies it: the first elisp block after the heading.
setup=""
for document in "$source_dir/docs/lsp.md"; do
    [ -f "$document" ] || continue
    setup=$(awk '/^### Emacs/ { found = 1; next }
                 found && /^```elisp/ { inside = 1; next }
                 inside && /^```/ { exit }
                 inside { print }' "$document")
    [ -n "$setup" ] && break
done
if [ -z "$setup" ]; then
    echo "No elisp block under an \"### Emacs\" heading in docs/lsp.md" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s\n' "$setup" > "$work/init.el"
printf 'QPushButton {\n    colr: red;\n}\n' > "$work/mytheme.qss"
cd "$work"
PATH="$(dirname "$lsp"):$PATH" HOME="$work" timeout 120 \
    emacs --batch -l "$here/session.el" 2>&1
