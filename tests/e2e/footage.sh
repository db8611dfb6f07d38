#!/bin/sh
# Footage as it comes from phones, camcorders and editorial, through cinesheet-host: a phone clip
# whose display matrix asks for a quarter turn is shown upright exactly as the ffmpeg tool shows
# it; an anamorphic camcorder clip (.MTS) takes the plane shape, and so the placement, of its
# square-pixel equivalent; a transport stream (.ts) is a video; a .MOV and a numbered PNG
# sequence show what they always showed; and a saved scene shows all the same when opened again.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

encode() {
    size=$1
    shift
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=s=$size:r=24" -frames:v 24 "$@"
}
encode 96x60 -c:v libx264 -g 6 -bf 2 "$work/encoded.mp4" &&
    ffmpeg -nostdin -v error -y -i "$work/encoded.mp4" -c copy -metadata:s:v:0 rotate=90 \
        "$work/phone.mp4" &&
    encode 96x72 -vf setsar=4/3 -c:v libx264 -g 6 "$work/camcorder.MTS" &&
    encode 128x72 -c:v libx264 -g 6 "$work/square.mp4" &&
    encode 80x48 -c:v mpeg2video -g 6 -bf 2 "$work/edit.ts" &&
    encode 96x64 -c:v libx264 -g 6 -bf 2 -pix_fmt yuv420p "$work/old.MOV" &&
    encode 64x48 -start_number 0 "$work/plate.%04d.png" || { echo "cannot make media"; exit 1; }

# The frame of the clip as the tool shows it, against the dumped texture (RGBA) of that size.
same_as_tool() {
    ffmpeg -nostdin -v error -y -i "$1" -vf "select=eq(n\,$2)" -fps_mode passthrough -frames:v 1 \
        -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/expected.rgb" &&
        ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s "$4" -i "$3" -pix_fmt rgb24 \
            -f rawvideo "$work/got.rgb" &&
        cmp -s "$work/expected.rgb" "$work/got.rgb"
}

show="currentTime 13; refresh;
textureDump -node cineSheetShape1 -file \"$work/phone.rgba\";
textureDump -node cineSheetShape2 -file \"$work/camcorder.rgba\";
textureDump -node cineSheetShape4 -file \"$work/edit.rgba\";
textureDump -node cineSheetShape5 -file \"$work/old.rgba\";
textureDump -node cineSheetShape6 -file \"$work/plate.rgba\";
getAttr cineSheetShape1.frameRatio; getAttr cineSheetShape2.frameRatio;
getAttr cineSheetShape5.frameRatio;
getAttr cineSheetShape4.keyframeInterval;
getAttr cineSheetShape2.cameraMatrix; getAttr cineSheetShape3.cameraMatrix;"

"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
setAttr defaultResolution.width 640; setAttr defaultResolution.height 480;
cineSheet -camera shotCam -filePath \"$work/phone.mp4\" -startFrame 0;
cineSheet -camera shotCam -filePath \"$work/camcorder.MTS\" -startFrame 0;
cineSheet -camera shotCam -filePath \"$work/square.mp4\" -startFrame 0;
cineSheet -camera shotCam -filePath \"$work/edit.ts\" -startFrame 0;
cineSheet -camera shotCam -filePath \"$work/old.MOV\" -startFrame 0;
cineSheet -camera shotCam -filePath \"$work/plate.####.png\";
$show
file -rename \"$work/footage.ma\"; file -save;" >"$work/first.out" 2>"$work/first.err" ||
    fail "first run: $(cat "$work/first.err")"

check() {
    results=$(grep '^// Result:' "$1")
    echo "$results" | grep -qx "// Result: 0.625 //" || fail "$2: the phone clip's frame ratio is not 60 / 96"
    echo "$results" | grep -qx "// Result: 1.7777778 //" || fail "$2: the camcorder clip's frame ratio is not 16 / 9"
    echo "$results" | grep -qx "// Result: 6 //" || fail "$2: the .ts clip has no keyframe interval"
    matrices=$(echo "$results" | grep -E '^// Result: (-?[0-9.e+-]+ ){15}-?[0-9.e+-]+ //$')
    [ "$(echo "$matrices" | wc -l)" -eq 2 ] || fail "$2: no camera matrices"
    [ "$(echo "$matrices" | sort -u | wc -l)" -eq 1 ] ||
        fail "$2: the anamorphic plane is not placed like its square-pixel equivalent"
    same_as_tool "$work/phone.mp4" 13 "$work/phone.rgba" 60x96 || fail "$2: phone frame 13 differs"
    same_as_tool "$work/camcorder.MTS" 13 "$work/camcorder.rgba" 96x72 || fail "$2: camcorder frame 13 differs"
    same_as_tool "$work/edit.ts" 13 "$work/edit.rgba" 80x48 || fail "$2: .ts frame 13 differs"
    echo "$results" | grep -qx "// Result: 1.5 //" || fail "$2: the .MOV clip's frame ratio is not 1.5"
    same_as_tool "$work/old.MOV" 13 "$work/old.rgba" 96x64 || fail "$2: .MOV frame 13 differs"
    same_as_tool "$work/plate.0013.png" 0 "$work/plate.rgba" 64x48 || fail "$2: plate 13 differs"
}
check "$work/first.out" "first run"

# A fresh program opens the saved scene: the same pictures and shapes.
rm -f "$work"/*.rgba
"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\"; file -f -open \"$work/footage.ma\"; $show" \
    >"$work/second.out" 2>"$work/second.err" || fail "reopened scene: $(cat "$work/second.err")"
check "$work/second.out" "reopened scene"
finish
