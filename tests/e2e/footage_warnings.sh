#!/bin/sh
# Footage that cannot be shown, as a new user meets it: each cause gives one warning naming the
# node and the file, the plane shows the placeholder card where the picture would be, and none
# of FFmpeg's own lines reaches the terminal.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

mkdir "$work/plates"
printf 'not a picture\n' >"$work/notes.txt"
ffmpeg -nostdin -v error -y -f lavfi -i sine=duration=1 "$work/dialogue.wav" &&
    ffmpeg -nostdin -v error -y -f lavfi -i sine=duration=1 -c:a aac "$work/audio.mov" &&
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48:r=24 -frames:v 24 -c:v mpeg4 \
        "$work/whole.mov" || fail "making the media"
head -c "$(($(wc -c <"$work/whole.mov") / 2))" "$work/whole.mov" >"$work/cut.mov"

show() {
    printf 'setAttr -type "string" cineSheetShape1.file "%s"; refresh; currentTime 2; refresh;
currentTime 1; refresh;\n' "$1"
}
"$host" -c "
loadPlugin \"$CINESHEET_PLUGIN\";
setAttr defaultResolution.width 64; setAttr defaultResolution.height 48;
camera -n shotCam; lookThru shotCam;
snapshot -file \"$work/empty.png\";
cineSheet -camera shotCam -filePath \"$work/footage/shot.mov\";
refresh; refresh;
snapshot -file \"$work/card.png\";
$(show "$work/plates")
$(show "$work/notes.txt")
$(show "$work/dialogue.wav")
$(show "$work/audio.mov")
$(show "$work/cut.mov")
$(show "$work/plate.####.exr")
$(show "")
" >"$work/out" 2>"$work/err" || fail "the session failed: $(cat "$work/err")"

once() {
    count=$(grep -cxF "// Warning: cineSheetShape1: cannot show \"$1\": $2 //" "$work/err")
    [ "$count" -eq 1 ] || fail "\"$1\": $2: warned $count times"
}
once "$work/footage/shot.mov" "no such file"
once "$work/plates" "is a folder"
once "$work/notes.txt" "not a video or image FFmpeg can read"
once "$work/dialogue.wav" "not a video or image FFmpeg can read"
once "$work/audio.mov" "has no video stream"
once "$work/cut.mov" "not a video or image FFmpeg can read (moov atom not found)"
once "$work/plate.####.exr" "no frames match plate.####.exr"
once "" "path is empty"
[ "$(grep -c 'Warning: cineSheetShape1' "$work/err")" -eq 8 ] ||
    fail "other warnings: $(grep 'Warning: cineSheetShape1' "$work/err")"

cmp -s "$work/empty.png" "$work/card.png" && fail "the card does not show in the snapshot"
finish
