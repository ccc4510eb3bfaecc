#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows installer under Wine: a silent install puts the portable zip's files, the
# uninstaller, the Start-menu entry, the sign-in entry and the Add/Remove Programs entry in place;
# the installed preview tool draws the installed default skin; a silent uninstall takes all of them
# away and leaves the user's settings as they were.
# Usage: tests/install/windows_install_test.sh SETUP_EXE ZIP   (it runs itself under
# scripts/with-wine, a throw-away prefix and a private X server, unless it already runs under it)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${TIKORA_WITH_WINE:-}" ]; then
    exec "$here/../../scripts/with-wine" "$0" "$@"
fi
setup="$(realpath "$1")"
zip_file="$(realpath "$2")"
fail() { echo "windows install: $*" >&2; exit 1; }

drive_c="$WINEPREFIX/drive_c"
program_dir="$drive_c/Program Files/Tikora"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tikora.lnk"
settings_key='HKCU\Software\Vardo Software\Tikora'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tikora'

registry_value() {  # KEY NAME: the value's data, empty when it is missing
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
files_under() {  # FOLDER: its files, one path a line, sorted
    (cd "$1" && find . -type f | sed 's|^\./||' | sort)
}

# The user's settings, there before the install, must outlive the uninstall.
wine reg add "$settings_key\\Skins" /v CurrentSkinFile /t REG_SZ /d Paper.ini /f >/dev/null
wine reg add "$settings_key" /v BeatTime /t REG_SZ /d True /f >/dev/null

wine "$setup" /S
[ -d "$program_dir" ] || fail "nothing in $program_dir"
expected=$( (unzip -Z1 "$zip_file" | grep -v '/$' | sed 's|^Tikora/||'; echo uninstall.exe) | sort)
installed=$(files_under "$program_dir")
[ "$installed" = "$expected" ] ||
    fail "installed files differ from the zip's: $(diff <(echo "$expected") <(echo "$installed"))"
for file in tikora.exe tikora-preview.exe Skins/Zefro/Zefro.ini; do
    grep -qx "$file" <<<"$installed" || fail "no $file installed"
done
[ -f "$shortcut" ] || fail "no Start-menu entry"
strings -a -e l "$shortcut" | grep -qi 'Program Files\\Tikora\\tikora.exe' ||
    fail "the Start-menu entry does not start the installed tikora.exe"
[ "$(registry_value "$run_key" Tikora)" = '"C:\Program Files\Tikora\tikora.exe"' ] ||
    fail "no sign-in entry: '$(registry_value "$run_key" Tikora)'"
uninstaller=$(registry_value "$uninstall_key" UninstallString)
[ "$uninstaller" = '"C:\Program Files\Tikora\uninstall.exe"' ] ||
    fail "Add/Remove Programs has '$uninstaller'"
[ "$(registry_value "$uninstall_key" DisplayVersion)" = \
    "$(basename "$zip_file" | sed -n 's/^tikora-\(.*\)-windows-x64\.zip$/\1/p')" ] ||
    fail "Add/Remove Programs shows another version than the zip's"
# Linked statically: the programs ask Windows for its own DLLs only, none of MinGW's runtime
# (libstdc++-6.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll), which nothing installs.
for program in tikora.exe tikora-preview.exe; do
    runtime=$(x86_64-w64-mingw32-objdump -p "$program_dir/$program" |
        sed -n 's/^\s*DLL Name: //p' | grep -i '^lib' || true)
    [ -z "$runtime" ] || fail "$program needs $runtime"
done
# The installed programs find their skins: the preview draws the default skin from there.
wine 'C:\Program Files\Tikora\tikora-preview.exe' 'C:\Program Files\Tikora\Skins\Zefro\Zefro.ini' \
    --size 60x22 --at 12:34:56 -o 'C:\preview.png' || fail "the installed tikora-preview.exe failed"
[ "$(identify -format %wx%h "$drive_c/preview.png")" = 60x22 ] || fail "no 60 x 22 preview"
rm "$drive_c/preview.png"
echo "installed: $(wc -l <<<"$installed") files, the Start-menu, sign-in and Add/Remove entries"

# The clock runs, as it does after a sign-in: the uninstaller ends it first, or its program file
# would stay.
wine 'C:\Program Files\Tikora\tikora.exe' &
clock=$!
deadline=$((SECONDS + 60))
until xdotool search --name ':: Tikora ::' >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "the installed clock did not start within 60 s"
done

# The uninstaller runs from a copy of itself in the temporary folder and returns at once, so the
# end of its work is waited for: its Add/Remove Programs entry goes last.
wine "C:\\Program Files\\Tikora\\uninstall.exe" /S
deadline=$((SECONDS + 60))
while [ -n "$(registry_value "$uninstall_key" DisplayName)" ]; do
    [ $SECONDS -lt $deadline ] || fail "the uninstaller did not finish within 60 s"
done
while kill -0 "$clock" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the clock still runs after the uninstall"
done
[ ! -e "$program_dir" ] || fail "left behind: $(files_under "$program_dir" | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left"
[ -z "$(registry_value "$run_key" Tikora)" ] || fail "the sign-in entry is left"
if [ "$(registry_value "$settings_key" BeatTime)" != True ] ||
    [ "$(registry_value "$settings_key\\Skins" CurrentSkinFile)" != Paper.ini ]; then
    fail "the user's settings did not outlive the uninstall"
fi
echo "uninstalled: nothing left but the user's settings"
