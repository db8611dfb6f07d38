#!/bin/sh
# A numbered PNG sequence played frame by frame through cinesheet-host, twice: every frame shown
# is the tool's decode of its own image, opaque and with alpha alike, and the second pass over
# the same frames shows the very same bytes as the first.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

frames=8
make_sequence() {
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=s=1920x1080:r=24" -frames:v "$frames" \
        -start_number 1 "$@"
}
make_sequence "$work/plate.%04d.png" &&
    make_sequence -vf "format=rgba,geq=r='r(X,Y)':g='g(X,Y)':b='b(X,Y)':a='X/8+N*16'" \
        "$work/matte.%04d.png" || { echo "cannot make media"; exit 1; }

play="loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/plate.####.png\";
cineSheet -camera shotCam -filePath \"$work/matte.####.png\";"
for pass in 1 2; do
    frame=1
    while [ "$frame" -le "$frames" ]; do
        play="$play
currentTime $frame; refresh;
textureDump -node cineSheetShape1 -file \"$work/plate.$pass.$frame.rgba\";
textureDump -node cineSheetShape2 -file \"$work/matte.$pass.$frame.rgba\";"
        frame=$((frame + 1))
    done
done
"$host" -c "$play" >"$work/play.out" 2>"$work/play.err" || fail "playing: $(cat "$work/play.err")"

frame=1
while [ "$frame" -le "$frames" ]; do
    number=$(printf %04d "$frame")
    for sequence in plate matte; do
        ffmpeg -nostdin -v error -y -i "$work/$sequence.$number.png" -pix_fmt rgba -f rawvideo \
            "$work/expected.rgba" || fail "$sequence $frame: the tool cannot decode the image"
        cmp -s "$work/expected.rgba" "$work/$sequence.1.$frame.rgba" ||
            fail "$sequence frame $frame differs from its image"
        cmp -s "$work/$sequence.1.$frame.rgba" "$work/$sequence.2.$frame.rgba" ||
            fail "$sequence frame $frame shows other bytes on the second pass"
    done
    frame=$((frame + 1))
done
finish
