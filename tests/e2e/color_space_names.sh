#!/bin/sh
# Colour spaces by name through cinesheet-host: nodes start on the file rules; a scene saved under
# one configuration's list and opened under another shows the spaces of the same names, a name the
# other list lacks is kept (never taken for another space), and a scene saved before names were
# kept keeps its field.
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

# spaces N...: the space of each cineSheetShapeN by name.
spaces() {
    for n in "$@"; do
        printf 'getAttr -asString cineSheetShape%s.colorSpace; ' "$n"
    done
}

# Default list: sRGB, Raw, ACEScg, scene-linear Rec.709-sRGB.
setup="hostConfig -resetColorManagement"
check "new nodes take the file rules" "// Result: From File Rules //
// Result: From File Rules //
// Result: From File Rules //
// Result: $scene //
// Result: $scene //
" "cineSheet -f \"/x/plate.####.exr\"; cineSheet -f \"/x/clip.mov\";
    cineSheet; setAttr cineSheetShape3.colorSpace 3;
    cineSheet -f \"/x/none.mov\"; setAttr cineSheetShape4.colorSpace 0;
    cineSheet -f \"/x/srgb.mov\"; setAttr cineSheetShape5.colorSpace 1;
    createNode CineSheet -n legacyShape; setAttr legacyShape.file -type \"string\" \"$legacy\";
    $(spaces 1 2) getAttr -asString legacyShape.colorSpace;
    file -rename \"$scene\"; file -save"
grep -q 'cineSheetShape3.colorSpaceName" "ACEScg";' "$scene" ||
    fail "the chosen name is not saved"
# A scene from before names were kept: the field alone, as then.
sed -i '/legacyShape.colorSpaceName/d' "$scene"
printf 'setAttr "legacyShape.colorSpace" 2;\n' >>"$scene"

setup="$v2"
check "opened under Maya's OCIO v2 names" "// Result: $scene //
// Result: From File Rules //
// Result: From File Rules //
// Result: ACEScg //
// Result: None //
// Result: sRGB //
// Result: Linear Rec.709 (sRGB) //
" "file -open \"$scene\"; $(spaces 1 2 3 4 5) getAttr -asString legacyShape.colorSpace"

setup="$studio"
check "opened under a studio list" "// Result: $scene //
// Result: ACEScg //
// Result: None //
// Result: sRGB //
// Result: 4 //
" "file -open \"$scene\"; $(spaces 3 4 5) getAttr cineSheetShape5.colorSpace"

finish
