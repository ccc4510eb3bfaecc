#!/bin/sh
# SPDX-License-Identifier: MIT
# The clock under sway (headless) with waybar's tray: its picture shows in the tray, on Qt's
# Wayland plugin and on Xwayland; with no tray it says so in one line and keeps running.
# usage: sway_test.sh TIKORA PREVIEW SKIN_INI SCREENSHOT_DIR wayland|xcb|notray
set -eu
tikora=$1 preview=$2 skin=$3 shots=$4 mode=$5
for program in sway swaymsg waybar grim compare jq dbus-daemon dbus-send busctl setpriv; do
    command -v "$program" >/dev/null || { echo "$program is not installed: skipped"; exit 77; }
done
mkdir -p "$shots"
run=$(mktemp -d)
# sway refuses to run as root: the session runs as nobody, in a runtime folder of its own.
as_user=
if [ "$(id -u)" = 0 ]; then
    chown 65534:65534 "$run"
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups --"
fi
chmod 700 "$run"
bus_pid= sway_pid=
finish() {
    [ -z "$sway_pid" ] || kill "$sway_pid" 2>/dev/null || true
    [ -z "$bus_pid" ] || kill "$bus_pid" 2>/dev/null || true
    [ ! -f "$run/tikora.pid" ] || kill "$(cat "$run/tikora.pid")" 2>/dev/null || true
    rm -rf "$run"
}
trap finish EXIT
trap 'exit 1' INT TERM
fail() { echo "FAIL: $*"; echo "--- tikora.log"; cat "$run/tikora.log" 2>/dev/null; exit 1; }
# Polls a shell command for up to 30 s.
wait_for() {
    end=$(($(date +%s) + 30))
    until eval "$1"; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.1
    done
}

cat >"$run/waybar.json" <<JSON
{"layer": "top", "position": "top", "height": 30, "modules-right": ["tray"],
 "tray": {"icon-size": 22, "spacing": 4}}
JSON
echo 'window#waybar { background: #203040; }' >"$run/waybar.css"
{
    echo "output HEADLESS-1 resolution 640x240"
    echo "xwayland enable"
    [ "$mode" = notray ] || echo "exec waybar -c $run/waybar.json -s $run/waybar.css"
} >"$run/sway.conf"
chown -R --reference="$run" "$run"

set -- env -i PATH=/usr/bin:/bin HOME="$run" XDG_RUNTIME_DIR="$run" LANG=C.UTF-8 NO_AT_BRIDGE=1
bus=$($as_user "$@" dbus-daemon --session --fork --print-address=1 --print-pid=1 \
    --address="unix:path=$run/bus")
bus_pid=$(echo "$bus" | sed -n 2p)
$as_user "$@" DBUS_SESSION_BUS_ADDRESS="unix:path=$run/bus" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$run/sway.conf" >"$run/sway.log" 2>&1 &
sway_pid=$!
wait_for 'ls "$run"/sway-ipc.*.sock >/dev/null 2>&1 && [ -S "$run/wayland-1" ]' ||
    fail "sway did not start: $(cat "$run/sway.log")"
SWAYSOCK=$(ls "$run"/sway-ipc.*.sock)
export SWAYSOCK
[ "$mode" = notray ] || wait_for 'pgrep -P "$sway_pid" -f waybar >/dev/null || pgrep -f "waybar -c $run" >/dev/null' ||
    fail "waybar did not start"

platform=$mode
[ "$mode" != notray ] || platform=wayland
# Started by sway, in its session: its displays and its bus.
printf '#!/bin/sh\necho $$ >%s/tikora.pid\nexec env QT_QPA_PLATFORM=%s %s 2>%s/tikora.log\n' \
    "$run" "$platform" "$tikora" "$run" >"$run/start-clock"
chmod 755 "$run/start-clock"
swaymsg -q exec "$run/start-clock"
shot="$shots/sway-$mode.png"
screenshot() { XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=wayland-1 grim "$shot"; }

if [ "$mode" = notray ]; then
    line="tikora: no tray to dock in: shown as a plain window where the compositor puts it; a panel with a StatusNotifierItem tray would dock it"
    wait_for 'grep -qxF "$line" "$run/tikora.log" 2>/dev/null' || fail "no line saying there is no tray"
    wait_for 'swaymsg -t get_tree | grep -q "Tikora"' || fail "no clock window"
    # Drawn: more than sway's own background colour on the screen.
    wait_for 'screenshot && [ "$(convert "$shot" -format %k info:)" -gt 1 ]' ||
        fail "the clock's window shows nothing"
    kill -0 "$(cat "$run/tikora.pid")" || fail "the clock ended"
    [ "$(grep -c . "$run/tikora.log")" = 1 ] || fail "more than one line"
    exit 0
