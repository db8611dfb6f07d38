#!/bin/sh
# Footage files as a new user meets them, through the installed module's scripts: what the
# browser stores for a chosen file (a still stays a still, a sequence only beside its other
# frames, a '$' refused) and stills named with '#', '@' or "%d" shown; '#' in folder names,
# "%04d" and "@@@@" sequences drawn; a gap held with a red cross and named once; handles showing
# nothing, or the end files, unwarned; a clip replaced on disk shown at the next frame; the
# Attribute Editor's Reload button and its file field following the attribute; a still read once
# and not tied to time; a relative path in the project the node was made in, then in the one it
# is drawn in, and the frame ratio kept under a root the file is not under.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

install_plugin_module

project="$work/project"
mkdir -p "$project/stills" "$project/plates" "$project/unpadded" "$project/dir#x" \
    "$project/gap" "$project/odd"
picture() { ffmpeg -nostdin -v error -y -f lavfi -i "$1" -frames:v 1 "$2" || exit 1; }
for still in stills/IMG_4032.jpg stills/shot_v2.png stills/a.mp4.png "dir#x/img.png" \
    plates/shot.0012.png plates/shot.0013.png unpadded/frame.9.png unpadded/frame.10.png; do
    picture "testsrc2=s=64x48" "$project/$still"
done
for frame in 1 2 4; do
    picture "testsrc2=s=64x48:r=24,trim=start_frame=$frame" "$project/gap/g.000$frame.png"
done
for frame in 1 2; do
    picture "color=c=0x20${frame}040:s=32x24" "$project/plates/pct.000$frame.png"
done
ffmpeg -nostdin -v error -f lavfi -i testsrc=s=64x48:r=24 -frames:v 12 -pix_fmt yuv420p \
    "$project/odd/\$RT.mp4"
ffmpeg -nostdin -v error -f lavfi -i color=c=white:s=64x48:r=24 -frames:v 12 -pix_fmt yuv420p \
    "$work/white.mp4"
ffmpeg -nostdin -v error -f lavfi -i color=c=blue:s=64x48:r=24 -frames:v 12 -pix_fmt yuv420p \
    "$work/blue.mp4"
cp "$work/white.mp4" "$project/take.mp4"

checks='
proc check(int $ok, string $what) { if (!$ok) error ("FAIL: " + $what); }
proc int count(string $type) { string $nodes[] = `ls -type $type`; return size($nodes); }
'
run() {
    label=$1
    shift
    "$host" --keep-going "$@" >"$work/$label.out" 2>"$work/$label.err" ||
        fail "$label: $(grep -h 'Error' "$work/$label.err")"
}

