#!/usr/bin/env bash
# Plays a solo game to 5 the way a person does, by clicks at the table's
# places, and saves screenshots of the start, the bidding, the own bubbles, a
# trick in progress, the end of a hand, the end of the game, and the
# game-start, last-trick and logs windows. Run by hand (it takes a minute or
# two): tools/screenshots.sh [output folder]
# (default build/screenshots). Needs a built build/euchre; starts its own
# virtual screen, and installs xdotool and ImageMagick when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/screenshots}")
mkdir -p "$out"

if [ -z "${EUCHRE_SHOTS_INNER:-}" ]; then
    need=()
    command -v xdotool >/dev/null || need+=(xdotool)
    command -v import >/dev/null || need+=(imagemagick)
    command -v xvfb-run >/dev/null || need+=(xvfb xauth)
    if [ ${#need[@]} -gt 0 ]; then
        sudo_cmd=""
        [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
        $sudo_cmd apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${need[@]}"
    fi
    EUCHRE_SHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out"
fi

bin=$PWD/build/euchre
[ -x "$bin" ] || { echo "build/euchre is missing: build first" >&2; exit 1; }
home=$(mktemp -d)
# The table saves its files as it closes: wait for it before removing them.
# (pid is empty until the table starts.)
pid=""
trap '[ -n "$pid" ] && { kill $pid 2>/dev/null; wait $pid 2>/dev/null; }; rm -rf "$home"' EXIT
# Fast computer players, no lobby offer over the table, the small windows
# kept in front (a screen without a window manager hands the focus back to
# the table at once), and a window larger than the board: every click below
# is relative to the board's top-left corner wherever it ends up.
printf '[Euchre]\r\nBotspeed=200\r\nHideLobbyDownload=true\r\nScontop=true\r\nLtontop=true\r\nTop=20\r\nLeft=30\r\nWidth=960\r\nHeight=720\r\n' \
    >"$home/bromlobby.ini"
export EUCHRE_HOME=$home
# Its own instance, so that a copy running on this desktop is left alone.
export EUCHRE_INSTANCE=screenshots-$$
export EUCHRE_PORT=${EUCHRE_PORT:-$((20000 + RANDOM % 20000))}
"$bin" >/dev/null 2>&1 &
pid=$!

win=""
for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name '^Euchre$' 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { echo "the table window did not appear" >&2; exit 1; }
sleep 1.5

shot=$home/screen.png
grab() { import -window root "$shot"; }
# Red, green and blue of a screen pixel of the last grab.
pixel() {
    convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
# The first dark pixel along a line of the last grab: "x y".
first_dark() {
    convert "$shot" -crop "$1" -depth 8 txt:- |
        awk -F'[ ,:()]+' -v ox="$2" -v oy="$3" \
            'NR > 1 && $4 < 40 && $5 < 40 && $6 < 40 { print $1 + ox, $2 + oy; exit }'
}
# Whether a place of the board (relative to its top-left corner) shows bare cloth.
is_felt() {
    read -r r g b < <(pixel $((bx + $1)) $((by + $2)))
    [ "$g" -gt $((r + 30)) ] && [ "$g" -gt $((b + 20)) ]
}

# The board's top-left corner: its black border, found from the middle of
# the window downwards (the menu bar is empty there) and then leftwards.
grab
eval "$(xdotool getwindowgeometry --shell "$win")"
read -r _ by < <(first_dark "1x${HEIGHT}+$((X + WIDTH / 2))+$Y" $((X + WIDTH / 2)) "$Y")
read -r bx _ < <(first_dark "${WIDTH}x1+$X+$((by + 40))" "$X" $((by + 40)))
[ -n "${bx:-}" ] && [ -n "${by:-}" ] || { echo "could not find the board" >&2; exit 1; }
echo "board at $bx,$by in a ${WIDTH}x${HEIGHT} window"
click() { xdotool mousemove $((bx + $1)) $((by + $2)) click 1; }
save() { import -window "$win" "$out/$1.png"; echo "saved $out/$1.png"; }

save start
click $((368 + 45)) $((347 + 14))   # the table's start button
sleep 1
gs=$(xdotool search --onlyvisible --name '^Euchre - Game Start$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$gs")"
# Play to 5: five clicks on the lower arrow of "Play to Score".
for _ in 1 2 3 4 5; do xdotool mousemove $((X + 190)) $((Y + 52)) click 1; sleep 0.1; done
import -window root "$home/root.png"
convert "$home/root.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$out/game-start.png"
echo "saved $out/game-start.png"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 226)) click 1   # its start button
sleep 0.5

# Play: press the lower-left bubble when bubbles are offered (order it up,
# the first suit, with the partner), otherwise the own cards in turn; a card
# refused is taken back by the next press on it. The first deal shows the
# bidding going round; the hands go on until the own seat was asked too.
bidding=""; bubbles=""; trick=""; ended=""; played=0; place=1
for _ in $(seq 4000); do
    grab
    # (The left edge of the bubble: "Discard a Card" lies over the rest of it.)
    if ! is_felt $((149 + 2)) $((358 + 12)); then
        [ -z "$bubbles" ] && { save bubbles; bubbles=1; }
        click $((149 + 47)) $((358 + 12))
        sleep 0.4
        continue
    fi
    if ! is_felt $((368 + 45)) $((347 + 14)); then
        # The start button is back: the game is over.
        save game-end
        break
    fi
    if is_felt $((72 + 18 + 9)) 440; then
        # No card in the hand: before the deal, or the hand is over.
        if [ "$played" -ge 3 ]; then
            [ -z "$ended" ] && { save hand-end; ended=1; }
            played=0
        fi
        sleep 0.2
        continue
    fi
    [ -z "$bidding" ] && { save bidding; bidding=1; }
    click $((72 + 18 * place + 9)) 440
    played=$((played + 1))
    place=$((place % 5 + 1))
    sleep 0.3
    if [ -z "$trick" ] && [ "$played" -ge 4 ]; then grab; save trick; trick=1; fi
done
[ -n "$bidding" ] && [ -n "$trick" ] && [ -n "$ended" ] ||
    { echo "the game did not get far enough" >&2; exit 1; }

# The small windows the picture buttons open.
for pair in "538 Last Trick" "635 Euchre - Logs"; do
    read -r left caption <<<"$pair"
    click $((left + 45)) $((48 + 14))
    sleep 0.6
    small=$(xdotool search --onlyvisible --name "^$caption\$" | head -1)
    name=$(echo "$caption" | tr 'A-Z ' 'a-z-' | sed 's/euchre---//')
    eval "$(xdotool getwindowgeometry --shell "$small")"
    import -window root "$home/root.png"
    convert "$home/root.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$out/$name.png"
    echo "saved $out/$name.png"
done
