#!/bin/sh
# Through cinesheet-host: a picture that left the screen comes back. After times past the end,
# before the start and outside the node's range, the cached frame is shown again; a cache
# resolution changed at a standing time takes effect at the next refresh. Each texture is
# compared with the ffmpeg tool's decode of that frame (point sampled at Quarter).
set -eu
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 36 -c:v libx264 \
    -g 6 -keyint_min 6 -sc_threshold 0 -bf 2 -pix_fmt yuv420p "$work/clip.mp4"

"$host" -c "
loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/clip.mp4\" -startFrame 0;
currentTime 10; refresh; textureDump -node cineSheetShape1 -file \"$work/first.rgba\";
currentTime 90; refresh;
currentTime 10; refresh; textureDump -node cineSheetShape1 -file \"$work/after-end.rgba\";
currentTime -4; refresh;
currentTime 10; refresh; textureDump -node cineSheetShape1 -file \"$work/after-start.rgba\";
setAttr cineSheetShape1.endFrame 5; refresh;
setAttr cineSheetShape1.endFrame 0; refresh;
textureDump -node cineSheetShape1 -file \"$work/after-range.rgba\";
setAttr cineSheetShape1.cacheResolution 2; refresh;
textureDump -node cineSheetShape1 -file \"$work/quarter.rgba\";
" >"$work/out.txt"

ffmpeg -nostdin -v error -y -i "$work/clip.mp4" -vf "select=eq(n\,10)" -fps_mode passthrough \
    -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/expected.rgb"
for dump in first after-end after-start after-range; do
    ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 96x64 -i "$work/$dump.rgba" \
        -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
    cmp -s "$work/expected.rgb" "$work/got.rgb" || { echo "$dump: not frame 10"; exit 1; }
done
# Quarter: the top-left pixel of every 4 x 4 cell, alpha 255.
od -An -v -tu1 -w3 "$work/expected.rgb" |
    awk '{ x = (NR - 1) % 96; y = int((NR - 1) / 96) }
         x % 4 == 0 && y % 4 == 0 { print $1, $2, $3, 255 }' >"$work/expected-quarter.txt"
od -An -v -tu1 -w4 "$work/quarter.rgba" | awk '{ print $1, $2, $3, $4 }' >"$work/got-quarter.txt"
cmp -s "$work/expected-quarter.txt" "$work/got-quarter.txt" || { echo "quarter: not frame 10"; exit 1; }
finish
