#!/usr/bin/env bash
# Takes the README's three pictures of the running game on an Xvfb of its own: the title,
# the fight (a burst of shots on their way to the boss) and the end of a match (fought
# until one side is down). Plays from outside with xdotool, as a player would; the game runs
# from a copy of the build's assets/ in a temporary folder. Takes a few minutes; on a
# machine too busy to draw more than a few frames a second the match may not end within
# the time allowed, and then it says so: run it again.
# Needs Xvfb, xdotool, x11-utils and ImageMagick (tools/install-deps.sh).
# Usage: tools/screenshots.sh [build folder, default build] [output folder, default docs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$root/docs}
width=640
height=400

work=$(mktemp -d)
server=""
game=""
finish() {
    [ -n "$game" ] && { kill -9 "$game" && wait "$game"; } 2>/dev/null
    [ -n "$server" ] && { kill "$server" && wait "$server"; } 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

# --- A display and the game on it -------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

cp -r "$build/assets" "$work/"
sed -i "s/^width = .*/width = $width/; s/^height = .*/height = $height/" "$work/assets/settings.ini"
# The player's own settings would win over the size set here, and the match's records and
# replay are no business of the player's.
(cd "$work" && XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" exec "$build/qex") \
    >"$work/game.log" 2>&1 </dev/null &
game=$!
window=$(xdotool search --sync --onlyvisible --pid "$game" --name '^Qex$' | head -n 1)

# The whole screen, cut to the window: reading the GL window itself gives black. Written
# uncompressed (.ppm): encoding a PNG takes import ten times as long on a busy machine.
shoot() {
    local geometry
    geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print w "x" h "+" x "+" y}')
    import -window root -crop "$geometry" +repage "$1"
}

# Mean red, green and blue (0..1) of a part of a picture given in window fractions.
mean_colour() {
    convert "$1" -crop "$(awk -v w=$width -v h=$height -v x0="$2" -v y0="$3" -v x1="$4" -v y1="$5" \
        'BEGIN {printf "%dx%d+%d+%d", (x1 - x0) * w, (y1 - y0) * h, x0 * w, y0 * h}')" \
        +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:
}
# The left ends of the boss's red bar (top) and the player's blue bar (bottom), along
# their top edges above the labels: a bar shrinks toward its left end and is gone when
# its owner is. The strip is narrow enough that the craft's last point of hull still
# covers it.
boss_alive() { mean_colour "$1" 0.055 0.052 0.065 0.059 | awk '{exit !($1 > 0.8 && $2 < 0.4)}'; }
player_alive() { mean_colour "$1" 0.055 0.902 0.065 0.911 | awk '{exit !($3 > 0.85 && $1 < 0.5)}'; }

hold() { xdotool keydown --window "$window" "$1"; sleep "$2"; xdotool keyup --window "$window" "$1"; }
# A click only fires when a frame is drawn before the next one.
fire() { xdotool click --repeat "$1" --delay 300 --window "$window" 1; }

# --- Where the boss and the craft are on screen ------------------------------------------
# The middle, as a fraction across the window, of the tenth of the width holding the most
# pixels that pass `test` (an ImageMagick -fx expression) in the band y0..y1; nothing when
# fewer than 300 pixels pass (hidden or out of view).
strips=96
cluster_centre() {
    local picture=$1 y0=$2 y1=$3 test=$4
    local top=$(awk -v y="$y0" -v h=$height 'BEGIN {printf "%d", y * h}')
    local rows=$(awk -v a="$y0" -v b="$y1" -v h=$height 'BEGIN {printf "%d", (b - a) * h}')
    # Every other pixel is enough, and -fx takes a quarter of the time.
    convert "$picture" -crop "${width}x${rows}+0+${top}" +repage -sample 50% -fx "$test ? 1 : 0" \
        -scale "${strips}x1!" -colorspace gray -depth 16 -compress none pgm:- |
        tr -s ' \n' '\n' | tail -n +5 |
        awk -v strips=$strips -v pixels=$((width * rows / strips)) '
            { share[NR - 1] = $1 / 65535 * pixels }
            END {
                span = int(strips / 10); best = -1; bestSum = 0; sum = 0
                for (x = 0; x < strips; ++x) {
                    sum += share[x]; if (x >= span) sum -= share[x - span]
                    if (sum > bestSum) { bestSum = sum; best = x }
                }
                if (bestSum < 300) exit
                weighted = 0
                for (x = best - span + 1; x <= best; ++x) if (x >= 0) weighted += x * share[x]
                printf "%.4f\n", (weighted / bestSum + 0.5) / strips
            }'
}
# The boss is lit pure red; the craft is teal, dark where it turns from the light.
boss_on_screen() { cluster_centre "$1" 0.3 0.7 'r > 0.353 && g < 0.094 && b < 0.094 && abs(g - b) < 0.009'; }
craft_on_screen() { cluster_centre "$1" 0.64 0.85 'g > r + 0.047 && b > r + 0.031'; }

# --- Steering into the boss's fire --------------------------------------------------------
# The way tests/gl/GameplayEndToEndGLTest.cpp loses a match on purpose, with its numbers.
# The camera follows the craft sideways, so a craft at world x shows at 0.0086 x right of
# the middle and the boss, far ahead, at 0.0228 of its own x less 0.0141 of the craft's. The
# boss aims its guns, 4 units to either side of it, at its own centre line a little in
# front of the craft: about 3 units out from the boss the shots meet the craft.
craft_x=0
steer_into_fire() {
    local craft boss
    craft=$(craft_on_screen "$1")
    boss=$(boss_on_screen "$1")
    [ -n "$craft" ] && craft_x=$(awk -v c="$craft" 'BEGIN {print (c - 0.5) / 0.0086}')
    [ -n "$boss" ] || return 0
    local push
    push=$(awk -v b="$boss" -v x="$craft_x" 'BEGIN {
        bossX = (b - 0.5 + 0.0141 * x) / 0.0228
        miss = bossX + (x >= bossX ? 3 : -3) - x
        if (miss < 0.7 && miss > -0.7) exit
        hold = (miss < 0 ? -miss : miss) / 18; if (hold > 0.5) hold = 0.5
        if (miss > 0) printf "d %.2f %.2f\n", hold, hold * 18
        else printf "a %.2f %.2f\n", hold, -hold * 18
    }')
    [ -n "$push" ] || return 0
    local key seconds units
    read -r key seconds units <<<"$push"
    hold "$key" "$seconds"
    craft_x=$(awk -v x="$craft_x" -v u="$units" 'BEGIN {x += u; if (x > 14) x = 14; if (x < -14) x = -14; print x}')
}

# --- The three pictures ----------------------------------------------------------------
# The title shows once the scene is built; Start, then the countdown.
mkdir -p "$out"
for _ in $(seq 240); do
    shoot "$work/title.ppm"
    mean_colour "$work/title.ppm" 0.3 0.5 0.7 0.6 | awk '{exit !($1 + $2 + $3 > 0.3)}' && break
    sleep 0.5
done
sleep 2  # the menu settles; the view glides on
shoot "$work/title.ppm"
xdotool key --window "$window" Return
for _ in $(seq 240); do
    shoot "$work/shot.ppm"
    boss_alive "$work/shot.ppm" && break
    sleep 0.5
done
boss_alive "$work/shot.ppm" || { echo "the game showed no first frame"; cat "$work/game.log"; exit 1; }

sleep 5  # the countdown, then the boss's first volley is on its way
fire 4
shoot "$work/fight.ppm"

echo "steering into the boss's fire until the match ends (minutes on a busy machine)"
hold space 0.1
deadline=$((SECONDS + 600))
while boss_alive "$work/shot.ppm" && player_alive "$work/shot.ppm"; do
    [ $SECONDS -lt $deadline ] || { echo "no end of match within 600 s"; exit 1; }
    steer_into_fire "$work/shot.ppm"
    shoot "$work/shot.ppm"
done
sleep 5  # the wreck falls and the smoke rises before the panel shows
shoot "$work/end.ppm"

# 256 colours, dithered: half the size, and hard to tell apart at this size.
for picture in title fight end; do
    convert "$work/$picture.ppm" -strip -dither FloydSteinberg -colors 256 \
        "PNG8:$out/screenshot-$picture.png"
done
if grep -q "OpenGL Error:.*Type = Error" "$work/game.log"; then
    echo "the game reported OpenGL errors:"
    grep "OpenGL Error" "$work/game.log"
    exit 1
fi
echo "wrote $out/screenshot-title.png, screenshot-fight.png and screenshot-end.png"
