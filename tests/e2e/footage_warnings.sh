#!/bin/sh
# Footage that cannot be shown, as a new user meets it: each cause gives one warning naming the
# node and the file, the plane shows the placeholder card where the picture would be, and none
# of FFmpeg's own lines reaches the terminal; a node's first frame missing from its sequence is
# named with the node; a picture named as a video and a video named as a picture are told as
# such; an unusable CINESHEET_DECODER_THREADS is warned once at load.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

mkdir "$work/plates"
printf 'not a picture\n' >"$work/notes.txt"
printf 'not a picture\n' >"$work/notes.mov"
: >"$work/empty.mov"
ffmpeg -nostdin -v error -y -f lavfi -i sine=duration=1 "$work/dialogue.wav" &&
    ffmpeg -nostdin -v error -y -f lavfi -i sine=duration=1 -c:a aac "$work/audio.mov" &&
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48:r=24 -frames:v 24 -c:v mpeg4 \
        "$work/whole.mov" &&
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48 -frames:v 1 "$work/still.png" &&
    cp "$work/still.png" "$work/still.mov" && cp "$work/whole.mov" "$work/clip.png" ||
    fail "making the media"
head -c "$(($(wc -c <"$work/whole.mov") / 2))" "$work/whole.mov" >"$work/cut.mov"
for frame in 1 3; do
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48 -frames:v 1 "$work/gap.000$frame.png" ||
        fail "making the frames"
done

show() {
    printf 'setAttr -type "string" cineSheetShape1.file "%s"; refresh; currentTime 2; refresh;
currentTime 1; refresh;\n' "$1"
}
CINESHEET_DECODER_THREADS=many "$host" -c "
loadPlugin \"$CINESHEET_PLUGIN\";
setAttr defaultResolution.width 64; setAttr defaultResolution.height 48;
camera -n shotCam; lookThru shotCam;
snapshot -file \"$work/empty.png\";
cineSheet -camera shotCam -filePath \"$work/footage/shot.mov\";
refresh; refresh;
snapshot -file \"$work/card.png\";
$(show "$work/plates")
$(show "$work/notes.txt")
$(show "$work/notes.mov")
$(show "$work/empty.mov")
$(show "$work/dialogue.wav")
$(show "$work/still.mov")
$(show "$work/clip.png")
$(show "$work/audio.mov")
$(show "$work/cut.mov")
$(show "$work/plate.####.exr")
$(show "")
currentTime 2;
cineSheet -camera shotCam -filePath \"$work/gap.####.png\";
refresh;
" >"$work/out" 2>"$work/err" || fail "the session failed: $(cat "$work/err")"

once() {
    count=$(grep -cxF "// Warning: cineSheetShape1: cannot show \"$1\": $2 //" "$work/err")
    [ "$count" -eq 1 ] || fail "\"$1\": $2: warned $count times"
}
once "$work/footage/shot.mov" "no such file at $work/footage/shot.mov"
once "$work/plates" "is a folder"
once "$work/notes.txt" "is not a media file"
once "$work/notes.mov" "is not a media file"
once "$work/empty.mov" "is empty"
once "$work/dialogue.wav" "holds WAV / WAVE (Waveform Audio), not a video"
once "$work/still.mov" "holds a PNG image, not a video: give it the image's extension to show it as a still"
once "$work/clip.png" "holds a video, not an image: give it a video extension such as .mp4 to play it"
once "$work/audio.mov" "has no video stream"
once "$work/cut.mov" "not a video or image FFmpeg can read (moov atom not found)"
once "$work/plate.####.exr" "no frames match plate.####.exr"
once "" "path is empty"
[ "$(grep -c 'Warning: cineSheetShape1' "$work/err")" -eq 12 ] ||
    fail "other warnings: $(grep 'Warning: cineSheetShape1' "$work/err")"

held="// Warning: cineSheetShape2: the frame file $work/gap.0002.png is missing; frame 1 is held"
[ "$(grep -cF "$held" "$work/err")" -eq 1 ] ||
    fail "the first missing frame is not named once with its node: $(grep gap.0002 "$work/err")"
threads="CINESHEET_DECODER_THREADS \"many\" is not a whole number from 1 to 64: it is ignored,"
[ "$(grep -cF "$threads" "$work/err")" -eq 1 ] ||
    fail "the thread setting is not warned about once: $(grep -i threads "$work/err")"

cmp -s "$work/empty.png" "$work/card.png" && fail "the card does not show in the snapshot"
finish
