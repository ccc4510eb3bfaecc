#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows program end to end under Wine: a stand-in taskbar (tikora-fixture-taskbar.exe), then
# tikora.exe, which must dock into the taskbar's clock window at (0, 0) with the clock window's
# size and draw the time there (read from screenshots, kept as BUILD_DIR/tikora-windows.png and,
# after Internet Time, tikora-windows-beat.png); the taskbar killed and a new one started, where
# the clock must dock again; a second start, which tells that the clock runs (its box kept as
# tikora-windows-again.png) and ends with 0; then its menu, opened with a click: "&Internet
# Time (.beat)" with its mnemonic, the menu again, "&Exit" with its mnemonic; then the settings it
# wrote, read back from Wine's registry.
# Usage: tests/win32/end_to_end_test.sh BUILD_DIR   (it runs itself under scripts/with-wine, a
# throw-away prefix and a private X server, unless it already runs under it)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${TIKORA_WITH_WINE:-}" ]; then
    exec "$here/../../scripts/with-wine" "$0" "$@"
fi
build="$(cd "$1" && pwd)"
failed_screen=
fail() {  # MESSAGE: ends the test, keeping the last screenshot, if any, beside the build's
    if [ -n "${work:-}" ] && [ -f "$work/screen.png" ]; then
        failed_screen="$build/tikora-windows-failed.png"
        cp "$work/screen.png" "$failed_screen"
    fi
    echo "end-to-end: $* ${failed_screen:+(last screenshot: $failed_screen)}" >&2
    exit 1
}

tikora="$build/src/tikora.exe"
fixture="$build/tools/tikora-fixture-taskbar.exe"
for program in "$tikora" "$fixture"; do
    [ -f "$program" ] || fail "no $program"
done
screenshot="$build/tikora-windows.png"
settings_key='HKCU\Software\Vardo Software\Tikora'

registry_value() {  # KEY NAME: the text of a REG_SZ value, empty when it is missing
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        sed -n "s/^ *$2 *REG_SZ *//p"
}

