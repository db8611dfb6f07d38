#!/bin/sh
# A plate scene referenced into a shot scene, as saved today and as saved before the node had its
# resolution inputs: the shot plays the plate's frames exactly as the ffmpeg tool decodes them,
# saves, and opens again with the artist's edit as the only reference edit and the artist's
# colour space kept, and the same picture.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"
shape="plate:cineSheetShape1"
artist_edit="setAttr \"$shape.colorSpace\" 2"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 36 -c:v libx264 \
    -g 6 -keyint_min 6 -sc_threshold 0 -pix_fmt yuv420p "$work/clip.mov"
for frame in 13 30; do
    ffmpeg -nostdin -v error -y -i "$work/clip.mov" -vf "select=eq(n\,$frame)" \
        -fps_mode passthrough -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo \
        "$work/expected.$frame.rgb"
done
"$host" -c "loadPlugin \"$plugin\"; camera -n plateCam;
    cineSheet -camera plateCam -filePath \"$work/clip.mov\" -startFrame 0;
    file -rename \"$work/plate.ma\"; file -save" >/dev/null 2>"$work/err" ||
    fail "saving the plate scene: $(cat "$work/err")"
grep -q 'connectAttr "defaultResolution.width" "cineSheetShape1.renderWidth";' "$work/plate.ma" ||
    fail "the plate scene has no resolution connections"
sed '/defaultResolution/d' "$work/plate.ma" >"$work/old plate.ma"

# pictures SESSION: the frames dumped in the session match ffmpeg's.
pictures() {
    for frame in 13 30; do
        ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 96x64 \
            -i "$work/$1.$frame.rgba" -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
        cmp -s "$work/expected.$frame.rgb" "$work/got.rgb" || fail "$1: frame $frame differs"
    done
}
play() {
    for frame in 13 30; do
        echo "currentTime $frame; refresh; textureDump -node $shape -file \"$work/$1.$frame.rgba\";"
    done
}
edits='string $edits[] = `referenceQuery -editStrings plateRN`;
    for ($edit in $edits) print ($edit + "\n");'

for plate in plate "old plate"; do
    "$host" -c "loadPlugin \"$plugin\"; file -reference -namespace plate \"$work/$plate.ma\";
        $(play "$plate referenced") setAttr $shape.colorSpace 2;
        file -rename \"$work/shot.ma\"; file -save; $edits" >"$work/out" 2>"$work/err" ||
        fail "$plate: referencing and saving: $(cat "$work/err")"
    [ "$(grep -v '^// Result' "$work/out")" = "$artist_edit" ] ||
        fail "$plate: edits after the save: $(grep -v '^// Result' "$work/out")"
    pictures "$plate referenced"

    "$host" -c "loadPlugin \"$plugin\"; file -open \"$work/shot.ma\"; $edits
        print (\`getAttr $shape.colorSpace\` + \"\\n\"); $(play "$plate reopened")
        file -save; $edits" >"$work/out" 2>"$work/err" ||
        fail "$plate: opening the shot: $(cat "$work/err")"
    [ "$(grep -v '^// Result' "$work/out")" = "$artist_edit
2
$artist_edit" ] || fail "$plate: after the open: $(grep -v '^// Result' "$work/out")"
    pictures "$plate reopened"
    grep -q "plate:" "$work/plate.ma" "$work/old plate.ma" && fail "$plate: the plate scene changed"
done
finish
