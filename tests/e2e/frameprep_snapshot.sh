#!/bin/sh
# An image sequence on a CineSheet made by the cineSheet command: the snapshot through the
# camera shows the frame of the current time upright, filling the render frame; the texture
# holds the image's pixels.
# Attached to another camera (cineSheet -edit -camera), the plane is seen through it as a plane
# made there, and undo puts it back; a plane whose camera is deleted keeps its placement, also
# in the saved scene, and says so once.
set -eu
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

# Frame 1: red, green / blue, yellow. Frame 2: the same quadrants turned by a half turn.
ffmpeg -nostdin -v error -y -filter_complex \
    "color=red:s=32x24[a];color=lime:s=32x24[b];color=blue:s=32x24[c];color=yellow:s=32x24[d];
     [a][b]hstack[t];[c][d]hstack[u];[t][u]vstack,format=rgba" \
    -frames:v 1 "$work/quad.0001.png"
ffmpeg -nostdin -v error -y -i "$work/quad.0001.png" -vf hflip,vflip "$work/quad.0002.png"

"$host" -c "
loadPlugin \"$CINESHEET_PLUGIN\";
setAttr defaultResolution.width 64; setAttr defaultResolution.height 48;
camera -n shotCam;
camera -n otherCam; setAttr otherCam.translateX 40; setAttr otherCam.rotateY 30;
setAttr otherCamShape.focalLength 50;
camera -n doomedCam; setAttr doomedCam.translateY 30; setAttr doomedCam.rotateX 10;
lookThru shotCam;
snapshot -file \"$work/empty.png\";
cineSheet -camera shotCam -filePath \"$work/quad.####.png\";
lookThru shotCam;
currentTime 1;
snapshot -file \"$work/frame1.png\";
textureDump -node cineSheetShape1 -file \"$work/frame1.rgba\";
getAttr cineSheetShape1.frameRatio;
getAttr cineSheetShape1.keyframeInterval;
currentTime 2;
snapshot -file \"$work/frame2.png\";
currentTime 1;
cineSheet -edit -camera otherCam cineSheet1;
snapshot -camera otherCam -file \"$work/moved.png\";
undo;
snapshot -camera shotCam -file \"$work/undone.png\";
redo;
snapshot -camera otherCam -file \"$work/redone.png\";
delete cineSheet1;
// The name is free again: the plane made there is cineSheet1 too.
cineSheet -camera otherCam -filePath \"$work/quad.####.png\";
snapshot -camera otherCam -file \"$work/made-there.png\";
cineSheet -camera doomedCam -filePath \"$work/quad.####.png\";
getAttr cineSheetShape2.cameraMatrix;
delete doomedCam;
getAttr cineSheetShape2.cameraMatrix;
currentTime 2; refresh; currentTime 1; refresh;
file -rename \"$work/lost.ma\"; file -save;
file -force -open \"$work/lost.ma\";
getAttr cineSheetShape2.cameraMatrix;
" >"$work/out.txt" 2>"$work/err.txt"

grep -q "^// Result: 1.3333" "$work/out.txt" || { echo "frameRatio is not 4/3"; cat "$work/out.txt"; exit 1; }
grep -q "^// Result: 1 //$" "$work/out.txt" || { echo "keyframeInterval is not 1"; cat "$work/out.txt"; exit 1; }

ffmpeg -nostdin -v error -i "$work/quad.0001.png" -f rawvideo -pix_fmt rgba "$work/expected.rgba"
cmp -s "$work/expected.rgba" "$work/frame1.rgba" || { echo "texture differs from the image"; exit 1; }

# RGB of pixel (x, y) of a 64 x 48 snapshot, top row first.
pixel() {
    ffmpeg -nostdin -v error -i "$1" -f rawvideo -pix_fmt rgb24 - |
        od -An -tu1 -v -j $(( ($3 * 64 + $2) * 3 )) -N3 | tr -s ' ' | sed 's/^ //'
}
check() {
    got=$(pixel "$work/$1" "$2" "$3")
    [ "$got" = "$4" ] || { echo "$1: pixel $2,$3 is '$got', expected '$4'"; exit 1; }
}
check frame1.png 8 6 "255 0 0"
check frame1.png 56 6 "0 255 0"
check frame1.png 8 42 "0 0 255"
check frame1.png 56 42 "255 255 0"
check frame2.png 8 6 "255 255 0"
check frame2.png 56 42 "255 0 0"

cmp -s "$work/empty.png" "$work/moved.png" && fail "nothing is seen through the camera attached"
cmp -s "$work/moved.png" "$work/made-there.png" ||
    fail "the plane attached to otherCam is not seen as a plane made there"
cmp -s "$work/frame1.png" "$work/undone.png" || fail "undo did not put the plane back"
cmp -s "$work/moved.png" "$work/redone.png" || fail "redo did not attach the plane again"
[ "$(grep -c "^// Result: cineSheet1 cineSheetShape1 1 //$" "$work/out.txt")" -eq 2 ] ||
    fail "a sequence's start is not its first file's number in the result"
placements=$(grep -E '^// Result: ([^ ]+ ){16}//$' "$work/out.txt")
[ "$(echo "$placements" | sort -u | wc -l)" -eq 1 ] && [ "$(echo "$placements" | wc -l)" -eq 3 ] ||
    fail "deleting the camera moved the plane, or the saved scene did: $placements"
echo "$placements" | grep -q ' 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 //' && fail "the plane is at the origin"
[ "$(grep -c 'cineSheetShape2: its camera doomedCam was deleted' "$work/err.txt")" -eq 1 ] ||
    fail "the lost camera is not warned about once: $(cat "$work/err.txt")"
finish
