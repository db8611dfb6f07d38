#!/bin/sh
# Twelve video nodes on a host whose task pool has two threads: every node shows its frame, as
# the decoding pool's threads are the plug-in's own, not the host's; deleting the nodes, a new
# scene and unloading the plug-in each come back with the work ended (the statements after them
# still run).
set -eu
: "${CINESHEET_HOST:?}" "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 48 -c:v libx264 \
    -g 8 -keyint_min 8 -sc_threshold 0 -bf 2 -pix_fmt yuv420p "$work/clip.mov"

nodes=12
make_node() {
    echo "cineSheet -camera shotCam -filePath \"$work/clip.mov\" -startFrame 0;"
}

timeout 300 "$host" -c "
threadCount -n 2;
loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
$(each_node make_node)
currentTime 13; refresh;
$(each_node dump_node f13)
currentTime 30; refresh;
$(each_node dump_node f30)
delete cineSheet1 cineSheet2 cineSheet3 cineSheet4 cineSheet5 cineSheet6;
print \"deleted\\n\";
file -f -new;
print \"new scene\\n\";
camera -n shotCam;
$(each_node make_node)
currentTime 5; refresh;
$(each_node dump_node f5)
unloadPlugin -f \"libCineSheet\";
print \"unloaded\\n\";
" >"$work/out.txt" 2>&1 || fail "the session did not end: $(tail -5 "$work/out.txt")"

for line in deleted "new scene" unloaded; do
    grep -q "^$line\$" "$work/out.txt" || fail "no \"$line\" in the output"
done

for frame in 13 30 5; do
    ffmpeg -nostdin -v error -y -i "$work/clip.mov" -vf "select=eq(n\,$frame)" \
        -fps_mode passthrough -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/expected.rgb"
    i=1
    while [ "$i" -le "$nodes" ]; do
        if [ -f "$work/f$frame.$i.rgba" ]; then
            ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 96x64 \
                -i "$work/f$frame.$i.rgba" -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
            cmp -s "$work/expected.rgb" "$work/got.rgb" || fail "node $i: frame $frame differs"
        else
            fail "node $i: no texture at frame $frame"
        fi
        i=$((i + 1))
    done
done
finish
