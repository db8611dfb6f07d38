#!/bin/sh
# The test plane seen through a camera: the snapshot shows its picture upright, filling the
# frame, and textureDump writes exactly width x height x 4 bytes.
set -eu
: "${CINESHEET_HOST:?}" "${CINESHEET_TEST_PLUGIN_DIR:?}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$CINESHEET_HOST" -c "
loadPlugin \"$CINESHEET_TEST_PLUGIN_DIR/libtestplane.so\";
setAttr defaultResolution.width 320; setAttr defaultResolution.height 240;
camera -n shotCam; setAttr shotCamShape.filmFit 0;
createNode transform -n plane; createNode testPlane -n planeShape -p plane;
setAttr plane.translateZ -10;
setAttr plane.scaleX 4.572; setAttr plane.scaleY 3.429;
lookThru shotCam;
snapshot -width 64 -height 48 -file \"$work/snap.png\";
textureDump -node planeShape -file \"$work/texture.rgba\";
" >"$work/out.txt"

grep -q "8 6" "$work/out.txt" || { echo "textureDump did not return 8 6"; cat "$work/out.txt"; exit 1; }
size=$(wc -c <"$work/texture.rgba")
[ "$size" -eq 192 ] || { echo "texture dump has $size bytes, not 192"; exit 1; }

# RGB of pixel (x, y) of the snapshot, top row first.
pixel() {
    ffmpeg -v error -i "$work/snap.png" -f rawvideo -pix_fmt rgb24 - |
        od -An -tu1 -v -j $(( ($2 * 64 + $1) * 3 )) -N3 | tr -s ' ' | sed 's/^ //'
}
check() {
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] || { echo "pixel $1,$2 is '$got', expected '$3'"; exit 1; }
}
check 0 0 "255 0 0"
check 63 0 "0 255 0"
check 0 47 "0 0 255"
check 63 47 "255 255 0"
check 10 10 "255 0 0"
check 53 37 "255 255 0"
echo "viewport snapshot ok"
