#!/bin/sh
# Draws the main window's icons into resources/icons/ (needs ImageMagick's convert):
# the 16x16 toolbar and menu images, the status bar's speaker and the program icon
# (16x16 and 32x32). Run it again after changing a drawing; the .ico files are committed.
set -e
out="$(cd "$(dirname "$0")/.." && pwd)/resources/icons"
mkdir -p "$out"

# icon <file> <draw arguments...>: one 16x16 image on a transparent background.
icon() {
    name=$1
    shift
    convert -size 16x16 xc:none -strokewidth 1 "$@" -define icon:auto-resize=16 "$out/$name"
}

# Library toolbar: add files, add folder, import and export the database, properties.
icon add-file.ico -fill '#FFFFFF' -stroke '#606060' -draw 'polygon 1,1 8,1 11,4 11,14 1,14' \
    -draw 'line 3,5 8,5' -draw 'line 3,8 8,8' \
    -fill '#20A020' -stroke none -draw 'rectangle 11,8 12,15' -draw 'rectangle 8,11 15,12'
icon add-folder.ico -fill '#F2C94C' -stroke '#9A7410' -draw 'polygon 0,4 5,4 6,5 13,5 13,13 0,13' \
    -fill '#FBE08A' -draw 'polygon 1,7 13,7 13,13 0,13' \
    -fill '#20A020' -stroke none -draw 'rectangle 11,8 12,15' -draw 'rectangle 8,11 15,12'
icon import-db.ico -fill '#7AA7D8' -stroke '#2F5F98' -draw 'rectangle 1,4 10,13' \
    -draw 'ellipse 5.5,13 4.5,1.5 0,180' -fill '#A9CBEF' -draw 'ellipse 5.5,4 4.5,1.5 0,360' \
    -fill '#E07000' -stroke none -draw 'polygon 11,1 14,1 14,8 15,8 12.5,11 10,8 11,8'
icon export-db.ico -fill '#7AA7D8' -stroke '#2F5F98' -draw 'rectangle 1,4 10,13' \
    -draw 'ellipse 5.5,13 4.5,1.5 0,180' -fill '#A9CBEF' -draw 'ellipse 5.5,4 4.5,1.5 0,360' \
    -fill '#20A020' -stroke none -draw 'polygon 11,11 14,11 14,4 15,4 12.5,1 10,4 11,4'
icon properties.ico -fill '#FFFFFF' -stroke '#606060' -draw 'rectangle 2,1 13,14' \
    -draw 'line 4,4 11,4' -draw 'line 4,7 11,7' -draw 'line 4,10 9,10' \
    -fill '#2F6FD0' -stroke none -draw 'circle 12,12 12,8.6' \
    -fill '#FFFFFF' -draw 'rectangle 11.5,11 12.5,14' -draw 'point 12,9'

# Playback toolbar: stop, pause, play, previous, next.
icon stop.ico -fill '#404850' -stroke '#202020' -draw 'rectangle 3,3 12,12'
icon pause.ico -fill '#404850' -stroke '#202020' -draw 'rectangle 3,2 6,13' -draw 'rectangle 9,2 12,13'
icon play.ico -fill '#2FA040' -stroke '#17602A' -draw 'polygon 4,1 13,7.5 4,14'
icon previous.ico -fill '#404850' -stroke '#202020' -draw 'rectangle 2,3 3,12' \
    -draw 'polygon 13,3 13,12 8,7.5' -draw 'polygon 9,3 9,12 4,7.5'
icon next.ico -fill '#404850' -stroke '#202020' -draw 'rectangle 12,3 13,12' \
    -draw 'polygon 2,3 2,12 7,7.5' -draw 'polygon 6,3 6,12 11,7.5'

# Play modes: single, single repeat, list, list repeat, random.
icon mode-single.ico -fill none -stroke '#2F5F98' -strokewidth 2 -draw 'line 1,8 10,8' \
    -fill '#2F5F98' -stroke none -draw 'polygon 9,4 13,8 9,12' -draw 'rectangle 14,3 15,13'
