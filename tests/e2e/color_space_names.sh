#!/bin/sh
# Colour spaces by name through cinesheet-host: a scene saved under one configuration's list and
# opened under another shows the spaces of the same names, a name the other list lacks gets what
# the file rules give, new nodes take the file rules' space, and the default is the sRGB texture
# space under either of Maya's names, else None.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"
scene="$work/spaces.ma"
legacy="/x/legacy.mov"
v2='hostConfig -inputSpaceNames "ACEScg,Linear Rec.709 (sRGB),sRGB Encoded Rec.709 (sRGB),Raw"'
studio='hostConfig -inputSpaceNames "ACEScg,ACES2065-1,Output - Rec.709" -renderingSpaceName ACEScg'

# check NAME EXPECTED SCRIPT: runs the script after the plug-in is loaded under the list SETUP
# names, and compares the results.
check() {
    name=$1 expected=$2 script=$3
    "$host" -c "$setup; loadPlugin \"$plugin\"; $script" >"$work/out" 2>"$work/err" ||
        fail "$name: $(cat "$work/err")"
    grep '^// Result' "$work/out" | grep -v 'libCineSheet\|cineSheet[0-9]\|Shape //\|fresh //' >"$work/results"
    printf '%s' "$expected" >"$work/expected"
    if ! diff -u "$work/expected" "$work/results" >"$work/diff"; then
        fail "$name: results differ"
        cat "$work/diff" >&2
    fi
}

# Default list: sRGB, Raw, ACEScg, scene-linear Rec.709-sRGB.
setup="hostConfig -resetColorManagement"
check "new nodes take the file rules' space" "// Result: 4 //
// Result: 1 //
// Result: 1 //
// Result: $scene //
// Result: $scene //
" "cineSheet -f \"/x/plate.####.exr\"; getAttr cineSheetShape1.colorSpace;
    cineSheet -f \"/x/clip.mov\"; getAttr cineSheetShape2.colorSpace;
    cineSheet; setAttr cineSheetShape3.colorSpace 3;
    cineSheet -f \"/x/none.mov\"; setAttr cineSheetShape4.colorSpace 0;
    createNode CineSheet -n legacyShape; setAttr legacyShape.file -type \"string\" \"$legacy\";
    getAttr legacyShape.colorSpace;
    file -rename \"$scene\"; file -save"
grep -q 'cineSheetShape3.colorSpaceName" "ACEScg";' "$scene" ||
    fail "the chosen name is not saved"
# A scene from before names were kept: the field alone, as then.
sed -i '/legacyShape.colorSpaceName/d; s/setAttr "legacyShape.colorSpace" 1;//' "$scene"
printf 'setAttr "legacyShape.colorSpace" 2;\n' >>"$scene"

setup="$v2"
check "opened under Maya's OCIO v2 names" "// Result: $scene //
// Result: 2 //
// Result: 3 //
// Result: 1 //
// Result: 0 //
// Result: 2 //
" "file -open \"$scene\";
    getAttr cineSheetShape1.colorSpace; getAttr cineSheetShape2.colorSpace;
    getAttr cineSheetShape3.colorSpace; getAttr cineSheetShape4.colorSpace;
    getAttr legacyShape.colorSpace"

check "default under Maya's OCIO v2 names" "// Result: 3 //
// Result: 3 //
// Result: 2 //
" "createNode CineSheet -n fresh; getAttr fresh.colorSpace;
    cineSheet -f \"/x/clip.mov\"; getAttr cineSheetShape1.colorSpace;
    cineSheet -f \"/x/plate.exr\"; getAttr cineSheetShape2.colorSpace"

setup="$studio"
check "no sRGB-like name: None, or what the rules give" "// Result: 0 //
// Result: 3 //
// Result: 1 //
" "createNode CineSheet -n fresh; getAttr fresh.colorSpace;
    hostConfig -fileRule \"*.mov\" \"Output - Rec.709\";
    cineSheet -f \"/x/clip.mov\"; getAttr cineSheetShape1.colorSpace;
    cineSheet -f \"/x/plate.exr\"; getAttr cineSheetShape2.colorSpace"

check "opened under a studio list" "// Result: $scene //
// Result: 1 //
// Result: 1 //
// Result: 0 //
" "file -open \"$scene\";
    getAttr cineSheetShape1.colorSpace; getAttr cineSheetShape3.colorSpace;
    getAttr cineSheetShape4.colorSpace"

finish
