#!/bin/sh
# The clip's sound on the timeline, through cinesheet-host: "cineSheet -audio true" and
# "cineSheetSound" write the first audio stream into the project's sound folder and make an audio
# node that plays the sound of each picture where the plane shows it; clips without sound get a
# warning and no node; undo and redo take the node away and bring it back.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

project=$work/project
mkdir -p "$project" "$work/a" "$work/b" || exit 1
clip() {
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=64x48:rate=24:duration=2" \
        -f lavfi -i "sine=frequency=$1:duration=2:sample_rate=48000" -c:v mpeg4 -c:a pcm_s16le "$2"
}
clip 440 "$work/a/shot.mov" && clip 880 "$work/b/shot.mov" &&
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=64x48:rate=24:duration=1" -c:v mpeg4 \
        "$work/silent.mp4" &&
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=64x48" -frames:v 3 -start_number 1 \
        "$work/plate.%04d.png" &&
    # 384 kHz stereo whose second half starts an hour in: 5.5 GB of WAV from a 35 kB clip.
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=64x48:rate=25:duration=0.04" -f lavfi \
        -i "anullsrc=r=384000:cl=stereo:nb_samples=1024,atrim=end_sample=8192,asetpts=N/SR/TB+gte(N\,4096)*3600/TB" \
        -c:v mpeg4 -c:a pcm_s16le "$work/hour.mkv" &&
    # 2^30 Hz stereo: 2^32 bytes per second, past the 32 bits a WAV header gives them.
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=64x48:rate=24:duration=0.5" -f lavfi \
        -i "anullsrc=r=1073741824:cl=stereo,atrim=end_sample=4800" -c:v mpeg4 -c:a pcm_s16le \
        "$work/rate.mkv" || { echo "cannot make media"; exit 1; }

# run NAME SCRIPT: runs the script after loading the plug-in in the project; output in $work.
run() {
    "$host" -c "loadPlugin \"$CINESHEET_PLUGIN\"; workspace -openWorkspace \"$project\"; $2" \
        >"$work/out" 2>"$work/err" </dev/null || fail "$1: the host failed: $(cat "$work/err")"
}
expect_out() {
    printf '%s\n' "$2" >"$work/expected"
    sed 1d "$work/out" >"$work/got"
    diff -u "$work/expected" "$work/got" >"$work/diff" || { fail "$1"; cat "$work/diff" >&2; }
}

