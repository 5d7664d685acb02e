#!/usr/bin/env bash
# Makes the README's screenshots again: starts the editor under Xvfb on the sample pages
# of docs/samples/, drives it with markora-send and xdotool as a user would, and grabs its
# window into docs/*.png. Nothing of the user's own is read or written: settings, the
# recovery folder and the channel's name are a temporary folder's.
#
#   tools/screenshots.sh [BUILD_FOLDER]          (default: build)
#   SCALE=2 OUT=/tmp/shots tools/screenshots.sh  (the same at 200%, somewhere else)
#
# Needs a built editor and Debian's xvfb, xauth, xdotool and imagemagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${OUT:-$root/docs}
scale=${SCALE:-1}

if [ -z "${MARKORA_SHOTS_XVFB:-}" ]; then
    export MARKORA_SHOTS_XVFB=1
    exec xvfb-run -a -s "-screen 0 $((1100 * scale))x$((780 * scale))x24 -dpi $((96 * scale))" "$0" "$@"
fi

work=$(mktemp -d)
editor_pid=
finish() {
    if [ -n "$editor_pid" ]; then kill "$editor_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap finish EXIT

export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/run
export MARKORA_RECOVERY_DIR=$work/recovery MARKORA_SERVER_NAME=markora-shots-$$
export QT_SCALE_FACTOR=$scale LANG=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
send() { "$build/bin/markora-send" -u "$@"; }
pause() { sleep "${1:-1}"; }

# The samples are copied, so that nothing the editor writes beside them lands in the tree.
cp -r "$root/docs/samples" "$work/strony"
mkdir -p "$XDG_CONFIG_HOME/Lindenworks"
# The file panel would show the temporary folder's neighbours: it stays closed.
cat > "$XDG_CONFIG_HOME/Lindenworks/Markora.conf" <<'EOF'
[Kontrolki]
Panel%20plikow=0
Splitter2=150
EOF

cd "$work/strony"
"$build/bin/markora" "$work/strony/kontakt.html" "$work/strony/index.html" &
editor_pid=$!
for _ in $(seq 100); do
    send -n get-sel -1 1 >/dev/null 2>&1 && break
    pause 0.2
done
window=$(xdotool search --sync --onlyvisible --name '^Markora' | head -n 1)
xdotool windowmove "$window" 0 0
xdotool windowsize "$window" $((1100 * scale)) $((780 * scale))
xdotool windowfocus --sync "$window"
pause 2

# The position of the first place text occurs in the active document, in the positions
# the channel counts (UTF-16 units; the samples hold no character beyond them).
position_of() {
    local text before
    text=$(send -n get-text -1 1000000)
    before=${text%%"$1"*}
    echo "${#before}"
}
shot() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/shot.png"
    # Few colours keep the pictures small; the interface has few.
    convert "$work/shot.png" -colors 128 "PNG8:$out/$1"
    echo "$out/$1"
}

# 1. Colouring, with the syntax hint of the tag at the caret (the caret moved by a key).
send set-sel -1 "$(position_of '<H2>')" 0 >/dev/null
xdotool key Right
pause 2
shot markora-kolorowanie.png

# 2. The parameter list: a space typed inside a tag.
at=$(position_of 'class="zdjecie"')
send set-sel -1 $((at - 1)) 0 >/dev/null
xdotool windowfocus --sync "$window"
xdotool type --delay 100 ' '
pause 2
shot markora-parametry.png
xdotool key Escape
send set-sel -1 $((at - 1)) 1 >/dev/null
send replace-sel -1 '' >/dev/null

# 3. The tag inspector: a tag inserted with auto-interpretation on lands on "Tagi".
send set-sel -1 "$(position_of 'schroniska')" 10 >/dev/null
send insert-pair -1 '<A HREF="kontakt.html" TITLE="Jak do nas dojechać">' '</A>' >/dev/null
pause 2
shot markora-inspektor.png

# 4. Search results: "Znajdź wszystkie" in the search window, then the window closed.
xdotool windowfocus --sync "$window"
xdotool key ctrl+f
search=$(xdotool search --sync --onlyvisible --name '^Znajdź' | head -n 1)
xdotool windowmove "$search" $((560 * scale)) $((300 * scale))
# Without a window manager a click is what gives the window the keyboard: in the
# "Znajdź:" field, below the tabs.
xdotool mousemove --window "$search" $((100 * scale)) $((55 * scale)) click 1
pause 1
xdotool type --delay 50 'LI>'
xdotool key Tab Tab space
pause 2
xdotool key Escape
pause 1
xdotool windowfocus --sync "$window"
pause 1
shot markora-wyniki.png
