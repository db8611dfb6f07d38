#!/bin/sh
# The plug-in at home in an interactive session, with the scripts of the installed module:
# the Create menu item attaches footage chosen in the file browser to the viewport's camera
# (one undo takes it back); the Attribute Editor places every attribute of the node and its
# browse button sets the file undoably; the Show-menu filter hides the planes of the viewport;
# relative paths are read from the workspace; unloading removes the menu and the filter. A
# batch session, or a module without its scripts, loads the plug-in without any UI.
set -u
: "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

install_plugin_module

project="$work/project"
mkdir -p "$project/footage" "$project/plates"
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=64x36:rate=24 -frames:v 12 -pix_fmt yuv420p \
    "$project/footage/clip.mp4"
for frame in 0012 0013; do
    ffmpeg -nostdin -v error -f lavfi -i color=red:s=32x24 -frames:v 1 "$project/plates/shot.$frame.png"
done

# Checks written in the script language fail through `error`; --keep-going runs them all.
checks='
proc check(int $ok, string $what) { if (!$ok) error ("FAIL: " + $what); }
proc int contains(string $list[], string $wanted) {
    for ($item in $list) { if ($item == $wanted) return 1; }
    return 0;
}
proc int count(string $type) { string $nodes[] = `ls -type $type`; return size($nodes); }
'

run() {
    label=$1
    shift
    "$host" --keep-going "$@" >"$work/$label.out" 2>"$work/$label.err" ||
        fail "$label: $(grep -h 'Error' "$work/$label.err")"
}

