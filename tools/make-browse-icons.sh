#!/bin/sh
# Draws the icons of the query tree, the grouping bar and the group view into
# resources/icons/ (needs ImageMagick's convert). The .ico files are committed.
set -e
out="$(cd "$(dirname "$0")/.." && pwd)/resources/icons"
mkdir -p "$out"

icon() {
    name=$1
    shift
    convert -size 16x16 xc:none -strokewidth 1 "$@" -define icon:auto-resize=16 "$out/$name"
}

# A saved query: a sheet with a magnifier.
icon query.ico -fill '#FFFFFF' -stroke '#606060' -draw 'polygon 1,1 8,1 11,4 11,14 1,14' \
    -draw 'line 3,5 8,5' -draw 'line 3,8 6,8' \
    -fill '#CFE4FA' -stroke '#2F5F98' -draw 'circle 10,10 10,7' \
    -stroke '#2F5F98' -strokewidth 2 -draw 'line 12,12 15,15'
# A play-list file: a sheet with lines and a note.
icon playlist-file.ico -fill '#FFFFFF' -stroke '#606060' -draw 'polygon 1,1 8,1 11,4 11,14 1,14' \
    -draw 'line 3,4 8,4' -draw 'line 3,6 8,6' \
    -fill '#C03060' -stroke none -draw 'circle 8,12 8,10' -draw 'rectangle 9,5 10,12' \
    -draw 'polygon 10,5 14,6 14,8 10,7'
# Grouping by artist: a person.
icon group-artist.ico -fill '#F0C8A0' -stroke '#8A5A30' -draw 'circle 8,5 8,2' \
    -fill '#3A7AC8' -stroke '#1B4A86' -draw 'polygon 2,15 3,10 6,8.5 10,8.5 13,10 14,15'
# Grouping by album: a disc.
icon group-album.ico -fill '#D8DCE4' -stroke '#606878' -draw 'circle 8,8 8,1' \
    -fill '#A0B8E0' -stroke none -draw 'circle 8,8 8,4.5' \
    -fill '#FFFFFF' -stroke '#606878' -draw 'circle 8,8 8,6.5'
# Grouping by genre: a tag.
icon group-genre.ico -fill '#F2C94C' -stroke '#9A7410' -draw 'polygon 1,2 8,2 15,9 9,15 1,7' \
    -fill '#FFFFFF' -draw 'circle 4.5,5.5 4.5,4'
# Index groups: collapsed (plus box) and expanded (minus box).
icon group-collapsed.ico -fill '#FFFFFF' -stroke '#808080' -draw 'rectangle 3,3 12,12' \
    -stroke '#202020' -draw 'line 5,7.5 10,7.5' -draw 'line 7.5,5 7.5,10'
icon group-expanded.ico -fill '#FFFFFF' -stroke '#808080' -draw 'rectangle 3,3 12,12' \
    -stroke '#202020' -draw 'line 5,7.5 10,7.5'