run naming --interactive -c "$checks
loadPlugin libCineSheet;
workspace -openWorkspace \"$project\";
proc stored(string \$chosen, string \$expected) {
    string \$path = cineSheetFootagePath(\"$project/\" + \$chosen);
    check(\$path == \$expected, \$chosen + \" is stored as \" + \$path + \", not \" + \$expected);
}
stored(\"stills/IMG_4032.jpg\", \"stills/IMG_4032.jpg\");
stored(\"stills/shot_v2.png\", \"stills/shot_v2.png\");
stored(\"stills/a.mp4.png\", \"stills/a.mp4.png\");
stored(\"dir#x/img.png\", \"dir#x/img.png\");
stored(\"plates/shot.0012.png\", \"plates/shot.####.png\");
stored(\"unpadded/frame.9.png\", \"unpadded/frame.#.png\");

string \$command = \`menuItem -q -command cineSheetAttachFootageItem\`;
hostUi -fileDialogAnswer \"$project/stills/IMG_4032.jpg\";
eval \$command;
check(\`getAttr cineSheetShape1.file\` == \"stills/IMG_4032.jpg\", \"the menu keeps a still\");
check(!\`isConnected time1.outTime cineSheetShape1.frame\`, \"a still from the menu follows time\");
hostUi -fileDialogAnswer \"$project/plates/shot.0012.png\";
eval \$command;
check(\`isConnected time1.outTime cineSheetShape2.frame\`, \"a sequence from the menu follows no time\");
string \$dialog[] = \`hostUi -lastFileDialog\`;
string \$filter = \"\";
for (\$entry in \$dialog) if (match(\"^fileFilter=\", \$entry) != \"\") \$filter = \$entry;
for (\$extension in {\"dpx\", \"cin\", \"hdr\"})
    check(match(\"[*][.]\" + \$extension + \"[ )]\", \$filter) != \"\", \"the filter offers .\" + \$extension);
"
# A still is read once over a playblast of 20 frames: the file is opened as often as for a
# playblast of one frame (a check, the node's look at its header and the read).
opens() {
    strace -f -qq -e trace=open,openat -P "$project/stills/IMG_4032.jpg" -o "$work/still.trace" \
        "$host" -c "
loadPlugin libCineSheet;
workspace -openWorkspace \"$project\";
cineSheet -camera persp -filePath stills/IMG_4032.jpg;
playblast -startTime 1 -endTime $1 -width 32 -height 24 -filename \"$work/still\";
" >"$work/still.out" 2>&1 || fail "the still's playblast failed: $(cat "$work/still.out")"
    grep -c 'IMG_4032\.jpg"' "$work/still.trace"
}
once=$(opens 1)
twenty=$(opens 20)
[ "$twenty" -eq "$once" ] || fail "the still was opened $twenty times over 20 frames, $once over one"

# A '$' chosen in the browser is refused, with the reason, and nothing is made.
"$host" --interactive -c "
loadPlugin libCineSheet;
workspace -openWorkspace \"$project\";
hostUi -fileDialogAnswer \"$project/odd/\$RT.mp4\";
eval \`menuItem -q -command cineSheetAttachFootageItem\`;
" >"$work/dollar.out" 2>"$work/dollar.err" && fail "a path with a dollar sign was accepted"
grep -q "Error: .*'\\$' in a file or folder name" "$work/dollar.err" ||
    fail "the refusal of a dollar sign does not say why: $(cat "$work/dollar.err")"
grep -q "cineSheetShape" "$work/dollar.out" && fail "a node was made for a refused path"

# The RGBA bytes of pixel (x, y) of a raw dump of the given width, and of a picture's decode.
dumped() { od -An -tu1 -v -j $(( ($3 * $2 + $4) * 4 )) -N4 "$1" | tr -s ' ' | sed 's/^ //'; }
decoded() {
    ffmpeg -nostdin -v error -i "$1" -f rawvideo -pix_fmt rgba - >"$work/decoded.rgba"
    dumped "$work/decoded.rgba" "$2" "$3" "$4"
}
same_as_tool() {
    ffmpeg -nostdin -v error -y -i "$1" -f rawvideo -pix_fmt rgba "$work/expected.rgba"
    cmp -s "$work/expected.rgba" "$2" || fail "$3"
}

# Pictures are taken as the tests' one-frame playblast (snapshot), which waits for the exact
# frame: an artist's refresh would show a stand-in while it comes.
run drawing --interactive -c "
loadPlugin libCineSheet;
workspace -openWorkspace \"$project\";
setAttr defaultResolution.width 64; setAttr defaultResolution.height 48;
setAttr perspShape.filmFit 1;
cineSheet -camera persp -filePath \"dir#x/img.png\";
currentTime 2; snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/hashfolder.rgba\";
setAttr -type \"string\" cineSheetShape1.file \"plates/pct.%04d.png\";
snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/printf.rgba\";
setAttr -type \"string\" cineSheetShape1.file \"plates/pct.@@@@.png\";
currentTime 1; snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/at.rgba\";

setAttr -type \"string\" cineSheetShape1.file \"gap/g.####.png\";
currentTime 2; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
snapshot -width 64 -height 48 -file \"$work/frame2.png\";
currentTime 3; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
textureDump -node cineSheetShape1 -file \"$work/gap.rgba\";
snapshot -width 64 -height 48 -file \"$work/gap.png\";
currentTime 4; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
currentTime 3; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
currentTime 0; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
textureDump -node cineSheetShape1 -file \"$work/before.rgba\";
currentTime 5; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
textureDump -node cineSheetShape1 -file \"$work/after.rgba\";
setAttr cineSheetShape1.holdEndFrames 1;
snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
textureDump -node cineSheetShape1 -file \"$work/after.held.rgba\";
currentTime 0; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue;
textureDump -node cineSheetShape1 -file \"$work/before.held.rgba\";
setAttr cineSheetShape1.holdEndFrames 0;

setAttr -type \"string\" cineSheetShape1.file \"take.mp4\";
currentTime 2; snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/take.before.rgba\";
system(\"cp '$work/blue.mp4' '$project/take.mp4'\");
currentTime 3; snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/take.replaced.rgba\";
"
same_as_tool "$project/dir#x/img.png" "$work/hashfolder.rgba" "a '#' in a folder is no frame number"
same_as_tool "$project/plates/pct.0002.png" "$work/printf.rgba" "%04d names frame 2"
same_as_tool "$project/plates/pct.0001.png" "$work/at.rgba" "@@@@ names frame 1"
[ "$(dumped "$work/gap.rgba" 64 24 32)" = "255 0 0 255" ] ||
    fail "the held frame has no red cross in its middle: $(dumped "$work/gap.rgba" 64 24 32)"
[ "$(dumped "$work/gap.rgba" 64 2 32)" = "$(decoded "$project/gap/g.0002.png" 64 2 32)" ] ||
    fail "the frame before the gap is not the one held"
ffmpeg -nostdin -v error -i "$work/gap.png" -f rawvideo -pix_fmt rgba - >"$work/gap.snap.rgba"
[ "$(dumped "$work/gap.snap.rgba" 64 24 32)" = "255 0 0 255" ] ||
    fail "the snapshot of the gap shows no red cross: $(dumped "$work/gap.snap.rgba" 64 24 32)"
cmp -s "$work/frame2.png" "$work/gap.png" && fail "the held frame is drawn without its mark"
[ "$(grep -c 'g.0003.png is missing' "$work/drawing.err")" -eq 1 ] ||
    fail "the missing file is not named exactly once: $(cat "$work/drawing.err")"
grep -q "Warning: .*g.0003.png is missing" "$work/drawing.err" ||
    fail "the missing file is not named in a warning"
# Handles: nothing shown before the first file and after the last, or the end files held
# unmarked, and no warning either way.
head -c $((64 * 48 * 4)) /dev/zero >"$work/nothing.rgba"
cmp -s "$work/nothing.rgba" "$work/before.rgba" || fail "a frame before the first file shows something"
cmp -s "$work/nothing.rgba" "$work/after.rgba" || fail "a frame after the last file shows something"
same_as_tool "$project/gap/g.0004.png" "$work/after.held.rgba" "the last file is not held after it"
same_as_tool "$project/gap/g.0001.png" "$work/before.held.rgba" "the first file is not held before it"
grep -E "Warning: .*(g.0000|g.0005)" "$work/drawing.err" && fail "a handle frame is warned about"
blue=$(dumped "$work/take.replaced.rgba" 64 24 32)
[ "$(echo "$blue" | cut -d' ' -f3)" -gt 200 ] && [ "$(echo "$blue" | cut -d' ' -f1)" -lt 60 ] ||
    fail "the clip replaced on disk still shows its former frames ($blue)"

# Stills whose names hold the marks of a sequence's frame number, chosen in the browser (one
# beside a namesake of another number): each is stored as chosen and shown as the still it is,
# without a warning.
marked="hash#1.png take#1.png frame%d.png frame%04d.png a_@@_b.png 100%done.png"
script="$checks
loadPlugin libCineSheet;
workspace -openWorkspace \"$project\";
setAttr defaultResolution.width 64; setAttr defaultResolution.height 48;
string \$command = \`menuItem -q -command cineSheetAttachFootageItem\`;"
node=0
dumps=""
for name in $marked; do
    node=$((node + 1))
    picture "testsrc2=s=64x48:r=24,trim=start_frame=$node" "$work/marked$node.png"
    cp "$work/marked$node.png" "$project/stills/$name"
    script="$script
hostUi -fileDialogAnswer \"$project/stills/$name\"; eval \$command;
check(\`getAttr cineSheetShape$node.file\` == \"stills/$name\", \"$name is stored as chosen\");"
    dumps="$dumps
textureDump -node cineSheetShape$node -file \"$work/marked$node.rgba\";"
done
cp "$work/marked1.png" "$project/stills/take#2.png"
run marked --interactive -c "$script
currentTime 1; snapshot -width 8 -height 8 -file \"$work/grab.png\"; flushIdleQueue; $dumps"
node=0
for name in $marked; do
    node=$((node + 1))
    same_as_tool "$work/marked$node.png" "$work/marked$node.rgba" "$name is not shown"
done
grep "Warning" "$work/marked.err" && fail "a still with a mark in its name is warned about"

# The Attribute Editor: the field follows the attribute; Reload reads a clip rewritten at a
# standing frame, which is not looked at again by itself.
cp "$work/white.mp4" "$project/take.mp4"
run editor --interactive -c "$checks
loadPlugin libCineSheet;
workspace -openWorkspace \"$project\";
cineSheet -camera persp -filePath \"take.mp4\";
currentTime 5; snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/editor.white.rgba\";
showEditor cineSheetShape1;
setAttr -type \"string\" cineSheetShape1.file \"stills/IMG_4032.jpg\";
check(\`textFieldButtonGrp -q -text cineSheetFileField\` == \"stills/IMG_4032.jpg\", \"the field follows a setAttr\");
undo;
check(\`textFieldButtonGrp -q -text cineSheetFileField\` == \"take.mp4\", \"the field follows an undo\");
check(\`button -q -label cineSheetReloadButton\` == \"Reload\", \"the Reload button\");
snapshot -width 8 -height 8 -file \"$work/grab.png\";
system(\"cp '$work/blue.mp4' '$project/take.mp4'\");
snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/editor.standing.rgba\";
eval \`button -q -command cineSheetReloadButton\`;
snapshot -width 8 -height 8 -file \"$work/grab.png\";
textureDump -node cineSheetShape1 -file \"$work/editor.reloaded.rgba\";
"
cmp -s "$work/editor.white.rgba" "$work/editor.standing.rgba" ||
    fail "a standing frame read its file again without being asked"
blue=$(dumped "$work/editor.reloaded.rgba" 64 24 32)
[ "$(echo "$blue" | cut -d' ' -f3)" -gt 200 ] && [ "$(echo "$blue" | cut -d' ' -f1)" -lt 60 ] ||
    fail "Reload did not read the clip again ($blue)"

# The same relative name in two projects, one wide and one 4:3. The node reads its shape from
# the project it was made in, without drawing; once drawn in another project it follows it, and
# a root the shot cannot be read under leaves the ratio it had; its compute never asks Maya for
# the project.
mkdir -p "$work/wide" "$work/narrow"
ffmpeg -nostdin -v error -f lavfi -i color=c=gray:s=64x36:r=24 -frames:v 4 -pix_fmt yuv420p \
    "$work/wide/shot.mp4"
ffmpeg -nostdin -v error -f lavfi -i color=c=gray:s=64x48:r=24 -frames:v 4 -pix_fmt yuv420p \
    "$work/narrow/shot.mp4"
run projects -c "$checks
loadPlugin libCineSheet;
proc float ratio() { return \`getAttr cineSheetShape1.frameRatio\`; }
workspace -openWorkspace \"$work/wide\";
cineSheet -camera persp -filePath \"shot.mp4\";
check(ratio() > 1.777 && ratio() < 1.778, \"the wide project's shot gives \" + ratio());
workspace -openWorkspace \"$work/narrow\";
refresh; flushIdleQueue;
check(ratio() > 1.333 && ratio() < 1.334, \"after the project changed the shot gives \" + ratio());
cineSheet -camera persp -filePath \"shot.mp4\";
refresh;
cineSheetFootageFacts -workspaceRoot \"$work/nowhere/\" cineSheetShape2;
float \$kept = \`getAttr cineSheetShape2.frameRatio\`;
check(\$kept > 1.333 && \$kept < 1.334, \"a root the shot is not under gives \" + \$kept);
check(\`hostConfig -q -commandsInCompute\` == 0, \"compute ran MEL commands\");
"
finish