fi

wait_for 'grep -qF "tikora: docked in the StatusNotifierItem tray of org.kde.StatusNotifierWatcher (waybar)" "$run/tikora.log" 2>/dev/null' ||
    fail "not docked in waybar's tray"
# waybar takes the largest picture an item offers (128 pixels, drawn at two device pixels a
# pixel) and scales it to its icon size (22): the preview's picture of this minute or the next,
# scaled alike, must be in the bar, all but the smoothing of the scaling.
expected() {
    QT_SCALE_FACTOR=2 "$preview" "$skin" --size 64x64 --at "$(date -d "$1" +%H:%M:00)" \
        -o "$run/icon.png" >/dev/null 2>&1
    convert "$run/icon.png" -resize 22x22 "$run/icon-22.png"
}
shows_clock() {
    screenshot
    convert "$shot" -crop 640x30+0+0 +repage "$run/bar.png"
    for minute in now "1 minute"; do
        expected "$minute"
        compare -metric RMSE -subimage-search "$run/bar.png" "$run/icon-22.png" null: \
            2>"$run/compare" || true
        # "absolute (normalised) @ x,y"
        if awk '{ gsub(/[()]/, "", $2); exit !($2 < 0.06) }' "$run/compare"; then
            return 0
        fi
    done
    return 1
}
wait_for shows_clock || fail "the clock's picture is not in the tray ($(cat "$run/compare"))"
kill -0 "$(cat "$run/tikora.pid")" || fail "the clock ended"
if [ "$mode" = wayland ]; then
    ask() { $as_user env DBUS_SESSION_BUS_ADDRESS="unix:path=$run/bus" dbus-send --session "$@"; }
    item=$(ask --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.ListNames |
        grep -o 'org.kde.StatusNotifierItem-[0-9]*-1')
    # The host draws the design's menu, read over the bus, and a click on an entry runs it.
    bus() { $as_user busctl --address="unix:path=$run/bus" --json=short -- "$@"; }
    property() { bus get-property "$item" /StatusNotifierItem org.kde.StatusNotifierItem "$1" | jq -r .data; }
    [ "$(property ItemIsMenu)" = true ] || fail "the item is not a menu"
    menu=$(property Menu)
    layout() { bus call "$item" "$menu" com.canonical.dbusmenu GetLayout iias 0 -1 0 |
        jq -c "[.data[1][2][].data[1] | $1]"; }
    [ "$(layout '.label.data // "-"')" = '["_Adjust Date/Time","_Preferences","-","_Internet Time (.beat)","-","_Change Skin","-","A_bout","_Exit"]' ] ||
        fail "not the design's menu: $(layout .)"
    beat=$(bus call "$item" "$menu" com.canonical.dbusmenu GetLayout iias 0 -1 0 |
        jq '.data[1][2][].data | select(.[1].label.data == "_Internet Time (.beat)") | .[0]')
    [ "$(layout '."toggle-state".data // empty')" = '[0]' ] || fail "Internet Time is checked"
    bus call "$item" "$menu" com.canonical.dbusmenu Event isvu "$beat" clicked s "" 0 >/dev/null
    wait_for 'grep -qxF "\"BeatTime\"=\"True\"" "$run/.config/tikora/registry.reg" 2>/dev/null' ||
        fail "the menu's Internet Time was not kept"
    wait_for '[ "$(layout ".\"toggle-state\".data // empty")" = "[1]" ]' ||
        fail "the menu does not show Internet Time checked"
    # A host that asks for the menu anyway: on Wayland Qt shows it as a window of its own, which
    # sway must float, not tile over the whole screen.
    ask --print-reply --dest="$item" /StatusNotifierItem org.kde.StatusNotifierItem.ContextMenu \
        int32:600 int32:20 >/dev/null
    wait_for 'swaymsg -t get_tree | jq -e "[.. | .floating_nodes? // empty | .[] |
        select(.app_id == \"tikora\")] | length == 1" >/dev/null' || fail "the menu is not floating"
    wait_for 'screenshot && [ "$(convert "$shot" -crop 640x200+0+40 -format %k info:)" -gt 1 ]' ||
        fail "the menu shows nothing"
fi
# The session ends: the clock goes with its display.
kill "$sway_pid"
wait_for '! kill -0 "$(cat "$run/tikora.pid")" 2>/dev/null' || fail "the clock outlived its session"
