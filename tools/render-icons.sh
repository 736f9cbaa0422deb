#!/usr/bin/env bash
# Renders the tool-bar pictures and status lights from their SVG sources into the PNGs
# that the build embeds: NAME.png at the drawn size and NAME@2x.png at twice that size.
# Needs rsvg-convert (Debian package librsvg2-bin), only when a picture changes.
set -euo pipefail
images="$(dirname "$0")/../src/app/images"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found: apt-get install librsvg2-bin" >&2; exit 1; }
for source in "$images"/toolbar/*.svg "$images"/lights/*.svg; do
    stem=${source%.svg}
    rsvg-convert --zoom 1 --output "$stem.png" "$source"
    rsvg-convert --zoom 2 --output "$stem@2x.png" "$source"
    echo "rendered ${stem#"$images"/}"
done
