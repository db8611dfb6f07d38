#!/bin/sh
# An image sequence played as a user plays it, through cinesheet-host and the plug-in: forward
# twice over a missing frame, then backward and scrubbing. Every frame's texture is the ffmpeg
# tool's decode of its file, and the missing frame shows the placeholder card.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 12 -vf format=rgba \
    -start_number 1 "$work/plate.%04d.png" || { echo "cannot make media"; exit 1; }
rm "$work/plate.0007.png"

script="loadPlugin \"$CINESHEET_PLUGIN\"; camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/plate.####.png\";"
shown=""
show() {
    script="$script currentTime $1; refresh;
textureDump -node cineSheetShape1 -file \"$work/$2.rgba\";"
    shown="$shown $1:$2"
}
for pass in a b; do
    for frame in 1 2 3 4 5 6 8 9 10 11 12; do show $frame "$pass$frame"; done
done
for frame in 12 10 9 3 11 1 5; do show $frame "c$frame"; done
"$host" -c "$script" >"$work/out.txt" 2>"$work/err.txt" || fail "host run: $(cat "$work/err.txt")"
# The card, in the sequence's shape: its corner is its red border.
"$host" --keep-going -c "loadPlugin \"$CINESHEET_PLUGIN\"; camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/plate.####.png\"; currentTime 6; refresh;
currentTime 7; refresh; textureDump -node cineSheetShape1 -file \"$work/gap.rgba\";" \
    >"$work/gap.txt" 2>&1
[ "$(od -An -tu1 -N4 "$work/gap.rgba" 2>/dev/null | tr -s ' ')" = " 200 32 32 255" ] ||
    fail "the missing frame does not show the card"
for entry in $shown; do
    frame=${entry%%:*}
    dump=${entry#*:}
    ffmpeg -nostdin -v error -y -i "$work/plate.$(printf %04d "$frame").png" -f rawvideo \
        -pix_fmt rgba "$work/expected.rgba"
    cmp -s "$work/expected.rgba" "$work/$dump.rgba" || fail "$dump: not the file of frame $frame"
done
finish
