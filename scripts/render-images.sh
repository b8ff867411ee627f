#!/usr/bin/env bash
# Renders every vector source under images/src into a PNG under images/, keeping the
# relative path (images/src/a/b.svg -> images/a/b.png).
#
# The width and height attributes of a source are its size in points; the PNG is drawn
# at twice that (the application loads its images at scale 2). vemo-icon.svg is 128
# points, so the desktop icon comes out at 256 x 256 pixels.
#
# Usage: scripts/render-images.sh [--check]
#   --check  render into a temporary folder and report any PNG under images/ that is
#            missing or differs from its source, without touching images/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
src="$root/images/src"
out="$root/images"
scale=2

check=0
if [[ "${1:-}" == "--check" ]]; then
    check=1
    out="$(mktemp -d)"
    trap 'rm -rf "$out"' EXIT
elif [[ $# -gt 0 ]]; then
    echo "usage: $0 [--check]" >&2
    exit 2
fi

command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found (package librsvg2-bin)" >&2; exit 1; }

# Reads a numeric attribute (width or height) of the root <svg> element.
svg_attr() {
    local file="$1" name="$2"
    tr '\n' ' ' <"$file" | grep -o '<svg[^>]*>' | head -n1 |
        grep -o "[[:space:]]$name=\"[0-9.]*\"" | head -n1 | grep -o '[0-9.]*'
}

status=0
count=0
while IFS= read -r -d '' svg; do
    rel="${svg#"$src"/}"
    png="$out/${rel%.svg}.png"
    w="$(svg_attr "$svg" width)"
    h="$(svg_attr "$svg" height)"
    if [[ -z "$w" || -z "$h" ]]; then
        echo "$rel: the <svg> element needs numeric width and height attributes" >&2
        status=1
        continue
    fi
    pw=$(awk -v v="$w" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }')
    ph=$(awk -v v="$h" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }')
    mkdir -p "$(dirname "$png")"
    rsvg-convert --width="$pw" --height="$ph" --format=png --output="$png" "$svg"
    count=$((count + 1))
    if [[ $check -eq 1 ]]; then
        committed="$root/images/${rel%.svg}.png"
        if [[ ! -f "$committed" ]]; then
            echo "missing: images/${rel%.svg}.png" >&2
            status=1
        elif ! cmp -s "$committed" "$png"; then
            echo "out of date: images/${rel%.svg}.png" >&2
            status=1
        fi
    else
        echo "images/${rel%.svg}.png  ${pw}x${ph}"
    fi
done < <(find "$src" -type f -name '*.svg' -print0 | sort -z)

if [[ $count -eq 0 ]]; then
    echo "no sources under images/src" >&2
    exit 1
fi
exit $status
