#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Builds the .deb from the build tree given, unpacks it into a temporary root and
# starts the unpacked Prismark Preview offscreen: it must keep running, and it must
# read its style sheets from the unpacked share/prismark/styles. Every program is in
# it, and the language server answers a client.
# Exit status 77 means a tool is missing and the check was skipped.
set -eu

build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool not found"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack could not build the package"
fi
deb=$(ls "$work"/out/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in widgets svg; do
    echo "$depends" | grep -Eq "libqt[56]$library[56]" || fail "Depends does not name Qt's $library library"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/prismark-preview
styles=$root/usr/share/prismark/styles
[ -x "$program" ] || fail "no usr/bin/prismark-preview in the package"
for tool in prismark-lint prismark-live prismark-shot prismark-lsp prismark-build prismark-profile; do
    [ -x "$root/usr/bin/$tool" ] || fail "no usr/bin/$tool in the package"
done
[ -f "$root/usr/share/man/man1/prismark-lsp.1.gz" ] || [ -f "$root/usr/share/man/man1/prismark-lsp.1" ] \
    || fail "no prismark-lsp(1) man page in the package"
# The language server answers initialize and ends cleanly after shutdown and exit.
lsp_message() {
    printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"
}
{
    lsp_message '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'
    lsp_message '{"jsonrpc":"2.0","id":2,"method":"shutdown"}'
    lsp_message '{"jsonrpc":"2.0","method":"exit"}'
} | timeout 10 "$root/usr/bin/prismark-lsp" --stdio >"$work/lsp-output" 2>&1 \
    || fail "the packaged prismark-lsp did not exit with status 0 after shutdown and exit"
grep -q '"name":"prismark-lsp"' "$work/lsp-output" || fail "the packaged prismark-lsp did not answer initialize"
[ "$(ls "$styles"/*.qss | wc -l)" -eq 12 ] || fail "usr/share/prismark/styles does not hold the twelve sheets"

# Run from a directory without a "styles" folder, so the unpacked data directory is
# the only disk copy. timeout's 124 means the program was still running.
start() {
    status=0
    (cd "$work" && QT_QPA_PLATFORM=offscreen timeout 3 "$program") >"$work/output" 2>&1 || status=$?
    [ "$status" -eq 124 ] || { cat "$work/output"; fail "$1: exited with status $status"; }
}

start "with the packaged sheets"
grep -q "Could not parse application stylesheet" "$work/output" \
    && fail "the packaged light.qss does not parse"

# Light prefers a disk copy to the compiled-in one, so a light.qss the toolkit
# cannot parse, placed only in the unpacked data directory, must reach the program.
printf '/*\n@palette Window = #ff0000\n*/\nQWidget { color: red; }}\n' >"$styles/light.qss"
start "with a broken light.qss"
grep -q "Could not parse application stylesheet" "$work/output" \
    || fail "the program did not read light.qss from the unpacked share/prismark/styles"
echo "The unpacked program started and read its sheets from usr/share/prismark/styles"
