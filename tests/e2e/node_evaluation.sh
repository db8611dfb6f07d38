#!/bin/sh
# What the node gives without anything being drawn, through cinesheet-host: the frame ratio of a
# file set in a session that never refreshes (a batch render's), read from the file's header;
# a change of the render resolution re-placing the plane at a standing frame, also in a scene made
# before the node had resolution inputs; and the keyframe interval, known
# only once the video has been looked through, reaching the node through the idle queue after
# the first refresh.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=144x108:r=24 -frames:v 24 -vf setsar=4/3 \
    -c:v libx264 -g 12 -bf 2 -pix_fmt yuv420p "$work/anamorphic.mp4" &&
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48:r=24 -frames:v 3 -start_number 1 \
        "$work/plate.%04d.png" || { echo "cannot make media"; exit 1; }

results() {
    grep '^// Result:' "$1" | sed -n "$2p"
}

# A batch session: nothing is drawn at all.
"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
cineSheet -camera shotCam;
setAttr -type \"string\" cineSheetShape1.file \"$work/anamorphic.mp4\";
getAttr cineSheetShape1.frameRatio;
getAttr cineSheetShape1.keyframeInterval;
setAttr -type \"string\" cineSheetShape1.file \"$work/plate.####.png\";
getAttr cineSheetShape1.frameRatio;
getAttr cineSheetShape1.keyframeInterval;
setAttr -type \"string\" cineSheetShape1.file \"$work/missing.mov\";
getAttr cineSheetShape1.frameRatio;" >"$work/batch.out" 2>"$work/batch.err" ||
    fail "batch session: $(cat "$work/batch.err")"
[ "$(results "$work/batch.out" 4)" = "// Result: 1.7777778 //" ] ||
    fail "the anamorphic clip's frame ratio is not 16 / 9 before any refresh"
[ "$(results "$work/batch.out" 5)" = "// Result: 0 //" ] ||
    fail "a video nothing has looked through has a keyframe interval"
[ "$(results "$work/batch.out" 6)" = "// Result: 1.3333333 //" ] ||
    fail "the sequence's frame ratio is not 4 / 3 before any refresh"
[ "$(results "$work/batch.out" 7)" = "// Result: 1 //" ] ||
    fail "an image sequence's keyframe interval is not 1"
[ "$(results "$work/batch.out" 8)" = "// Result: 1.3333333 //" ] ||
    fail "a missing file changed the frame ratio"

# The render resolution reaches the placement through the node's inputs. A scene saved before
# the node had them (no connections) gets them connected once it is opened, so a change of the
# render settings re-places its plane; a node whose inputs were disconnected and set by hand keeps
# its own resolution.
"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
cineSheet -camera shotCam -filePath \"$work/anamorphic.mp4\";
getAttr cineSheetShape1.cameraMatrix;
setAttr defaultResolution.width 3000; setAttr defaultResolution.height 1000;
getAttr cineSheetShape1.cameraMatrix;
cineSheet -camera shotCam -filePath \"$work/anamorphic.mp4\";
disconnectAttr defaultResolution.width cineSheetShape2.renderWidth;
disconnectAttr defaultResolution.height cineSheetShape2.renderHeight;
setAttr cineSheetShape2.renderWidth 3000; setAttr cineSheetShape2.renderHeight 1000;
setAttr defaultResolution.width 640; setAttr defaultResolution.height 480;
file -rename \"$work/old.ma\"; file -save;" >"$work/resolution.out" 2>"$work/resolution.err" ||
    fail "resolution session: $(cat "$work/resolution.err")"
grep -v 'cineSheetShape1.render' "$work/old.ma" >"$work/old-edited.ma"
mv "$work/old-edited.ma" "$work/old.ma"
"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\";
file -open \"$work/old.ma\";
getAttr cineSheetShape1.cameraMatrix;
setAttr defaultResolution.width 3000; setAttr defaultResolution.height 1000;
getAttr cineSheetShape1.cameraMatrix;
setAttr defaultResolution.width 640; setAttr defaultResolution.height 480;
getAttr cineSheetShape2.cameraMatrix;" >"$work/reopened.out" 2>"$work/reopened.err" ||
    fail "old scene session: $(cat "$work/reopened.err")"
first=$(results "$work/resolution.out" 4)
wide=$(results "$work/resolution.out" 5)
[ "$first" != "$wide" ] || fail "a new render resolution did not re-place the plane"
[ "$(results "$work/reopened.out" 3)" = "$first" ] ||
    fail "an old scene's plane is not placed by the render settings"
[ "$(results "$work/reopened.out" 4)" = "$wide" ] ||
    fail "a new render resolution did not re-place an old scene's plane"
[ "$(results "$work/reopened.out" 5)" = "$wide" ] ||
    fail "a node given its own resolution followed the render settings"

# The keyframe interval comes once the video is open, through the idle queue, not from the draw,
# as an input of the node's that is no edit: a saved scene stays unmodified through drawing and
# playing, and nothing of it is saved. Another file has no interval until it is looked through.
"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\";
cineSheet -filePath \"$work/anamorphic.mp4\";
getAttr cineSheetShape1.keyframeInterval;
file -rename \"$work/drawn.ma\"; file -save; file -q -modified;
currentTime 5; refresh;
getAttr cineSheetShape1.keyframeInterval;
playblast -startTime 1 -endTime 3 -width 32 -height 24 -filename \"$work/pb\";
flushIdleQueue;
file -q -modified;
setAttr -type \"string\" cineSheetShape1.file \"$work/other.mp4\";
getAttr cineSheetShape1.keyframeInterval;
setAttr -type \"string\" cineSheetShape1.file \"$work/anamorphic.mp4\";
getAttr cineSheetShape1.keyframeInterval;" >"$work/interval.out" 2>"$work/interval.err" ||
    fail "keyframe session: $(cat "$work/interval.err")"
[ "$(results "$work/interval.out" 3)" = "// Result: 0 //" ] ||
    fail "the keyframe interval is known before the video is opened"
[ "$(results "$work/interval.out" 6)" = "// Result: 0 //" ] || fail "the saved scene is modified"
[ "$(results "$work/interval.out" 8)" = "// Result: 12 //" ] ||
    fail "the keyframe interval did not reach the node after the refresh"
[ "$(results "$work/interval.out" 10)" = "// Result: 0 //" ] ||
    fail "drawing and playing modified the scene"
[ "$(results "$work/interval.out" 11)" = "// Result: 0 //" ] ||
    fail "a file not looked through has the former file's keyframe interval"
[ "$(results "$work/interval.out" 12)" = "// Result: 12 //" ] ||
    fail "the keyframe interval was lost going back to the file"
! grep -q "footageKeyframe" "$work/drawn.ma" || fail "the worker's facts were saved with the scene"

finish
