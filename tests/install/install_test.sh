#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and checks that an installed copy finds its skins:
# the executable and Skins/ together under lib/tikora, links in bin, the desktop entry and icon.
set -euo pipefail
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install: $*" >&2; exit 1; }
[ -x "$prefix/lib/tikora/tikora" ] || fail "no lib/tikora/tikora"
[ -f "$prefix/lib/tikora/Skins/Zefro/Zefro.ini" ] || fail "no default skin beside the executable"
[ "$(readlink -f "$prefix/bin/tikora")" = "$(readlink -f "$prefix/lib/tikora/tikora")" ] ||
    fail "bin/tikora does not lead to lib/tikora/tikora"
[ -f "$prefix/share/applications/tikora.desktop" ] || fail "no desktop entry"
[ -f "$prefix/share/icons/hicolor/256x256/apps/tikora.png" ] || fail "no icon"

# The installed preview tool, reached through its link, draws the installed default skin.
TZ=UTC "$prefix/bin/tikora-preview" "$prefix/lib/tikora/Skins/Zefro/Zefro.ini" \
    -o "$prefix/preview.png" || fail "the installed preview can't draw the installed skin"
echo "installed layout complete"
