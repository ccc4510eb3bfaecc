#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a release build, unpacks it into a temporary root and checks what
# a user gets: its file list, the program starting from there, and the checks Debian's own tools
# make of the package, the desktop entry, the software-centre metadata and the manual pages.
# Usage: tests/install/package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/tikora_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"

dpkg-deb -x "$deb" "$root"
for file in usr/lib/tikora/tikora usr/lib/tikora/tikora-preview usr/lib/tikora/Skins/Zefro/Zefro.ini \
    usr/bin/tikora usr/bin/tikora-preview usr/share/applications/tikora.desktop \
    usr/share/icons/hicolor/256x256/apps/tikora.png usr/share/metainfo/software.vardo.Tikora.metainfo.xml \
    usr/share/man/man1/tikora.1.gz usr/share/man/man1/tikora-preview.1.gz \
    usr/share/doc/tikora/copyright usr/share/doc/tikora/changelog.gz; do
    [ -e "$root/$file" ] || fail "no /$file in the package"
done
[ "$(readlink "$root/usr/bin/tikora")" = ../lib/tikora/tikora ] || fail "/usr/bin/tikora is no link"
grep -qx 'Path=/usr/lib/tikora' "$root/usr/share/applications/tikora.desktop" ||
    fail "the desktop entry does not start the clock beside its skins"
[ "$("$root/usr/lib/tikora/tikora" --version)" = "tikora $version" ] || fail "tikora --version"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no computed Qt dependency"

desktop-file-validate "$root/usr/share/applications/tikora.desktop"
metainfo="$root/usr/share/metainfo/software.vardo.Tikora.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null
# A software centre shows a broken picture for an address that leads nowhere.
! grep -Eo '://[^/<"]*\.(example|invalid|test|localhost)\b[^<"]*' "$metainfo" ||
    fail "placeholder addresses in the software-centre metadata"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | groff -ww -z -man 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
lintian_report=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian: $lintian_report"
echo "$lintian_report"
echo "package $(basename "$deb") complete"
