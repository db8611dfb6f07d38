#!/bin/sh
# Video of more than 8 bits a component at cacheDepth "Half" reaches the texture as half float:
# the ffmpeg tool's 16-bit RGB decode (gbrp16le) of the same frame, each sample v made the half
# nearest v / 65535, alpha 1, byte for byte (both conversions are exact and deterministic: the
# same scaler with the same flags, then one correctly rounded step). 10-bit ProRes and HEVC,
# ProRes 4444 with alpha (shown opaque), Full and Half resolution, a turned clip, and gamma. At
# Auto and "8-bit" the same clip is 8-bit as before, and 8-bit video stays 8-bit at "Half"; a
# depth change on a shown node replaces its frames.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"

clip() {
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=160x90:r=24 -frames:v 24 "$@" ||
        fail "cannot make $(eval echo \${$#})"
}
clip -c:v prores_ks -profile:v 3 -pix_fmt yuv422p10le "$work/prores.mov"
clip -c:v libx265 -x265-params log-level=error:keyint=8 -pix_fmt yuv420p10le "$work/hevc.mp4"
ffmpeg -nostdin -v error -y -i "$work/hevc.mp4" -c copy -metadata:s:v:0 rotate=90 \
    "$work/turned.mp4" || fail "cannot make turned.mp4"
clip -c:v libx264 -pix_fmt yuv420p "$work/eight.mp4"
# ProRes 4444 with a ramp in its alpha (12-bit with alpha as FFmpeg decodes it): shown opaque.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=160x90:r=24 -frames:v 4 \
    -vf "format=yuva444p,geq=lum='lum(X,Y)':cb='cb(X,Y)':cr='cr(X,Y)':a='X'" \
    -c:v prores_ks -profile:v 4 -pix_fmt yuva444p10le "$work/alpha.mov" || fail "cannot make alpha.mov"

