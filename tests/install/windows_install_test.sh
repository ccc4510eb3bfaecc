#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows installer under Wine, for the user who runs it: a silent install puts the portable
# zip's files, the uninstaller, the Start-menu entry, the Startup shortcut (starting the clock in
# its own folder) and the Add/Remove Programs entry in place, and leaves a portable copy that runs
# alone; with /START it starts the clock; an update over the running clock ends it and starts it
# again; the installed preview tool draws the installed default skin; a silent uninstall takes all
# of them away, the clock first, and leaves the user's settings as they were.
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

windows_variable() {  # NAME: a variable of Wine's environment
    wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'
}
drive_c="$WINEPREFIX/drive_c"
program_win="$(windows_variable LOCALAPPDATA)\Programs\Tikora"
program_dir=$(winepath -u "$program_win" 2>/dev/null)
menu_dir=$(winepath -u "$(windows_variable APPDATA)\Microsoft\Windows\Start Menu\Programs" 2>/dev/null)
shortcut="$menu_dir/Tikora.lnk"
startup="$(find "$menu_dir" -maxdepth 1 -iname startup -print -quit)/Tikora.lnk"  # Wine's "StartUp"
settings_key='HKCU\Software\Vardo Software\Tikora'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tikora'

registry_value() {  # KEY NAME: the value's data, empty when it is missing
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
files_under() {  # FOLDER: its files, one path a line, sorted
    (cd "$1" && find . -type f | sed 's|^\./||' | sort)
}
clock_windows() {  # the processes of the clocks' windows, one per clock that runs, floating
    local window
    for window in $(xdotool search --onlyvisible --name '^:: Tikora ::$' 2>/dev/null); do
        xdotool getwindowpid "$window" 2>/dev/null || true
    done
}
wait_clock() {  # NOT_PROCESS WHAT: waits for one clock, not of NOT_PROCESS; prints its process
    local deadline=$((SECONDS + 60)) process
    until process=$(clock_windows) && [ -n "$process" ] && [ "$process" != "$1" ]; do
        [ $SECONDS -lt $deadline ] || fail "$2"
    done
    [ "$(wc -l <<<"$process")" = 1 ] || fail "more than one clock runs: $process"
    echo "$process"
}

# The user's settings, there before the install, must outlive the uninstall. A Run value of an
# earlier installer gives way to the Startup shortcut.
wine reg add "$settings_key\\Skins" /v CurrentSkinFile /t REG_SZ /d Paper.ini /f >/dev/null
wine reg add "$settings_key" /v BeatTime /t REG_SZ /d True /f >/dev/null
wine reg add "$run_key" /v Tikora /t REG_SZ /d 'C:\old\tikora.exe' /f >/dev/null

# A portable copy runs: the installer leaves it running and starts no second clock beside it.
mkdir "$drive_c/portable"
unzip -q "$zip_file" -d "$drive_c/portable"
wine 'C:\portable\Tikora\tikora.exe' &
portable=$!
portable_process=$(wait_clock "" "the portable clock did not start within 60 s")
wine "$setup" /S /START
[ -d "$program_dir" ] || fail "nothing in $program_dir"
kill -0 "$portable" 2>/dev/null || fail "the installer ended the portable clock"
[ "$(clock_windows)" = "$portable_process" ] || fail "a second clock beside the portable one"
kill "$portable"
wait "$portable" 2>/dev/null || true
expected=$( (unzip -Z1 "$zip_file" | grep -v '/$' | sed 's|^Tikora/||'; echo uninstall.exe) | sort)
installed=$(files_under "$program_dir")
[ "$installed" = "$expected" ] ||
    fail "installed files differ from the zip's: $(diff <(echo "$expected") <(echo "$installed"))"
for file in tikora.exe tikora-preview.exe Skins/Zefro/Zefro.ini; do
    grep -qx "$file" <<<"$installed" || fail "no $file installed"
done
# Both shortcuts start the installed clock in its own folder ("Start in"), beside the skins.
for link in "$shortcut" "$startup"; do
    [ -f "$link" ] || fail "no $link"
    strings -a -e l "$link" | grep -qiF "$program_win\tikora.exe" ||
        fail "$link does not start the installed tikora.exe"
    # The folder is a string of its own, after the count of its characters.
    strings -a -e l "$link" | folder="${program_win,,}" awk '{ line = tolower($0); folder = ENVIRON["folder"] }
        length(line) <= length(folder) + 1 && substr(line, length(line) - length(folder) + 1) == folder { found = 1 }
        END { exit !found }' || fail "$link does not start in $program_win"
done
[ -z "$(registry_value "$run_key" Tikora)" ] || fail "the Run value is left"
uninstaller=$(registry_value "$uninstall_key" UninstallString)
[ "$uninstaller" = "\"$program_win\\uninstall.exe\"" ] || fail "Add/Remove Programs has '$uninstaller'"
size=$(registry_value "$uninstall_key" EstimatedSize)
[ $((size)) -ge 500 ] || fail "EstimatedSize is '$size'"
! grep -qv $'\r$' "$program_dir/Skins/Zefro/Zefro.ini" || fail "the skin files have no CRLF"
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
wine "$program_win\tikora-preview.exe" "$program_win\Skins\Zefro\Zefro.ini" \
    --size 60x22 --at 12:34:56 -o 'C:\preview.png' || fail "the installed tikora-preview.exe failed"
[ "$(identify -format %wx%h "$drive_c/preview.png")" = 60x22 ] || fail "no 60 x 22 preview"
rm "$drive_c/preview.png"
echo "installed: $(wc -l <<<"$installed") files, the Start-menu, Startup and Add/Remove entries;" \
    "the portable clock ran on alone"

# /START starts the installed clock; an update over it ends it and starts it again.
wine "$setup" /S /START
started=$(wait_clock "" "the installed clock did not start within 60 s")
wine "$setup" /S
wait_clock "$started" "the clock the update ended did not start again" >/dev/null
echo "started with /START; ended by the update and started again"

# The uninstaller runs from a copy of itself in the temporary folder and returns at once, so the
# end of its work is waited for: its Add/Remove Programs entry goes last.
wine "$program_win\\uninstall.exe" /S
deadline=$((SECONDS + 60))
while [ -n "$(registry_value "$uninstall_key" DisplayName)" ]; do
    [ $SECONDS -lt $deadline ] || fail "the uninstaller did not finish within 60 s"
done
while [ -n "$(clock_windows)" ]; do
    [ $SECONDS -lt $deadline ] || fail "the clock still runs after the uninstall"
done
[ ! -e "$program_dir" ] || fail "left behind: $(files_under "$program_dir" | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left"
[ ! -e "$startup" ] || fail "the Startup shortcut is left"
if [ "$(registry_value "$settings_key" BeatTime)" != True ] ||
    [ "$(registry_value "$settings_key\\Skins" CurrentSkinFile)" != Paper.ini ]; then
    fail "the user's settings did not outlive the uninstall"
fi
echo "uninstalled: nothing left but the user's settings"
