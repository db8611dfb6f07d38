#!/bin/sh
# Float plates reach the viewport as half float: a dark linear ramp keeps its levels through the
# view and matches ocioconvert's conversion under the scene-linear, ACEScg and Raw spaces; values
# past 1 stay in the texture and gamma raises them; "8-bit" keeps today's 8-bit texture.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"
config="$(dirname "$0")/../../host/ocio/config.ocio"
unset OCIO

# float_plate FILE WIDTH HEIGHT EXPRESSION: a half-float EXR whose red, green and blue are the
# Python expression of x (the column) and w (the width).
float_plate() {
    python3 -c "
import struct, sys
w, h = $2, $3
row = [float($4) for x in range(w)]
plane = struct.pack('<%df' % (w * h), *(row * h))
sys.stdout.buffer.write(plane * 3)" >"$work/plate.gbrpf32" || fail "cannot write $1"
    ffmpeg -v error -y -f rawvideo -pix_fmt gbrpf32le -s "$2x$3" -i "$work/plate.gbrpf32" \
        -format half -compression none "$1" || fail "cannot make $1"
}

bytes_of() {
    ffmpeg -v error -i "$1" -f rawvideo -pix_fmt rgb24 - | od -An -tu1 -v | tr -s ' ' '\n' |
        grep -v '^$'
}

maxdiff() {
    bytes_of "$1" >"$work/a.txt"
    bytes_of "$2" >"$work/b.txt"
    paste "$work/a.txt" "$work/b.txt" |
        awk 'BEGIN { m = 0; n = 0 } { d = $1 - $2; if (d < 0) d = -d; if (d > m) m = d; n++ }
             END { print (n == 0 ? 999 : m) }'
}

# Distinct red values along the first row.
levels() {
    bytes_of "$1" | awk -v w="$2" 'NR <= 3 * w && NR % 3 == 1' | sort -u | wc -l
}

# show PATTERN WIDTH HEIGHT SETTINGS: snapshots and dumps the plate's texture after SETTINGS.
show() {
    "$host" -c "loadPlugin \"$plugin\";
        setAttr defaultResolution.width $2; setAttr defaultResolution.height $3;
        camera -n shotCam; cineSheet -camera shotCam -filePath \"$1\";
        lookThru shotCam; $4; currentTime 1;
        snapshot -file \"$work/snap.png\";
        textureDump -node cineSheetShape1 -file \"$work/texture.rgba\"" >"$work/out" \
        2>"$work/err" || fail "show $4: $(cat "$work/err")"
}

view_of() {
    OCIO="$config" ocioconvert --view "$1" "$2" "$work/ref.png" sRGB "sRGB gamma" \
        >/dev/null 2>&1 || fail "ocioconvert $2 failed"
}

# A ramp from 0 to 0.05 across 1920 columns, scene-linear by the file rules.
float_plate "$work/ramp.0001.exr" 1920 4 "0.05 * x / (w - 1)"
view_of "$work/ramp.0001.exr" "scene-linear Rec.709-sRGB"
show "$work/ramp.####.exr" 1920 4 "getAttr -asString cineSheetShape1.colorSpace"
grep -q "// Result: From File Rules //" "$work/out" || fail "the EXR is not left to the rules"
[ "$(wc -c <"$work/texture.rgba")" -eq $((1920 * 4 * 8)) ] || fail "the texture is not half float"
ramp_levels=$(levels "$work/snap.png" 1920)
[ "$ramp_levels" -ge 55 ] || fail "the ramp shows $ramp_levels levels"
difference=$(maxdiff "$work/snap.png" "$work/ref.png")
[ "$difference" -le 1 ] || fail "scene-linear ramp differs from ocioconvert by $difference"
echo "ramp: $ramp_levels levels, at most $difference from ocioconvert"

show "$work/ramp.####.exr" 1920 4 "setAttr cineSheetShape1.cacheDepth 1"
[ "$(wc -c <"$work/texture.rgba")" -eq $((1920 * 4 * 4)) ] || fail "8-bit is not 8-bit"
eight_levels=$(levels "$work/snap.png" 1920)
[ "$eight_levels" -le 16 ] || fail "the 8-bit ramp shows $eight_levels levels"
echo "ramp at 8-bit: $eight_levels levels"

# Brighter colours under ACEScg and Raw (taken as ACEScg values).
float_plate "$work/bright.0001.exr" 256 4 "1.5 * x / (w - 1)"
view_of "$work/bright.0001.exr" ACEScg
for space in 3 2; do
    show "$work/bright.####.exr" 256 4 "setAttr cineSheetShape1.colorSpace $space"
    difference=$(maxdiff "$work/snap.png" "$work/ref.png")
    [ "$difference" -le 1 ] || fail "space $space differs from ocioconvert by $difference"
done

# Values up to 4.0 stay in the texture; gamma 2 makes 4.0 16.0. Texel 255 of the first row.
float_plate "$work/hot.0001.exr" 256 2 "4.0 * x / (w - 1)"
texel_red() {
    od -An -tu2 -v -j $((255 * 8)) -N2 "$work/texture.rgba" | tr -d ' '
}
show "$work/hot.####.exr" 256 2 "setAttr cineSheetShape1.colorSpace 4"
[ "$(texel_red)" = "$((0x4400))" ] || fail "4.0 is not kept: $(texel_red)"
show "$work/hot.####.exr" 256 2 "setAttr cineSheetShape1.gamma 2"
[ "$(texel_red)" = "$((0x4C00))" ] || fail "gamma 2 does not make 4.0 16.0: $(texel_red)"

# At "8-bit" the texture holds the ffmpeg tool's 8-bit decode, as before.
show "$work/hot.####.exr" 256 2 "setAttr cineSheetShape1.cacheDepth 1"
ffmpeg -v error -i "$work/hot.0001.exr" -f rawvideo -pix_fmt rgba "$work/tool.rgba"
cmp -s "$work/texture.rgba" "$work/tool.rgba" || fail "8-bit is not the tool's decode"

# A plate switched from an EXR to a PNG sequence takes the PNG's space from the file rules, as a
# new plate would: its grey of 128 shows as 128, not brightened as scene-linear. A space chosen by
# hand stays through the switch.
ffmpeg -v error -f lavfi -i color=c=0x808080:s=64x48 -frames:v 1 "$work/grey.0001.png" ||
    fail "cannot make the grey plate"
float_plate "$work/dark.0001.exr" 64 48 "0.2"
switch='refresh; setAttr -type "string" cineSheetShape1.file "'"$work/grey.####.png"'"'
for case in "rules:$switch:128" "by hand:setAttr cineSheetShape1.colorSpace 4; $switch:188"; do
    name=${case%%:*} rest=${case#*:}
    show "$work/dark.####.exr" 64 48 "${rest%:*}"
    red=$(bytes_of "$work/snap.png" | sed -n "$(((24 * 64 + 32) * 3 + 1))p")
    [ "$red" = "${rest##*:}" ] || fail "switched to PNG ($name): grey 128 shows as $red"
done

finish
