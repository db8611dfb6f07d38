#!/bin/sh
# An image sequence played as a user plays it, through cinesheet-host and the plug-in: forward
# twice over a missing frame, then backward and scrubbing. Every frame's texture is the ffmpeg
# tool's decode of its file, and the missing frame holds the one before it, crossed in red.
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
"$host" --keep-going -c "loadPlugin \"$CINESHEET_PLUGIN\"; camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/plate.####.png\"; currentTime 6; refresh;
currentTime 7; refresh; textureDump -node cineSheetShape1 -file \"$work/gap.rgba\";" \
    >"$work/gap.txt" 2>&1
# RGBA of pixel (x, y) of a 96-pixel-wide dump.
pixel() { od -An -tu1 -v -j $((($3 * 96 + $2) * 4)) -N4 "$1" | tr -s ' ' | sed 's/^ //'; }
ffmpeg -nostdin -v error -y -i "$work/plate.0006.png" -f rawvideo -pix_fmt rgba "$work/six.rgba"
[ -e "$work/gap.rgba" ] && [ "$(pixel "$work/gap.rgba" 48 32)" = "255 0 0 255" ] &&
    [ "$(pixel "$work/gap.rgba" 48 2)" = "$(pixel "$work/six.rgba" 48 2)" ] ||
    fail "the missing frame does not hold frame 6 crossed in red"
for entry in $shown; do
    frame=${entry%%:*}
    dump=${entry#*:}
    ffmpeg -nostdin -v error -y -i "$work/plate.$(printf %04d "$frame").png" -f rawvideo \
        -pix_fmt rgba "$work/expected.rgba"
    cmp -s "$work/expected.rgba" "$work/$dump.rgba" || fail "$dump: not the file of frame $frame"
done
finish
