#!/bin/sh
# A video cut short whose index, at the start of the file, declares frames it no longer holds:
# played through, the node warns once, with the first frame it could not get, and shows the
# placeholder card at the frames past the cut, the frames before it as the ffmpeg tool decodes
# them. A whole file played under a budget too small for its look-ahead never warns so.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"

# No B-frames: the first frame the cut takes is then the count of frames the tool gets out.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=160x90:r=24 -frames:v 48 -c:v libx264 -g 12 \
    -bf 0 -pix_fmt yuv420p -movflags +faststart "$work/whole.mp4" || fail "cannot make whole.mp4"
size=$(wc -c <"$work/whole.mp4")
head -c $((size * 6 / 10)) "$work/whole.mp4" >"$work/cut.mp4"
kept=$(ffprobe -v quiet -count_frames -select_streams v -show_entries stream=nb_read_frames \
    -of csv=p=0 "$work/cut.mp4")
[ "$kept" -gt 12 ] && [ "$kept" -lt 36 ] || fail "the cut file keeps $kept frames"

play="for (\$f = 0; \$f < 48; \$f++) { currentTime \$f; refresh; }"
"$host" -c "loadPlugin \"$plugin\"; camera -n shotCam;
    cineSheet -camera shotCam -filePath \"$work/cut.mp4\" -startFrame 0;
    $play
    currentTime 3; refresh;
    textureDump -node cineSheetShape1 -file \"$work/before.rgba\";
    currentTime 40; refresh;
    textureDump -node cineSheetShape1 -file \"$work/past.rgba\";
    $play" >"$work/out" 2>"$work/err" || fail "playing the cut file: $(cat "$work/err")"
warning="// Warning: cineSheetShape1: cannot show \"$work/cut.mp4\": file ended early at frame $kept //"
[ "$(grep -cxF "$warning" "$work/err")" -eq 1 ] ||
    fail "not once \"$warning\": $(grep Warning "$work/err")"
[ "$(grep -c Warning "$work/err")" -eq 1 ] || fail "other warnings: $(grep Warning "$work/err")"

ffmpeg -nostdin -v error -y -i "$work/cut.mp4" -vf "select=eq(n\,3)" -fps_mode passthrough \
    -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/tool3.rgb"
ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 160x90 -i "$work/before.rgba" \
    -pix_fmt rgb24 -f rawvideo "$work/got3.rgb"
cmp -s "$work/tool3.rgb" "$work/got3.rgb" || fail "frame 3 is not the tool's"
# The card, in the clip's shape: 256 × 144, dark grey away from its border and cross.
[ "$(wc -c <"$work/past.rgba")" -eq $((256 * 144 * 4)) ] || fail "frame 40 is not the card"
texel=$(od -An -tu1 -v -j $(((20 * 256 + 128) * 4)) -N4 "$work/past.rgba" | tr -s ' ')
[ "$texel" = " 40 40 40 255" ] || fail "frame 40 is not the grey card: $texel"

CINESHEET_CACHE_MB=1 "$host" -c "loadPlugin \"$plugin\"; camera -n shotCam;
    cineSheet -camera shotCam -filePath \"$work/whole.mp4\";
    setAttr cineSheetShape1.cacheFrames 48; $play" >"$work/out" 2>"$work/err" ||
    fail "playing under a small budget: $(cat "$work/err")"
grep -q "ended early" "$work/err" && fail "a budget shortfall read as an early end"

finish
