#!/usr/bin/env bash
# The game as a player gets it from `cmake --install`: installed into a fresh prefix and
# started from folders with no assets/, a checkout's or a copy of its own, it opens its window
# with the class, title and icon the desktop entry promises, and Escape ends it with status 0.
# A lone executable with no data anywhere names the folders it tried and ends with 1.
# The desktop entry and the metainfo pass their validators where those are installed.
# Installs only: the build must be up to date. Needs an X display (DISPLAY).
# Usage: tests/scripts/installed-game.sh <build folder>
set -uo pipefail
build=${1:?usage: installed-game.sh <build folder>}
: "${DISPLAY:?needs an X display}"
source_tree=$(cd "$(dirname "$0")/../.." && pwd -P)

work=$(mktemp -d)
work=$(cd "$work" && pwd -P)  # the game reports physical paths
# The player's settings and records of whoever runs this stay untouched.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
game=""
finish() {
    [ -n "$game" ] && { kill -9 "$game" && wait "$game"; } 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAIL: $*"
    [ -s "$work/game.log" ] && { echo "--- the game's output:"; cat "$work/game.log"; }
    exit 1
}

# Polls `condition` every 0.2 s for up to `seconds`.
wait_for() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 5))); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for file in bin/qex share/qex/assets/qex-assets.txt share/qex/assets/settings.ini share/qex/assets/shader/HUD.vert \
    share/qex/assets/models/BossAnimation.dae share/applications/qex.desktop \
    share/metainfo/qex.metainfo.xml share/icons/hicolor/64x64/apps/qex.png \
    share/icons/hicolor/256x256/apps/qex.png; do
    [ -f "$prefix/$file" ] || fail "the install has no $file"
done

entry="$prefix/share/applications/qex.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate turned down $entry"
fi
# The id "qex" is not in reverse-DNS form; everything else must pass.
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
        "$prefix/share/metainfo/qex.metainfo.xml" >"$work/appstream.log" 2>&1 ||
        fail "appstreamcli turned down the metainfo: $(cat "$work/appstream.log")"
fi

# --- The installed game, started from folders with and without an assets/ of Qex's -----
# In each, it opens its window (on its title) as the desktop entry promises, says which
# data it took when it had a choice (nothing when `said` is empty), and Escape on the
# title ends it with status 0.
touch "$work/installed"  # nothing in the prefix may change after this
running() { kill -0 "$game" 2>/dev/null; }
find_window() {
    window=$(xdotool search --onlyvisible --pid "$game" --name '^Qex$' 2>/dev/null | head -n 1)
    [ -n "$window" ] || ! running
}
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
name=$(sed -n 's/^Name=//p' "$entry")
play_in() {
    local folder=$1 said=$2 status
    cd "$folder" || fail "no working folder $folder"
    "$prefix/bin/qex" >"$work/game.log" 2>&1 </dev/null &
    game=$!
    window=""
    wait_for 60 find_window
    [ -n "$window" ] || fail "no window of the installed game started in $folder"
    # Output read whole: under pipefail, grep -q quitting early would fail the writer.
    [[ "$(xwininfo -id "$window")" == *"Map State: IsViewable"* ]] || fail "the window is not shown"
    class=$(xprop -id "$window" WM_CLASS)
    [[ "$class" == *", \"$wm_class\"" ]] || fail "window class: $class; the entry says $wm_class"
    title=$(xprop -id "$window" WM_NAME)
    [[ "$title" == *"= \"$name\"" ]] || fail "window title: $title; the entry says $name"
    [[ "$(xprop -id "$window" _NET_WM_ICON)" == *"Icon (64 x 64)"* ]] || fail "the window has no icon in $folder"
    # Keys that arrive while the game still sets up its scene find no callback yet: a
    # loaded machine gets Escape again until the title has heard it.
    for _ in $(seq 15); do
        xdotool key --window "$window" Escape 2>/dev/null
        wait_for 2 eval '! running' && break
    done
    running && fail "the installed game did not quit on Escape in $folder"
    wait "$game"
    status=$?
    game=""
    [ "$status" -eq 0 ] || fail "the installed game ended with status $status in $folder"
    grep -q "OpenGL Error:.*Type = Error" "$work/game.log" && fail "OpenGL errors in $folder"
    if [ -z "$said" ]; then
        grep -q "^Using the assets" "$work/game.log" && fail "a choice was reported in $folder"
    else
        grep -Fxq "$said" "$work/game.log" || fail "started in $folder, the game did not say '$said'"
    fi
}

# An empty folder; a project checkout's assets/ (no marker), passed over for the install's;
# a copy of Qex's own, taken before the install's.
mkdir "$work/elsewhere" "$work/checkout" "$work/own"
cp -r "$source_tree/assets" "$work/checkout/"
cp -r "$prefix/share/qex/assets" "$work/own/"
data="$prefix/share/qex"
while IFS='|' read -r folder said; do play_in "$folder" "$said"; done <<TABLE
$work/elsewhere|
$work/checkout|Using the assets in $data: $work/checkout/assets is not Qex's (it has no qex-assets.txt).
$work/own|Using the assets in $work/own, not the installed ones in $data.
TABLE

# --- The executable alone, with no data in the working folder or beside it -------------
mkdir -p "$work/lone/bin"
cp "$prefix/bin/qex" "$work/lone/bin/"
cd "$work/elsewhere" || fail "no working folder"
message=$("$work/lone/bin/qex" </dev/null 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "without data the game ended with status $status: $message"
expected="ERROR: No assets/ folder with Qex's qex-assets.txt in $work/elsewhere or $work/lone/share/qex"
[ "$message" == "$expected" ] || fail "without data the game said: '$message', not '$expected'"

# --- The command line, and a display that cannot be opened ------------------------------
"$prefix/bin/qex" --version | grep -qx "qex [0-9.]*" || fail "--version did not print the version"
"$prefix/bin/qex" --bogus >/dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown option did not end with status 2"
message=$(DISPLAY=:nothing "$prefix/bin/qex" </dev/null 2>&1 >/dev/null)
[ $? -eq 1 ] && [[ "$message" == *"ERROR: Failed to init GLFW"* ]] ||
    fail "without a display: no status 1 and message on standard error: '$message'"
[ -z "$(find "$prefix" -newer "$work/installed" -print -quit)" ] || fail "the game wrote into its prefix"

echo "installed game: window, class, title, icon, Escape, the command line and the start-up failures all fine"
