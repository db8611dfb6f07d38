#!/bin/sh
# What a refresh waits for outside an artist's viewport (the late frames of an interactive one
# come through the idle queue, which the late-frame suite checks): a playblast in an interactive
# session and a batch session (-batch, no idle events) give the exact frame (the ffmpeg tool's
# decode, byte for byte) at a cold deep jump with the idle queue never run, and a late frame in a
# playblast is warned about at once, by node and frame.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=320x180:r=24 -frames:v 240 -c:v libx264 \
    -g 240 -keyint_min 240 -sc_threshold 0 -pix_fmt yuv420p "$work/clip.mp4" ||
    fail "cannot make clip.mp4"
ffmpeg -nostdin -v error -y -i "$work/clip.mp4" -sws_flags bilinear -pix_fmt rgb24 \
    -f rawvideo "$work/tool.rgb" || fail "the tool cannot decode clip.mp4"

# picture DUMP: which frame of the tool's decode the texture is ("card" when 256 x 256, "none"),
# and whether its top right corner bears the orange mark ("marked"); frames are compared below
# the mark only.
cat >"$work/picture.py" <<'PY'
import sys
dump = open(sys.argv[1], 'rb').read()
if len(dump) == 256 * 256 * 4:
    print('card'); sys.exit()
w, h = 320, 180
tool = open(sys.argv[2], 'rb').read()
rgb = bytes(b for i, b in enumerate(dump) if i % 4 != 3)
size = w * h * 3
lower = slice(size // 2, size)
found = [n for n in range(len(tool) // size) if tool[n * size:(n + 1) * size][lower] == rgb[lower]]
exact = [n for n in found if tool[n * size:(n + 1) * size] == rgb]
corner = dump[(w - 1) * 4:w * 4]
print((str(exact[0]) if exact else ('near' + str(found[0]) if found else 'none')) +
      (' marked' if corner == bytes([255, 128, 0, 255]) else ''))
PY
picture() {
    python3 "$work/picture.py" "$1" "$work/tool.rgb"
}

dump() {
    echo "textureDump -node cineSheetShape1 -file \"$work/$1.rgba\";"
}
scene="loadPlugin \"$plugin\"; camera -n shotCam;
    cineSheet -camera shotCam -filePath \"$work/clip.mp4\" -startFrame 0; setAttr cineSheetShape1.cacheFrames 20;"

# A playblast, and a batch session's refresh and playblast, at a cold deep jump.
"$host" --interactive -c "$scene
{ \$base = \`viewportStats -q -refreshes\`;
  playblast -st 200 -et 200 -w 32 -h 18 -f \"$work/pb\"; $(dump playblast)
  print (\"refreshes \" + (\`viewportStats -q -refreshes\` - \$base) + \"\\n\"); }" \
    >"$work/out" 2>"$work/err" || fail "playblast: $(cat "$work/err")"
[ "$(picture "$work/playblast.rgba")" = 200 ] ||
    fail "a playblast shows $(picture "$work/playblast.rgba")"
grep -q '^refreshes 1$' "$work/out" || fail "a playblast refreshed $(grep '^refreshes' "$work/out")"
"$host" -batch -c "$scene currentTime 230; refresh; $(dump batch230)
    playblast -st 120 -et 120 -w 32 -h 18 -f \"$work/pb\"; $(dump batch120)" \
    >"$work/out" 2>"$work/err" || fail "batch: $(cat "$work/err")"
[ "$(picture "$work/batch230.rgba")" = 230 ] || fail "batch shows $(picture "$work/batch230.rgba")"
[ "$(picture "$work/batch120.rgba")" = 120 ] || fail "batch shows $(picture "$work/batch120.rgba")"

# A frame a playblast cannot wait for: warned about during the playblast, not after it.
CINESHEET_FRAME_WAIT_MS=0 "$host" -batch -c "$scene
    playblast -st 200 -et 200 -w 32 -h 18 -f \"$work/pb\";" >"$work/out" 2>"$work/err" ||
    fail "late playblast: $(cat "$work/err")"
warning=$(grep -n 'Warning: cineSheetShape1: .*200' "$work/err" | head -n 1 | cut -d: -f1)
ended=$(grep -n '^playblast: 1 frames in' "$work/err" | cut -d: -f1)
[ -n "$warning" ] && [ -n "$ended" ] && [ "$warning" -lt "$ended" ] ||
    fail "no warning during the playblast: $(cat "$work/err")"
finish