icon mode-single-repeat.ico -fill none -stroke '#2F5F98' -strokewidth 2 -draw 'arc 2,2 14,14 200,520' \
    -fill '#2F5F98' -stroke none -draw 'polygon 0,6 5,6 2.5,9' \
    -fill '#C03020' -draw 'rectangle 7,5 8,11' -draw 'point 6,6'
icon mode-list.ico -fill '#2F5F98' -stroke none -draw 'rectangle 1,2 9,3' -draw 'rectangle 1,7 9,8' \
    -draw 'rectangle 1,12 9,13' -draw 'rectangle 12,2 13,10' -draw 'polygon 10,10 15,10 12.5,14'
icon mode-list-repeat.ico -fill '#2F5F98' -stroke none -draw 'rectangle 1,2 7,3' -draw 'rectangle 1,7 7,8' \
    -draw 'rectangle 1,12 7,13' -fill none -stroke '#2F5F98' -strokewidth 2 \
    -draw 'arc 8,3 15,13 270,540' -fill '#2F5F98' -stroke none -draw 'polygon 8,1 12,3.5 8,6'
icon mode-random.ico -fill none -stroke '#2F5F98' -strokewidth 2 -draw 'line 1,3 5,3' \
    -draw 'line 5,3 10,12' -draw 'line 10,12 12,12' -draw 'line 1,12 5,12' -draw 'line 5,12 10,3' \
    -draw 'line 10,3 12,3' -fill '#2F5F98' -stroke none -draw 'polygon 12,0 15,3 12,6' \
    -draw 'polygon 12,9 15,12 12,15'

# Navigate and search toolbars: back, forward, search.
icon back.ico -fill '#3A8EDB' -stroke '#1B5A96' -draw 'circle 7.5,7.5 7.5,0.5' \
    -fill '#FFFFFF' -stroke none -draw 'polygon 3,7.5 7.5,3 7.5,6 12,6 12,9 7.5,9 7.5,12'
icon forward.ico -fill '#3A8EDB' -stroke '#1B5A96' -draw 'circle 7.5,7.5 7.5,0.5' \
    -fill '#FFFFFF' -stroke none -draw 'polygon 12,7.5 7.5,3 7.5,6 3,6 3,9 7.5,9 7.5,12'
icon search.ico -fill '#DDEEFF' -stroke '#404850' -strokewidth 2 -draw 'circle 6,6 6,2' \
    -stroke '#8A5A20' -strokewidth 3 -draw 'line 9.5,9.5 14,14'

# Status bar: the speaker of the mute pane.
icon speaker.ico -fill '#505860' -stroke '#303030' -draw 'polygon 1,5 4,5 8,1 8,14 4,10 1,10' \
    -fill none -stroke '#3A7AC0' -draw 'arc 5,4 11,11 -60,60' -draw 'arc 3,1 14,14 -60,60'

# The program icon: a spike of larkspur flowers on a stem, 16x16 and 32x32.
larkspur() {   # larkspur <size> <file>
    convert -size 32x32 xc:none \
        -fill none -stroke '#3C8A3C' -strokewidth 2 -draw 'line 16,30 16,6' \
        -fill '#7B68EE' -stroke '#4B3BA8' -strokewidth 1 \
        -draw 'circle 16,6 16,2' -draw 'circle 11,12 11,8' -draw 'circle 21,12 21,8' \
        -draw 'circle 11,19 11,15' -draw 'circle 21,19 21,15' -draw 'circle 16,16 16,12' \
        -fill '#FFFFFF' -stroke none -draw 'circle 16,16 16,14.5' \
        -fill '#5BA85B' -draw 'polygon 16,26 9,22 12,27' -draw 'polygon 16,26 23,22 20,27' \
        -resize "$1x$1" "$2"
}
larkspur 16 /tmp/larkspur16.png
larkspur 32 /tmp/larkspur32.png
convert /tmp/larkspur16.png /tmp/larkspur32.png "$out/larkspur.ico"
rm -f /tmp/larkspur16.png /tmp/larkspur32.png