work=$(mktemp -d)
fixture_pid=
tikora_pid=
cleanup() {
    for pid in $tikora_pid $fixture_pid; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The fixture's report comes through a pipe, so that each wait below ends at the line it waits for.
report=
next_report() {  # SECONDS: the fixture's next line into $report
    IFS= read -r -t "$1" -u 4 report ||
        fail "no report from the fixture within $1 s: $(cat "$work/fixture.err")"
    report="${report%$'\r'}"
}
fixtures=0
start_fixture() {
    fixtures=$((fixtures + 1))
    mkfifo "$work/fixture$fixtures"
    wine "$fixture" >"$work/fixture$fixtures" 2>"$work/fixture.err" &
    fixture_pid=$!
    exec 4<"$work/fixture$fixtures"
    next_report 60
    read -r _ clock_left clock_top clock_width clock_height <<<"$report"
    [[ "$report" == "clock "* ]] || fail "the fixture began with: $report"
    next_report 10
    [ "$report" = "children first=yes" ] ||
        fail "Wine's own Shell_TrayWnd comes first, or the clock window has children: $report"
}
start_fixture

# A key left by the platform tests would hide a missing save.
wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
(cd "$(dirname "$tikora")" && exec wine "$tikora") 2>"$work/tikora.err" &
tikora_pid=$!

# Docked: a child of the clock window, at its top-left corner, with its size, shown.
wait_docked() {
    local docked="^children first=yes \\[[^]|]*\\|:: Tikora ::\\|0\\|0\\|${clock_width}\\|${clock_height}\\|visible]$"
    until [[ "$report" =~ $docked ]]; do
        next_report 30
    done
}
wait_docked
echo "docked: $report"

# Drawn: pixels of the clock window that differ from its most common colour. A clock that does not
# draw leaves the fixture's plain grey; the digits of the time take well over 30 pixels.
shoot_clock() {  # PNG: the clock window's part of a screenshot
    import -display "$DISPLAY" -window root "$work/screen.png"
    convert "$work/screen.png" -crop "${clock_width}x${clock_height}+${clock_left}+${clock_top}" \
        +repage "$1"
}
drawn_pixels() {  # PNG
    convert "$1" -format %c histogram:info:- |
        awk '{ n = $1 + 0; total += n; if (n > most) most = n } END { print total - most }'
}
deadline=$((SECONDS + 15))
until shoot_clock "$work/time.png" && [ "$(drawn_pixels "$work/time.png")" -ge 30 ]; do
    [ $SECONDS -lt $deadline ] || fail "nothing drawn in the clock window"
done
cp "$work/screen.png" "$screenshot"
echo "drawn: $(drawn_pixels "$work/time.png") pixels in the clock window besides its background" \
    "($screenshot)"

# The taskbar's process killed: its windows go, the clock's with them, and no one is told. The new
# taskbar's "TaskbarCreated" finds the clock without its host: it docks in the new one.
wine taskkill /f /im "$(basename "$fixture")" >/dev/null 2>&1 || fail "taskkill /f failed"
wait "$fixture_pid" 2>/dev/null || true
start_fixture
wait_docked
echo "docked again after taskkill /f of the taskbar: $report"
kill -0 "$tikora_pid" 2>/dev/null || fail "tikora.exe ended with its taskbar"

# A second start: a box says that the clock runs and where; its end is 0 once it is answered.
(cd "$(dirname "$tikora")" && exec wine "$tikora") 2>"$work/again.err" &
again_pid=$!
deadline=$((SECONDS + 30))
until box=$(xdotool search --onlyvisible --name '^:: Tikora ::$' 2>/dev/null | head -1) &&
    [ -n "$box" ]; do
    [ $SECONDS -lt $deadline ] || fail "a second start showed no box"
done
import -display "$DISPLAY" -window root "${screenshot%.png}-again.png"
xdotool windowfocus "$box" key Return
timeout 30 tail --pid="$again_pid" -f /dev/null || fail "the second start still runs"
wait "$again_pid" || fail "the second start ended with $?"
echo "second start: told, ended with 0 (${screenshot%.png}-again.png)"

# The menu: a click on the clock, then a key. The menu is a new window of the program's, and gone
# again once an item is chosen. The clock's date tip is a window of the program's too, one line
# high, that may come and go meanwhile; the menu is known by its height.
program_windows() {
    { xdotool search --onlyvisible --classname "$(basename "$tikora")" 2>/dev/null || true; } | sort
}
menu_window() {  # WINDOWS: the program's shown window, not among WINDOWS, tall enough for the menu
    local window height
    for window in $(comm -13 <(echo "$1") <(program_windows)); do
        height=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | sed -n 's/^HEIGHT=//p')
        if [ "${height:-0}" -ge $((3 * clock_height)) ]; then
            echo "$window"
            return
        fi
    done
}
choose() {  # KEY: opens the menu and presses the item's mnemonic
    local before menu=
    before=$(program_windows)
    xdotool mousemove $((clock_left + clock_width / 2)) $((clock_top + clock_height / 2)) click 1
    deadline=$((SECONDS + 10))
    until [ -n "$menu" ]; do
        [ $SECONDS -lt $deadline ] || fail "no menu after a click on the clock"
        menu=$(menu_window "$before")
    done
    xdotool key "$1"
    while program_windows | grep -qx "$menu"; do
        [ $SECONDS -lt $deadline ] || fail "the menu stayed open after the key $1"
    done
    # Away from the clock, so that its date tip does not come up over it in the next screenshot.
    xdotool mousemove 0 0
}
# Internet Time: the clock shows another text, "@" and the beat instead of hours and minutes.
choose i
deadline=$((SECONDS + 10))
changed_pixels() {  # PNG PNG
    compare -metric AE "$1" "$2" null: 2>&1 || true
}
# While the menu goes, the clock may show for a moment what lay under it, or the fixture's grey.
until shoot_clock "$work/beat.png" && [ "$(drawn_pixels "$work/beat.png")" -ge 30 ] &&
    [ "$(changed_pixels "$work/time.png" "$work/beat.png")" -ge 10 ] 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then
        fail "the clock shows no other picture after Internet Time:" \
            "$(drawn_pixels "$work/beat.png") pixels drawn," \
            "$(changed_pixels "$work/time.png" "$work/beat.png") changed;" \
            "BeatTime is '$(registry_value "$settings_key" BeatTime)'"
    fi
done
cp "$work/screen.png" "${screenshot%.png}-beat.png"
choose e
# Exit destroys the clock window: the fixture reports the clock window without children.
while [ "$report" != "children first=yes" ]; do
    next_report 15
done
timeout 15 tail --pid="$tikora_pid" -f /dev/null || fail "tikora.exe still runs after Exit"
wait "$tikora_pid" || fail "tikora.exe ended with $?: $(cat "$work/tikora.err")"
tikora_pid=

# The settings, written by Exit: Internet Time on as the menu left it, the default skin in the
# program's folder, and no chosen skin, as none was chosen (the default the program fell back to is
# not stored as the user's choice).
program_folder=$(winepath -w "$(dirname "$tikora")" 2>/dev/null | tr -d '\r')
expect_value() {  # KEY NAME TEXT
    local value
    value=$(registry_value "$settings_key$1" "$2")
    [ "${value,,}" = "${3,,}" ] || fail "$2 is '$value', not '$3'"
}
expect_value '' BeatTime True
expect_value '\Skins' DefaultSkinPath "$program_folder\Skins\Zefro"
expect_value '\Skins' DefaultSkinFile Zefro.ini
expect_value '' ProgramPath ''
expect_value '\Skins' CurrentSkinPath ''
expect_value '\Skins' CurrentSkinFile ''
echo "settings: BeatTime=True, the default skin $program_folder\Skins\Zefro\Zefro.ini"
echo "end-to-end test passed"
