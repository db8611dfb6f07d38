#!/bin/sh
# A video on a CineSheet made by the cineSheet command: at each time the texture holds the
# video frame the clip's placement puts there exactly as the ffmpeg tool decodes it (picture 0 at
# the -startFrame asked for, else at the playback range's start, which the result ends with; an
# edit of the start is undone), the node reports the frame ratio and the keyframe interval, and
# the command the clip's frame count, rate and start timecode; what the node learns of the video
# while drawing leaves a saved scene unmodified.
set -eu
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 36 -c:v libx264 \
    -g 6 -keyint_min 6 -sc_threshold 0 -bf 2 -pix_fmt yuv420p -timecode 01:00:41:12 "$work/clip.mov"

"$host" -c "
loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/clip.mov\" -startFrame 0;
cineSheet -camera shotCam -filePath \"$work/clip.mov\" -startFrame 1001;
playbackOptions -min 101;
cineSheet -camera shotCam -filePath \"$work/clip.mov\";
cineSheet -edit -startFrame 500 cineSheet3;
cineSheet -query -startFrame cineSheet3;
undo;
cineSheet -query -startFrame cineSheet3;
file -rename \"$work/clip.ma\"; file -save;
currentTime 0;  refresh; textureDump -node cineSheetShape1 -file \"$work/t1.0.rgba\";
currentTime 13; refresh; textureDump -node cineSheetShape1 -file \"$work/t1.13.rgba\";
currentTime 35; refresh; textureDump -node cineSheetShape1 -file \"$work/t1.35.rgba\";
currentTime 7;  refresh; textureDump -node cineSheetShape1 -file \"$work/t1.7.rgba\";
currentTime 1001; refresh; textureDump -node cineSheetShape2 -file \"$work/t2.0.rgba\";
currentTime 1014; refresh; textureDump -node cineSheetShape2 -file \"$work/t2.13.rgba\";
currentTime 101; refresh; textureDump -node cineSheetShape3 -file \"$work/t3.0.rgba\";
getAttr cineSheetShape1.frameRatio;
getAttr cineSheetShape1.keyframeInterval;
print (\"clip: \" + \`cineSheet -q -frameCount cineSheet1\` + \" \" + \`cineSheet -q -frameRate cineSheet1\`
    + \" \" + \`cineSheet -q -startTimecode cineSheetShape1\` + \"\\n\");
flushIdleQueue; file -q -modified;
" >"$work/out.txt"

grep -q "^// Result: 1.5 //$" "$work/out.txt" || { echo "frameRatio is not 1.5"; cat "$work/out.txt"; exit 1; }
grep -q "^// Result: 6 //$" "$work/out.txt" || { echo "keyframeInterval is not 6"; cat "$work/out.txt"; exit 1; }
grep -q "^clip: 36 24 01:00:41:12$" "$work/out.txt" ||
    fail "the clip's facts: $(grep '^clip:' "$work/out.txt")"
grep -q "^// Result: cineSheet2 cineSheetShape2 1001 //$" "$work/out.txt" ||
    fail "the result does not end with the start frame asked for"
grep -q "^// Result: cineSheet3 cineSheetShape3 101 //$" "$work/out.txt" ||
    fail "the result does not end with the playback range's start"
[ "$(grep -c '^// Result: 500 //$' "$work/out.txt")" -eq 2 ] || fail "the edited start is not 500"
grep -q "^// Result: 101 //$" "$work/out.txt" || fail "undo did not bring the start back to 101"
[ "$(tail -n 1 "$work/out.txt")" = "// Result: 0 //" ] || { echo "the scene is modified"; cat "$work/out.txt"; exit 1; }

# Node, then the video frame it shows at the time its texture was dumped.
for shown in 1.0 1.13 1.35 1.7 2.0 2.13 3.0; do
    frame=${shown#*.}
    ffmpeg -nostdin -v error -y -i "$work/clip.mov" -vf "select=eq(n\,$frame)" -fps_mode passthrough \
        -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/expected.rgb"
    ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 96x64 -i "$work/t$shown.rgba" \
        -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
    cmp -s "$work/expected.rgb" "$work/got.rgb" || fail "node ${shown%%.*}: frame $frame differs"
done
finish
