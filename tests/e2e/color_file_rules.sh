#!/bin/sh
# colorManagementFileRules -evaluate through cinesheet-host: the default rules name their spaces
# from the configuration's list, rules set by hostConfig come first.
set -u
. "$(dirname "$0")/../support/e2e-common.sh"

# expect_spaces NAME SETUP EXPECTED -- paths...: evaluates each path after SETUP.
expect_spaces() {
    name=$1 setup=$2 expected=$3
    shift 4
    script="$setup"
    for path in "$@"; do
        script="$script; colorManagementFileRules -evaluate \"$path\""
    done
    "$host" -c "$script" >"$work/out" 2>"$work/err" </dev/null || fail "$name: $(cat "$work/err")"
    printf '%s' "$expected" >"$work/expected"
    if ! diff -u "$work/expected" "$work/out" >"$work/diff"; then
        fail "$name: spaces differ"
        cat "$work/diff" >&2
    fi
}

expect_spaces "default list" "hostConfig -resetColorManagement" "// Result: scene-linear Rec.709-sRGB //
// Result: scene-linear Rec.709-sRGB //
// Result: sRGB //
// Result: sRGB //
// Result: sRGB //
// Result: sRGB //
" -- /plates/a.0001.exr /x/sky.hdr /x/clip.mov /x/b.0001.png /x/c.jpg /x/PLATE.EXR

expect_spaces "OCIO v2 default names" \
    'hostConfig -inputSpaceNames "ACES2065-1,ACEScg,Linear Rec.709 (sRGB),sRGB Encoded Rec.709 (sRGB),Raw"' \
    "// Result: Linear Rec.709 (sRGB) //
// Result: sRGB Encoded Rec.709 (sRGB) //
// Result: sRGB Encoded Rec.709 (sRGB) //
" -- /p/a.exr /p/clip.mov /p/b.dpx

# A studio list without any sRGB-like name: the rendering space, unless a rule says otherwise.
expect_spaces "no sRGB name" \
    'hostConfig -inputSpaceNames "ACEScg,ACES2065-1,Output - Rec.709" -renderingSpaceName ACEScg' \
    "// Result: ACEScg //
// Result: ACEScg //
" -- /p/a.exr /p/clip.mov

expect_spaces "rules set, the latest first" \
    'hostConfig -fileRule "*.mov" "Output - Rec.709" -fileRule "*/plates/*" "ACES2065-1"' \
    "// Result: Output - Rec.709 //
// Result: ACES2065-1 //
// Result: ACES2065-1 //
// Result: sRGB //
// Result: scene-linear Rec.709-sRGB //
" -- /x/clip.mov /show/plates/clip.mov /show/plates/a.png /x/a.png /x/a.exr

expect_spaces "reset drops the rules" \
    'hostConfig -fileRule "*" "Raw"; hostConfig -resetColorManagement' "// Result: sRGB //
" -- /x/a.png

"$host" -c 'hostConfig -fault colorManagementQuery on; colorManagementFileRules -evaluate "/x/a.png"' \
    >"$work/out" 2>&1 && fail "fault: evaluate succeeded"
grep -q "color management is not available" "$work/out" || fail "fault: $(cat "$work/out")"

finish