# halves IN OUT WIDTH HEIGHT DIVISOR [GAMMA]: the tool's gbrp16le planes as half-float RGBA, every
# DIVISOR-th pixel of every DIVISOR-th row, alpha 1; with GAMMA, red, green and blue raised to it.
cat >"$work/halves.py" <<'PY'
import struct, sys
source, target, width, height, divisor = sys.argv[1], sys.argv[2], *map(int, sys.argv[3:6])
gamma = float(sys.argv[6]) if len(sys.argv) > 6 else None
half = [struct.pack('<e', v / 65535.0) for v in range(65536)]
one = struct.pack('<e', 1.0)
data = open(source, 'rb').read()
samples = struct.unpack('<%dH' % (len(data) // 2), data)
plane = width * height
red, green, blue = 2 * plane, 0, plane
out = bytearray()
for y in range(0, height - height % divisor if height >= divisor else 1, divisor):
    for x in range(0, width - width % divisor if width >= divisor else 1, divisor):
        at = y * width + x
        for start in (red, green, blue):
            h = half[samples[start + at]]
            if gamma is not None:
                h = struct.pack('<e', struct.unpack('<e', h)[0] ** gamma)
            out += h
        out += one
open(target, 'wb').write(bytes(out))
PY

# tool_frame CLIP FRAME PIXFMT OUT: the tool's decode of the clip's frame, turned as it shows it.
tool_frame() {
    ffmpeg -nostdin -v error -y -i "$1" -vf "select=eq(n\,$2)" -fps_mode passthrough \
        -frames:v 1 -sws_flags bilinear -pix_fmt "$3" -f rawvideo "$4" ||
        fail "the tool cannot decode frame $2 of $1"
}

# dump CLIP SETTINGS FRAMES...: texture dumps t<frame>.rgba after SETTINGS, one per frame.
dump() {
    clipfile=$1 settings=$2
    shift 2
    commands=""
    for frame in "$@"; do
        commands="$commands currentTime $frame; refresh;
            textureDump -node cineSheetShape1 -file \"$work/t$frame.rgba\";"
    done
    rm -f "$work"/t*.rgba
    "$host" -c "loadPlugin \"$plugin\"; camera -n shotCam;
        cineSheet -camera shotCam -filePath \"$clipfile\" -startFrame 0; $settings; $commands" \
        >"$work/out" 2>"$work/err" || fail "dump $settings: $(cat "$work/err")"
}

# same_as_half_tool CLIP FRAME DUMP WIDTH HEIGHT DIVISOR [GAMMA]
same_as_half_tool() {
    tool_frame "$1" "$2" gbrp16le "$work/tool.gbrp16"
    python3 "$work/halves.py" "$work/tool.gbrp16" "$work/tool.half" "$4" "$5" "$6" ${7:-} ||
        fail "halves.py failed"
    cmp -s "$3" "$work/tool.half" || fail "$1 frame $2 (divisor $6 ${7:-}) is not the tool's half"
}

# same_as_8bit_tool CLIP FRAME DUMP: the 8-bit texture is the tool's RGB24 decode, alpha 255.
same_as_8bit_tool() {
    tool_frame "$1" "$2" rgb24 "$work/tool.rgb"
    ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s "$4" -i "$3" -pix_fmt rgb24 \
        -f rawvideo "$work/got.rgb" || fail "cannot read $3"
    cmp -s "$work/got.rgb" "$work/tool.rgb" || fail "$1 frame $2 is not the tool's 8-bit decode"
}

for source in prores.mov hevc.mp4; do
    dump "$work/$source" "setAttr cineSheetShape1.cacheDepth 2" 0 13
    for frame in 0 13; do
        [ "$(wc -c <"$work/t$frame.rgba")" -eq $((160 * 90 * 8)) ] ||
            fail "$source frame $frame is not half float at Half"
        same_as_half_tool "$work/$source" "$frame" "$work/t$frame.rgba" 160 90 1
    done
    dump "$work/$source" "setAttr cineSheetShape1.cacheDepth 0" 13
    [ "$(wc -c <"$work/t13.rgba")" -eq $((160 * 90 * 4)) ] || fail "$source is not 8-bit at Auto"
    same_as_8bit_tool "$work/$source" 13 "$work/t13.rgba" 160x90
done

dump "$work/alpha.mov" "setAttr cineSheetShape1.cacheDepth 2" 1
same_as_half_tool "$work/alpha.mov" 1 "$work/t1.rgba" 160 90 1

dump "$work/prores.mov" "setAttr cineSheetShape1.cacheDepth 2;
    setAttr cineSheetShape1.cacheResolution 1" 5
[ "$(wc -c <"$work/t5.rgba")" -eq $((80 * 45 * 8)) ] || fail "Half resolution is not 80x45 half"
same_as_half_tool "$work/prores.mov" 5 "$work/t5.rgba" 160 90 2

dump "$work/turned.mp4" "setAttr cineSheetShape1.cacheDepth 2" 9
[ "$(wc -c <"$work/t9.rgba")" -eq $((90 * 160 * 8)) ] || fail "the turned clip is not 90x160 half"
same_as_half_tool "$work/turned.mp4" 9 "$work/t9.rgba" 90 160 1

dump "$work/prores.mov" "setAttr cineSheetShape1.cacheDepth 2; setAttr cineSheetShape1.gamma 2" 3
same_as_half_tool "$work/prores.mov" 3 "$work/t3.rgba" 160 90 1 2

dump "$work/prores.mov" "setAttr cineSheetShape1.cacheDepth 1" 4
same_as_8bit_tool "$work/prores.mov" 4 "$work/t4.rgba" 160x90

dump "$work/eight.mp4" "setAttr cineSheetShape1.cacheDepth 2" 6
same_as_8bit_tool "$work/eight.mp4" 6 "$work/t6.rgba" 160x90

# A node showing the clip at Half, then at Auto, then at Half again, at the same frame.
"$host" -c "loadPlugin \"$plugin\"; camera -n shotCam;
    cineSheet -camera shotCam -filePath \"$work/prores.mov\" -startFrame 0;
    setAttr cineSheetShape1.cacheDepth 2; currentTime 7; refresh;
    textureDump -node cineSheetShape1 -file \"$work/first.rgba\";
    setAttr cineSheetShape1.cacheDepth 0; refresh;
    textureDump -node cineSheetShape1 -file \"$work/auto.rgba\";
    setAttr cineSheetShape1.cacheDepth 2; refresh;
    textureDump -node cineSheetShape1 -file \"$work/again.rgba\";" >"$work/out" 2>"$work/err" ||
    fail "depth change: $(cat "$work/err")"
same_as_half_tool "$work/prores.mov" 7 "$work/first.rgba" 160 90 1
same_as_8bit_tool "$work/prores.mov" 7 "$work/auto.rgba" 160x90
cmp -s "$work/first.rgba" "$work/again.rgba" || fail "Half again is not the first Half picture"

finish