# A new plane with its sound, its first picture at the playback range's start (frame 1) and the
# sound with it; undo takes both away and leaves the file, redo brings both back.
run "audio flag" "cineSheet -filePath \"$work/a/shot.mov\" -audio true;
sound -q -file shot; sound -q -offset shot; sound -q -sourceStart shot; sound -q -sourceEnd shot;
getAttr shot.sampleRate; getAttr shot.channels;
undo; objExists shot; objExists cineSheet1;
redo; objExists shot; objExists cineSheet1; sound -q -file shot; sound -q -offset shot"
expect_out "audio flag" "// Result: cineSheet1 cineSheetShape1 shot 1 //
// Result: sound/shot.wav //
// Result: 1 //
// Result: 0 //
// Result: 48 //
// Result: 48000 //
// Result: 1 //
// Result: 0 //
// Result: 0 //
// Result: 1 //
// Result: 1 //
// Result: sound/shot.wav //
// Result: 1 //"
[ -f "$project/sound/shot.wav" ] || fail "the WAV file is not in the project's sound folder"
[ "$(grep -c "// cineSheet: reading the sound of \"$work/a/shot.mov\": [0-9]* %" "$work/err")" -eq 10 ] ||
    fail "audio flag: a line per tenth read in batch: $(cat "$work/err")"

# The sound starts where the first shown picture is shown, from that picture's place in the
# file, and ends after the last shown one: frameOffset 12 and frames 3 to 30 show video frame 3
# at scene frame 15. Its start follows frameOffset and startFrame changed later, and their undo.
run "frame offset" "cineSheet -filePath \"$work/a/shot.mov\";
setAttr cineSheetShape1.frameOffset 12; setAttr cineSheetShape1.startFrame 3;
setAttr cineSheetShape1.endFrame 30; cineSheetSound cineSheet1;
sound -q -offset shot; sound -q -sourceStart shot; sound -q -sourceEnd shot;
sound -q -endTime shot; undo; objExists shot; objExists cineSheet1; redo; objExists shot;
setAttr cineSheetShape1.frameOffset 20; setAttr cineSheetShape1.startFrame 5;
sound -q -offset shot; sound -q -sourceStart shot; undo; undo; sound -q -offset shot;
setAttr cineSheetShape1.frameOffset -5; setAttr cineSheetShape1.startFrame 0;
setAttr cineSheetShape1.endFrame 0; cineSheetSound cineSheetShape1; sound -q -offset shot1;
sound -q -sourceStart shot1; sound -q -sourceEnd shot1;
setAttr cineSheetShape1.endFrame 2147483647; cineSheetSound cineSheet1; sound -q -sourceEnd shot2"
expect_out "frame offset" "// Result: cineSheet1 cineSheetShape1 1 //
// Result: shot //
// Result: 15 //
// Result: 3 //
// Result: 31 //
// Result: 43 //
// Result: 0 //
// Result: 1 //
// Result: 1 //
// Result: 25 //
// Result: 5 //
// Result: 15 //
// Result: shot1 //
// Result: -5 //
// Result: 0 //
// Result: 48 //
// Result: shot2 //
// Result: 48 //"
grep -q 'Warning' "$work/err" && fail "frame offset: a warning at the clip's own rate: $(cat "$work/err")"

# At another scene rate the sound only stays with pictures played at the clip's own rate.
run "scene rate" "currentUnit -time pal; cineSheet -filePath \"$work/a/shot.mov\" -au 1;
setAttr cineSheetShape1.forceFrameRate 1; cineSheetSound cineSheet1; sound -q -sourceEnd shot"
grep -c 'Warning: cineSheet: .*shot.mov" runs at 24 frames per second and the scene at 25' \
    "$work/err" | grep -qx 1 || fail "scene rate: one drift warning expected: $(cat "$work/err")"
tail -n 1 "$work/out" | grep -qx '// Result: 50 //' || fail "scene rate: length in PAL frames"

# No sound, no node: a silent clip, an image sequence, a missing file, sounds no WAV file can
# hold (refused before anything is written).
run "no sound" "cineSheet -filePath \"$work/silent.mp4\" -audio true;
cineSheet -filePath \"$work/plate.####.png\" -audio true;
cineSheet -filePath \"$work/none.mov\" -audio true; cineSheetSound cineSheet1;
cineSheet -filePath \"$work/hour.mkv\" -audio true; cineSheet -filePath \"$work/rate.mkv\" -au 1;
ls -type audio"
expect_out "no sound" "// Result: cineSheet1 cineSheetShape1 1 //
// Result: cineSheet2 cineSheetShape2 1 //
// Result: cineSheet3 cineSheetShape3 1 //
// Result: cineSheet4 cineSheetShape4 1 //
// Result: cineSheet5 cineSheetShape5 1 //"
grep -q "Warning: cineSheet: \"$work/silent.mp4\" has no sound" "$work/err" ||
    fail "no warning for the silent clip: $(cat "$work/err")"
grep -q "Warning: cineSheet: \"$work/plate.####.png\" is not a video file" "$work/err" ||
    fail "no warning for the image sequence: $(cat "$work/err")"
grep -q "Warning: cineSheet: the sound of \"$work/none.mov\" cannot be read" "$work/err" ||
    fail "no warning for the missing clip: $(cat "$work/err")"
grep -q "Warning: cineSheet: the sound of \"$work/hour.mkv\" is too long for a WAV file: 3600 s of 384000 Hz stereo sound would take 5.5 GB, and a WAV file holds at most 4 GB, so it is not imported" "$work/err" ||
    fail "no warning for the hour-long sound: $(cat "$work/err")"
grep -q "Warning: cineSheet: the sound of \"$work/rate.mkv\" has a sample rate of 1073741824 Hz, more than a WAV file can describe, so it is not imported" "$work/err" ||
    fail "no warning for the sample rate: $(cat "$work/err")"
[ "$(grep -c Warning "$work/err")" -eq 6 ] || fail "one warning per import: $(cat "$work/err")"
"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\"; createNode transform -n t; cineSheetSound t" \
    >"$work/out" 2>"$work/err" </dev/null && fail "not a plane: the command worked"
grep -q 'Error: cineSheetSound: "t" is not a CineSheet plane' "$work/err" ||
    fail "not a plane: $(cat "$work/err")"

# The project's own sound rule: the WAV goes where it points, and the audio node keeps its path
# relative to the project, so that the project moved elsewhere finds its sound.
mkdir -p "$work/ruled" || exit 1
"$host" -c "loadPlugin \"$CINESHEET_PLUGIN\"; workspace -openWorkspace \"$work/ruled\";
workspace -fileRule sound \"audio/clips\"; cineSheet -filePath \"$work/a/shot.mov\" -audio true;
sound -q -file shot; file -rename \"$work/ruled/scene.ma\"; file -save" \
    >"$work/out" 2>"$work/err" </dev/null || fail "sound rule: $(cat "$work/err")"
sed -n 3p "$work/out" | grep -qx '// Result: audio/clips/shot.wav //' ||
    fail "sound rule: the node's file: $(cat "$work/out")"
[ -f "$work/ruled/audio/clips/shot.wav" ] || fail "sound rule: no WAV where the rule points"
mv "$work/ruled" "$work/moved" &&
    "$host" -c "loadPlugin \"$CINESHEET_PLUGIN\"; workspace -openWorkspace \"$work/moved\";
file -open \"$work/moved/scene.ma\"; getAttr shot.sampleRate; sound -q -length shot" \
        >"$work/out" 2>"$work/err" </dev/null || fail "moved project: $(cat "$work/err")"
tail -n 2 "$work/out" >"$work/out.tail"
printf '%s\n' "// Result: 48000 //" "// Result: 48 //" | diff -u - "$work/out.tail" >&2 ||
    fail "moved project: the sound is not found"

# Interactive, the reading shows in Maya's progress window, which the user can interrupt: then
# no node is made. Which progress values show depends on timing: the comparison leaves them out
# but for the finished import's last.
"$host" --interactive -c "loadPlugin \"$CINESHEET_PLUGIN\"; workspace -openWorkspace \"$project\";
hostProgressWindow -cancelAt 0; cineSheet -filePath \"$work/b/shot.mov\" -audio true; ls -type audio;
hostProgressWindow -cancelAt -1; cineSheet -filePath \"$work/b/shot.mov\" -audio true;
for (\$entry in \`hostProgressWindow -history\`) print (\"shown: \" + \$entry + \"\\n\");" \
    >"$work/out" 2>"$work/err" </dev/null || fail "progress window: $(cat "$work/err")"
shown="shown: show CineSheet: reading the sound of \"$work/b/shot.mov\""
{ sed 1d "$work/out" | grep -v '^shown: [0-9]*$'; tail -n 2 "$work/out"; } >"$work/got"
printf '%s\n' "// Result: cineSheet1 cineSheetShape1 1 //" "// Result: cineSheet2 cineSheetShape2 shot_1 1 //" \
    "$shown" "shown: end" "$shown" "shown: end" "shown: 100" "shown: end" |
    diff -u - "$work/got" >&2 || fail "progress window: results"
grep -q "Warning: cineSheet: the import of the sound of \"$work/b/shot.mov\" was cancelled" "$work/err" ||
    fail "progress window: no warning for the cancel: $(cat "$work/err")"
grep -q "reading the sound of .*%" "$work/err" && fail "progress window: batch lines in a session with a window"

# The stand-in's sound command as Maya's: the node's name as result, times in the current unit,
# a query that is not undoable, a file it cannot read refused.
"$host" -c "sound -file \"$project/sound/shot.wav\" -offset 10; getAttr audio1.endFrame;
sound -q -length audio1; currentUnit -time pal; sound -q -offset audio1; undo; objExists audio1;
sound -e -offset 20 audio1" >"$work/out" 2>"$work/err" </dev/null
[ $? -eq 1 ] || fail "stand-in sound: the edit of an undone node worked"
printf '%s\n' "// Result: audio1 //" "// Result: 58 //" "// Result: 48 //" "// Result: 10.4166667 //" \
    "// Result: 0 //" | diff -u - "$work/out" >&2 || fail "stand-in sound: results"
"$host" -c "sound -file \"$work/a/shot.mov\"" >"$work/out" 2>"$work/err" </dev/null &&
    fail "stand-in sound: a file that is no WAV was taken"

# The Create menu and the Attribute Editor offer it; one undo takes a menu attachment back whole.
export MAYA_SCRIPT_PATH="$(cd "$(dirname "$0")/../../plugin/scripts" && pwd)"
rm -rf "$project/sound"
"$host" --interactive --keep-going -c "
proc check(int \$ok, string \$what) { if (!\$ok) error (\"FAIL: \" + \$what); }
proc int count(string \$type) { string \$nodes[] = \`ls -type \$type\`; return size(\$nodes); }
loadPlugin \"$CINESHEET_PLUGIN\"; workspace -openWorkspace \"$project\"; lookThru side;
check(\`menuItem -q -label cineSheetAttachFootageAndSoundItem\` == \"CineSheet: Attach Footage and Import Sound...\", \"menu label\");
hostUi -fileDialogAnswer \"$work/a/shot.mov\";
eval \`menuItem -q -command cineSheetAttachFootageAndSoundItem\`;
check(count(\"CineSheet\") == 1 && count(\"audio\") == 1, \"the menu makes a plane and its sound\");
check(\`getAttr shot.filename\` == \"sound/shot.wav\", \"the sound folder is made\");
undo;
check(count(\"CineSheet\") == 0 && count(\"audio\") == 0, \"one undo takes both back\");
eval \`menuItem -q -command cineSheetAttachFootageItem\`;
check(count(\"CineSheet\") == 1 && count(\"audio\") == 0, \"the plain item makes no sound\");
setAttr cineSheetShape1.frameOffset 7;
showEditor cineSheetShape1;
check(\`button -q -label cineSheetSoundButton\` == \"Import Sound\", \"button label\");
eval \`button -q -command cineSheetSoundButton\`;
check(count(\"audio\") == 1 && \`getAttr shot.offset\` == 7, \"the button imports the sound at the offset\");
undo;
check(count(\"audio\") == 0 && count(\"CineSheet\") == 1, \"undo takes only the sound back\");
unloadPlugin -force libCineSheet;
check(!\`menuItem -exists cineSheetAttachFootageAndSoundItem\`, \"unloading removes the item\");
" >"$work/out" 2>"$work/err" </dev/null || fail "menu and editor: $(grep -h Error "$work/err")"

finish
