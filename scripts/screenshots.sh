#!/usr/bin/env bash
# Takes the README's screenshots: starts build/bin/tomery in a virtual X display, opens a
# DOC e-book through the menus with keys only, types, saves, and writes docs/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(xvfb xauth imagemagick xdotool)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s\r\n' "Chapter One" "" \
    "It was a dark and stormy night; the rain fell in torrents, except at occasional" \
    "intervals, when it was checked by a violent gust of wind which swept up the streets," \
    "rattling along the housetops, and fiercely agitating the scanty flame of the lamps" \
    "that struggled against the darkness." > "$work/story.txt"
TOMERY_HOME="$work" build/bin/tomery-doc encode "$work/story.txt" "$work/story.pdb" \
    --name "A Dark Night" > /dev/null

cat > "$work/session.sh" <<SESSION
#!/usr/bin/env bash
set -e
export TOMERY_HOME="$work"
build/bin/tomery &
app=\$!
sleep 2
xdotool windowfocus --sync "\$(xdotool search --name '^Tomery' | head -1)"
sleep 0.5
import -window root -crop 600x400+212+184 docs/empty-window.png
xdotool key alt+f; sleep 0.5; xdotool key o; sleep 1
xdotool type --delay 10 "$work/story.pdb"; xdotool key Return; sleep 1
# Without a window manager nothing gives the main window back its focus after a dialog.
xdotool windowfocus --sync "\$(xdotool search --name '^Tomery' | head -1)"
xdotool type --delay 20 "A tale. "
xdotool key alt+f; sleep 0.5; xdotool key s; sleep 1
import -window root -crop 600x400+212+184 "$work/notice.png"
xdotool key Return; sleep 0.5
xdotool windowfocus --sync "\$(xdotool search --name '^Tomery' | head -1)"
TOMERY_HOME="$work" build/bin/tomery-doc decode "$work/story.pdb" "$work/saved.txt" > /dev/null
echo "the saved DOC file begins: \$(head -1 "$work/saved.txt")"
sleep 0.5
import -window root -crop 600x400+212+184 docs/open-document.png
kill \$app
SESSION
chmod +x "$work/session.sh"
xvfb-run -a -s '-screen 0 1024x768x24' "$work/session.sh"
echo "docs/empty-window.png and docs/open-document.png written"