run menu --interactive -c "$checks
loadPlugin libCineSheet;
string \$items[] = \`menu -q -itemArray mainCreateMenu\`;
check(contains(\$items, \"cineSheetAttachFootageItem\"), \"the Create menu has the item\");
check(\$items[0] != \"cineSheetMenuDivider\", \"Maya's own items are made before ours\");
int \$mayaItems = size(\$items) - 4;
check(\`menuItem -q -label cineSheetAttachFootageItem\` == \"CineSheet: Attach Footage to Camera...\", \"item label\");
check(\`pluginDisplayFilter -q -label cineSheetFilter\` == \"CineSheet\", \"filter label\");
check(\`pluginDisplayFilter -q -classification cineSheetFilter\` == \"drawdb/geometry/CineSheet\", \"filter classification\");

workspace -openWorkspace \"$project\";
lookThru side;
string \$command = \`menuItem -q -command cineSheetAttachFootageItem\`;
hostUi -fileDialogAnswer \"\";
eval \$command;
check(count(\"CineSheet\") == 0, \"a cancelled dialog makes nothing\");

hostUi -fileDialogAnswer \"$project/footage/clip.mp4\";
eval \$command;
string \$dialog[] = \`hostUi -lastFileDialog\`;
check(contains(\$dialog, \"fileMode=1\"), \"the dialog asks for one existing file\");
string \$filter = \"\";
for (\$entry in \$dialog) if (match(\"^fileFilter=\", \$entry) != \"\") \$filter = \$entry;
for (\$extension in {\"mp4\", \"mov\", \"mpg\", \"m2ts\", \"mxf\", \"y4m\", \"png\", \"exr\", \"jpg\"})
    check(match(\"[*][.]\" + \$extension + \"[ )]\", \$filter) != \"\", \"the filter offers .\" + \$extension);
check(count(\"CineSheet\") == 1, \"the menu made one CineSheet\");
check(\`getAttr cineSheetShape1.file\` == \"footage/clip.mp4\", \"a file inside the project is stored relative to it\");
string \$camera[] = \`listConnections cineSheetShape1.cameraFocalLength\`;
check(\$camera[0] == \"sideShape\", \"attached to the viewport's camera\");
snapshot -width 8 -height 8 -file \"$work/grab.png\";
check(\`getAttr cineSheetShape1.keyframeInterval\` > 0, \"the relative path is read from the workspace\");
undo;
check(count(\"CineSheet\") == 0, \"one undo takes the whole attachment back\");
redo;
check(count(\"CineSheet\") == 1, \"redo brings it back\");

hostUi -fileDialogAnswer \"$project/plates/shot.0012.png\";
eval \$command;
check(\`getAttr cineSheetShape2.file\` == \"plates/shot.####.png\", \"one image of a sequence gives the sequence\");
check(\`cineSheet -q -startFrame cineSheetShape2\` == 12, \"a sequence starts on its first file's number\");

string \$options = \`menuItem -q -command cineSheetAttachFootageOptionItem\`;
hostUi -promptDialogAnswer \"1001\";
eval \$options;
check(\`optionVar -q cineSheetStartFrame\` == 1001, \"the option box keeps the start frame typed\");
hostUi -fileDialogAnswer \"$project/footage/clip.mp4\";
eval \$command;
check(\`cineSheet -q -startFrame cineSheetShape3\` == 1001, \"the item places the clip at the option's start\");
hostUi -promptDialogAnswer \"\";
eval \$options;
check(!\`optionVar -exists cineSheetStartFrame\`, \"an empty start frame goes back to the default\");

unloadPlugin -force libCineSheet;
check(!\`menuItem -exists cineSheetAttachFootageItem\`, \"unloading removes the item\");
check(!\`menuItem -exists cineSheetAttachFootageOptionItem\`, \"unloading removes the option box\");
check(!\`menuItem -exists cineSheetMenuDivider\`, \"unloading removes the divider\");
check(!\`pluginDisplayFilter -exists cineSheetFilter\`, \"unloading removes the filter\");
check(\`menu -q -numberOfItems mainCreateMenu\` == \$mayaItems, \"Maya's own items are left in the menu\");
"

run editor --interactive -c "$checks
loadPlugin libCineSheet;
workspace -openWorkspace \"$project\";
cineSheet -camera persp -filePath \"footage/clip.mp4\";
showEditor cineSheetShape1;
string \$entries[] = \`hostUi -editorEntries\`;
string \$locator = \`createNode locator\`;
string \$inherited[] = \`listAttr \$locator\`;
for (\$attribute in \`listAttr cineSheetShape1\`) {
    if (contains(\$inherited, \$attribute)) continue;
    int \$placed = contains(\$entries, \"addControl \" + \$attribute) || contains(\$entries, \"suppress \" + \$attribute);
    for (\$entry in \$entries)
        if (match(\"^callCustom .* \" + \$attribute + \"\$\", \$entry) != \"\") \$placed = 1;
    check(\$placed, \"the template places or hides \" + \$attribute);
}
string \$layouts = \"\";
for (\$entry in \$entries) if (match(\"^beginLayout \", \$entry) != \"\") \$layouts += substring(\$entry, 13, size(\$entry)) + \",\";
check(\$layouts == \"Footage,Placement,Cache,Colour,Display,\", \"sections in order, not \" + \$layouts);
int \$last = size(\$entries);
check(\$entries[\$last - 3] == \"AEshapeTemplate\" && \$entries[\$last - 2] == \"addExtraControls\", \"Maya's own sections come last\");
for (\$input in {\"cameraWorldMatrix\", \"cameraHAperture\", \"cameraVAperture\", \"cameraFocalLength\", \"cameraFilmFit\", \"cameraOrthographic\", \"cameraOrthographicWidth\", \"cameraMatrix\"})
    check(contains(\$entries, \"suppress \" + \$input), \$input + \" is not offered for editing\");
check(contains(\$entries, \"dimControl frameRatio 1\") && contains(\$entries, \"dimControl keyframeInterval 1\"), \"outputs are read-only\");

check(\`textFieldButtonGrp -q -text cineSheetFileField\` == \"footage/clip.mp4\", \"the file field shows the stored path\");
check(\`textFieldButtonGrp -q -text cineSheetCameraField\` == \"persp\", \"the camera row names the camera\");
camera -n otherCam;
textFieldButtonGrp -e -text otherCam cineSheetCameraField;
eval \`textFieldButtonGrp -q -changeCommand cineSheetCameraField\`;
check(\`cineSheet -q -camera cineSheetShape1\` == \"otherCam\", \"the camera row attaches the plane to the camera typed\");
undo;
check(\`cineSheet -q -camera cineSheetShape1\` == \"persp\", \"undo takes the attachment back\");
check(\`textFieldButtonGrp -q -text cineSheetClipField\` == \"12 frames, 24 fps\", \"the clip row\");
cineSheet -e -startFrame 1001 cineSheetShape1;
eval \`textFieldButtonGrp -q -buttonCommand cineSheetClipField\`;
check(\`playbackOptions -q -min\` == 1001 && \`playbackOptions -q -max\` == 1012, \"the timeline is set to the clip\");
hostUi -fileDialogAnswer \"$project/plates/shot.0012.png\";
eval \`textFieldButtonGrp -q -buttonCommand cineSheetFileField\`;
check(\`getAttr cineSheetShape1.file\` == \"plates/shot.####.png\", \"browse sets the file\");
check(\`textFieldButtonGrp -q -text cineSheetFileField\` == \"plates/shot.####.png\", \"and shows it\");
undo;
check(\`getAttr cineSheetShape1.file\` == \"footage/clip.mp4\", \"undo takes the browsed file back\");

cineSheet -filePath \"/elsewhere/other.mov\";
showEditor cineSheetShape2;
check(\`textFieldButtonGrp -q -text cineSheetFileField\` == \"/elsewhere/other.mov\", \"another node reuses the layout\");
"

# The Show-menu filter: a hidden CineSheet leaves the picture of an empty scene.
run filter --interactive -c "$checks
loadPlugin libCineSheet;
setAttr defaultResolution.width 64; setAttr defaultResolution.height 36;
workspace -openWorkspace \"$project\";
snapshot -file \"$work/empty.png\";
cineSheet -camera persp -filePath \"footage/clip.mp4\";
snapshot -file \"$work/shown.png\";
modelEditor -e -pluginObjects cineSheetFilter false modelPanel4;
check(!\`modelEditor -q -pluginObjects cineSheetFilter modelPanel4\`, \"the panel reports it hidden\");
snapshot -file \"$work/hidden.png\";
modelEditor -e -pluginObjects cineSheetFilter true modelPanel4;
snapshot -file \"$work/again.png\";
"
cmp -s "$work/empty.png" "$work/shown.png" && fail "the CineSheet was not drawn"
cmp -s "$work/empty.png" "$work/hidden.png" || fail "the filter did not hide the CineSheet"
cmp -s "$work/shown.png" "$work/again.png" || fail "showing it again did not draw it"

# Stored scenes keep the relative path.
run save -c "
loadPlugin libCineSheet;
cineSheet -filePath \"footage/clip.mp4\";
file -rename \"$work/scene.ma\"; file -save;"
grep -q 'footage/clip.mp4' "$work/scene.ma" || fail "the saved scene lost the relative path"

# A batch session loads the plug-in without its UI; so does a module without its scripts.
run batch -c "$checks
loadPlugin libCineSheet;
check(!\`menuItem -exists cineSheetAttachFootageItem\`, \"no menu in a batch session\");
check(count(\"CineSheet\") == 0 && size(\`cineSheet\`) == 2, \"the command works\");
unloadPlugin -force libCineSheet;"
MAYA_SCRIPT_PATH="$work/nowhere" run noscripts --interactive -c "$checks
loadPlugin libCineSheet;
check(size(\`cineSheet\`) == 2, \"the plug-in works without its scripts\");"
grep -q "Warning: .*cineSheetCreateUI failed" "$work/noscripts.err" ||
    fail "a missing UI script is not reported"

finish
