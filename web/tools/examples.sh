#!/bin/sh
# Copies the bundled examples into the app and lists them in index.json
# (file name and first title line), which the page's Start menu reads.
set -eu
src=$1
dst=$2
mkdir -p "$dst"
first=1
{
    printf '[\n'
    for f in "$src"/*.kin; do
        name=$(basename "$f")
        cp "$f" "$dst/$name"
        title=$(awk 'found { print; exit } $0 == "TITLE" { found = 1 }' "$f" | sed 's/\\/\\\\/g; s/"/\\"/g; s/[[:cntrl:]]//g')
        [ $first -eq 1 ] || printf ',\n'
        first=0
        printf '  {"file": "%s", "title": "%s"}' "$name" "$title"
    done
    printf '\n]\n'
} > "$dst/index.json"
