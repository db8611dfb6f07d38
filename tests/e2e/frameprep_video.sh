#!/bin/sh
# A video on a CineSheet made by the cineSheet command: at each time the texture holds the
# video frame of that number exactly as the ffmpeg tool decodes it, and the node reports the
# frame ratio and the keyframe interval; what the node learns of the video while drawing leaves a
# saved scene unmodified.
set -eu
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 36 -c:v libx264 \
    -g 6 -keyint_min 6 -sc_threshold 0 -bf 2 -pix_fmt yuv420p "$work/clip.mov"

"$host" -c "
loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/clip.mov\";
file -rename \"$work/clip.ma\"; file -save;
currentTime 0;  refresh; textureDump -node cineSheetShape1 -file \"$work/t0.rgba\";
currentTime 13; refresh; textureDump -node cineSheetShape1 -file \"$work/t13.rgba\";
currentTime 35; refresh; textureDump -node cineSheetShape1 -file \"$work/t35.rgba\";
currentTime 7;  refresh; textureDump -node cineSheetShape1 -file \"$work/t7.rgba\";
getAttr cineSheetShape1.frameRatio;
getAttr cineSheetShape1.keyframeInterval;
flushIdleQueue; file -q -modified;
" >"$work/out.txt"

grep -q "^// Result: 1.5 //$" "$work/out.txt" || { echo "frameRatio is not 1.5"; cat "$work/out.txt"; exit 1; }
grep -q "^// Result: 6 //$" "$work/out.txt" || { echo "keyframeInterval is not 6"; cat "$work/out.txt"; exit 1; }
[ "$(tail -n 1 "$work/out.txt")" = "// Result: 0 //" ] || { echo "the scene is modified"; cat "$work/out.txt"; exit 1; }

for frame in 0 13 35 7; do
    ffmpeg -nostdin -v error -y -i "$work/clip.mov" -vf "select=eq(n\,$frame)" -fps_mode passthrough \
        -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/expected.rgb"
    ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 96x64 -i "$work/t$frame.rgba" \
        -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
    cmp -s "$work/expected.rgb" "$work/got.rgb" || { echo "frame $frame differs"; exit 1; }
done
finish
