#!/usr/bin/env bash
# Takes the pictures of the user guide (docs/img/) from the program itself, on a fresh demo firm
# under a virtual display, so they can be taken again whenever the windows change.
#   scripts/screenshots.sh            (after scripts/kasa.sh build)
# Needs Xvfb, openbox, xdotool and ImageMagick (installed by scripts/kasa.sh).
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${KASA_BUILD_DIR:-$top/build}"
out="$top/docs/img"
display=":${KASA_SHOT_DISPLAY:-77}"
work=$(mktemp -d /tmp/kasa-shots.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
export DISPLAY=$display

"$build/kasa" --init "$work/data" --demo >/dev/null
(cd "$work/data" && exec "$build/kasa") >/dev/null 2>&1 & pids+=($!)
# Start-up may warn (no printer on a virtual display): each message is answered with Enter.
answer_messages() {
    for box in $(xdotool search --onlyvisible --name '^Kasa$' 2>/dev/null); do
        xdotool windowactivate --sync "$box" key Return 2>/dev/null || true
        sleep 0.5
    done
}
main=""
for _ in $(seq 60); do
    answer_messages
    main=$(xdotool search --onlyvisible --name '^Kasa ' 2>/dev/null | head -1) && [ -n "$main" ] && break
    sleep 0.5
done
[ -n "$main" ] || { echo "the main window did not come up" >&2; exit 1; }
xdotool windowsize "$main" 900 560 windowmove "$main" 0 0
sleep 1

# A window's picture, small: at most 900 pixels wide, 8-bit colour.
shot() { # name window
    sleep 1
    import -window "$2" "$work/$1.png"
    convert "$work/$1.png" -resize '900x>' -colors 128 -strip "PNG8:$out/$1.png"
}
# Opens the entry of a menu: menus counted from the first ("Zadanie") to the right, entries from
# the first enabled one (which the menu opens on) down.
menu() { # menu-index entry-index
    xdotool windowactivate --sync "$main"
    xdotool mousemove --window "$main" 30 10 click 1
    sleep 0.5
    for _ in $(seq "$1"); do xdotool key Right; done
    for _ in $(seq "$2"); do xdotool key Down; done
    xdotool key Return
}
window_named() { xdotool search --sync --onlyvisible --name "$1" | head -1; }

shot okno-glowne "$main"

menu 3 1 # "Parametry programu" / "Dane o Firmie" (after "Zmiana użytkownika")
company=$(window_named '^Dane o Firmie')
xdotool windowactivate --sync "$company" key ctrl+Tab
shot dane-o-firmie "$company"
xdotool windowactivate --sync "$company" key Escape
sleep 1

menu 3 2 # "Parametry programu" / "Parametry programu"
parameters=$(window_named '^Parametry programu')
shot parametry-programu "$parameters"
xdotool windowactivate --sync "$parameters" key Escape

# A new KP in the demo's open report.
xdotool windowactivate --sync "$main" key ctrl+p
editor=$(window_named '^Dokument')
shot dokument-kp "$editor"

ls -l "$out"
