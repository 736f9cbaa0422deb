#!/usr/bin/env bash
# Drags a file from the file list onto a folder of the tree with the real X server's pointer
# (Xvfb and xdotool) and checks that it moved there byte for byte. Skipped (77) without them.
set -eu
window=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

root=$(mktemp -d)
xvfb=
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT

export HOME=$root/home XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data \
    XDG_CACHE_HOME=$root/cache QUARN_REGISTRY_DIR=$root/registry
mkdir -p "$HOME/drag/files" "$HOME/drag/target" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" \
    "$XDG_CACHE_HOME" "$QUARN_REGISTRY_DIR"
head -c 100000 /dev/urandom >"$HOME/drag/files/moved.bin"
cp "$HOME/drag/files/moved.bin" "$root/expected.bin"

for display in $(seq 170 199); do [ -e /tmp/.X11-unix/X$display ] || break; done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

"$window" "$HOME/drag" "$HOME/drag/files" moved.bin target >"$root/points" 2>"$root/log" &
app=$!
for _ in $(seq 100); do grep -q NODE "$root/points" 2>/dev/null && break; sleep 0.1; done
read -r _ rowX rowY < <(grep ROW "$root/points")
read -r _ nodeX nodeY < <(grep NODE "$root/points")

xdotool mousemove "$rowX" "$rowY" mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((rowX + (nodeX - rowX) * step / 10)) $((rowY + (nodeY - rowY) * step / 10))
    sleep 0.1
done
sleep 0.3
xdotool mouseup 1
for _ in $(seq 50); do [ -e "$HOME/drag/target/moved.bin" ] && break; sleep 0.1; done

cmp "$root/expected.bin" "$HOME/drag/target/moved.bin"
[ ! -e "$HOME/drag/files/moved.bin" ] || { echo "the source is still there" >&2; exit 1; }
echo "moved from the list onto the tree node"
