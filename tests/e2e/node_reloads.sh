#!/bin/sh
# Several video nodes reloaded again and again while the frame changes (the Attribute Editor's
# Reload button pressed during a scrub): work planned against a node's former blocks must not be
# served against the blocks of the reopened file. The session must live on and every node end on
# the reference decoder's picture. Also run by `make sanitize` under both sanitizers.
set -eu
: "${CINESHEET_HOST:?}" "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=640x360:r=24 -frames:v 48 -c:v libx264 \
    -g 12 -keyint_min 12 -sc_threshold 0 -bf 2 -pix_fmt yuv420p "$work/clip.mov"

nodes=4
rounds=${RELOAD_ROUNDS:-80}
make_node() {
    echo "cineSheet -camera shotCam -filePath \"$work/clip.mov\" -startFrame 0;"
}
reload_node() {
    echo "cineSheetReload cineSheet$1;"
}
rounds_script() {
    round=0
    while [ "$round" -lt "$rounds" ]; do
        each_node reload_node
        echo "currentTime $((5 + round % 3)); refresh;"
        round=$((round + 1))
    done
}

timeout 600 "$host" -c "
loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
$(each_node make_node)
currentTime 5; refresh;
$(rounds_script)
currentTime 9; snapshot -width 8 -height 8 -file \"$work/grab.png\";
$(each_node dump_node f9)
print \"rounds done\\n\";
" >"$work/out.txt" 2>&1 || fail "the session did not end: $(tail -5 "$work/out.txt")"

grep -q "^rounds done\$" "$work/out.txt" || fail "the rounds did not finish"

ffmpeg -nostdin -v error -y -i "$work/clip.mov" -vf "select=eq(n\,9)" -fps_mode passthrough \
    -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/expected.rgb"
check_node() {
    if [ -f "$work/f9.$1.rgba" ]; then
        ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 640x360 -i "$work/f9.$1.rgba" \
            -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
        cmp -s "$work/expected.rgb" "$work/got.rgb" || fail "node $1: frame 9 differs"
    else
        fail "node $1: no texture at frame 9"
    fi
}
each_node check_node
finish
