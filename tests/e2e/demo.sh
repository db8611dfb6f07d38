#!/bin/sh
# The demo end to end on its own clip, on an image sequence and on one image: the view through
# the shot camera is the clip's frame itself (upright, filling the picture, the frame of that
# number), the side view shows a picture that changes with time, and the contact sheet and
# summary are written.
set -eu
: "${CINESHEET_HOST:?}" "${CINESHEET_PLUGIN:?}"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

size() {
    ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$1"
}
# Peak signal-to-noise ratio of two pictures of one size, in dB ("inf" when identical).
psnr() {
    ffmpeg -nostdin -i "$1" -i "$2" -lavfi psnr -f null - 2>&1 | sed -n 's/.*average:\([0-9.inf]*\).*/\1/p'
}
similar() { # psnr minimum
    [ "$1" = inf ] || awk -v value="$1" -v minimum="$2" 'BEGIN { exit !(value >= minimum) }'
}

DEMO_SKIP_BUILD=1 DEMO_OUT="$work/clip" "$root/scripts/demo" >"$work/clip.log" 2>&1 ||
    { cat "$work/clip.log"; fail "the demo failed"; }
out=$work/clip

for view in shotCam persp; do
    count=$(find "$out/$view" -name "$view.00[0-4][0-9].png" | wc -l)
    [ "$count" -eq 48 ] || fail "$count $view pictures, expected 48"
    [ "$(size "$out/$view/$view.0047.png")" = "640,360" ] || fail "$view pictures are not 640x360"
done
[ "$(size "$out/contact-sheet.png")" = "1280,360" ] || fail "the contact sheet is not 1280x360"

for frame in 0 12 47; do
    ffmpeg -nostdin -v error -y -i "$out/work/clip.mp4" -vf "select=eq(n\,$frame)" \
        -fps_mode passthrough -frames:v 1 "$work/expected.png"
    shot=$out/shotCam/shotCam.$(printf '%04d' "$frame").png
    similar "$(psnr "$shot" "$work/expected.png")" 40 || fail "shotCam $frame is not clip frame $frame"
done
similar "$(psnr "$out/shotCam/shotCam.0013.png" "$work/expected.png")" 40 &&
    fail "shotCam 13 passes for clip frame 47: the comparison cannot tell frames apart"

side=$(psnr "$out/persp/persp.0000.png" "$out/persp/persp.0047.png")
similar "$side" 40 && fail "the side view does not change from frame 0 to 47"
similar "$(psnr "$out/persp/persp.0000.png" "$out/shotCam/shotCam.0000.png")" 20 &&
    fail "the side view looks like the shot view"

grep -q 'frames shown: *144 ' "$out/summary.txt" || fail "summary: $(cat "$out/summary.txt")"
grep -q 'frames decoded: *48 ' "$out/summary.txt" || fail "summary: $(cat "$out/summary.txt")"

# The user's own media: a numbered image sequence, frames 7 to 11, 160x120.
mkdir "$work/sequence"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=160x120:r=24 -frames:v 5 -start_number 7 \
    "$work/sequence/shot.%04d.png"
DEMO_SKIP_BUILD=1 DEMO_OUT="$work/user" "$root/scripts/demo" --file "$work/sequence/shot.####.png" \
    >"$work/user.log" 2>&1 || { cat "$work/user.log"; fail "the demo failed on a sequence"; }
for frame in 7 9 11; do
    similar "$(psnr "$work/user/shotCam/shotCam.00$(printf '%02d' "$frame").png" \
        "$work/sequence/shot.00$(printf '%02d' "$frame").png")" 40 ||
        fail "shotCam $frame is not image $frame of the sequence"
done
[ "$(size "$work/user/contact-sheet.png")" = "1280,480" ] || fail "the sequence's contact sheet is not 1280x480"
grep -q 'frames 7 to 11' "$work/user/summary.txt" || fail "summary: $(cat "$work/user/summary.txt")"

# One image whose name holds a number but no '#': the plug-in shows that image at every frame.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=160x120 -frames:v 1 "$work/plate.1001.png"
DEMO_SKIP_BUILD=1 DEMO_OUT="$work/image" DEMO_FRAMES=4 "$root/scripts/demo" \
    --file "$work/plate.1001.png" >"$work/image.log" 2>&1 ||
    { cat "$work/image.log"; fail "the demo failed on one image"; }
for frame in 1 4; do
    similar "$(psnr "$work/image/shotCam/shotCam.000$frame.png" "$work/plate.1001.png")" 40 ||
        fail "shotCam $frame is not the image"
done
grep -q 'one image, 160x120), frames 1 to 4' "$work/image/summary.txt" ||
    fail "summary: $(cat "$work/image/summary.txt")"
echo "demo ok"
