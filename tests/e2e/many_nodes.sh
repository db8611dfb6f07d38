#!/bin/sh
# Twenty-four video nodes, half of them on long-GOP H.264 and half on intra-only MJPEG, on a host
# whose task pool has two threads, all served by the one decoding pool (its threads are the
# plug-in's own, not the host's): every node shows its exact frame at each refresh, and deleting
# the nodes, a new scene and unloading the plug-in each come back with the work ended (the
# statements after them run).
set -eu
: "${CINESHEET_HOST:?}" "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 48 -c:v libx264 \
    -g 8 -keyint_min 8 -sc_threshold 0 -bf 2 -pix_fmt yuv420p "$work/long.mov"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=96x64:r=24 -frames:v 48 -vf hue=h=90 \
    -c:v mjpeg -q:v 3 -pix_fmt yuvj420p "$work/intra.mov"

nodes=24
clip_of() {
    if [ $(($1 % 2)) -eq 0 ]; then echo long; else echo intra; fi
}
make_node() {
    echo "cineSheet -camera shotCam -filePath \"$work/$(clip_of "$1").mov\" -startFrame 0;"
}

timeout 600 "$host" -c "
threadCount -n 2;
loadPlugin \"$CINESHEET_PLUGIN\";
camera -n shotCam;
$(each_node make_node)
currentTime 13; refresh;
$(each_node dump_node f13)
currentTime 14; refresh;
$(each_node dump_node f14)
currentTime 40; refresh;
$(each_node dump_node f40)
delete cineSheet1 cineSheet2 cineSheet3 cineSheet4 cineSheet5 cineSheet6 cineSheet7;
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

for clip in long intra; do
    for frame in 5 13 14 40; do
        ffmpeg -nostdin -v error -y -i "$work/$clip.mov" -vf "select=eq(n\,$frame)" \
            -fps_mode passthrough -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo \
            "$work/expected.$clip.$frame.rgb"
    done
done
for frame in 5 13 14 40; do
    i=1
    while [ "$i" -le "$nodes" ]; do
        [ -f "$work/f$frame.$i.rgba" ] || fail "node $i: no texture at frame $frame"
        ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 96x64 \
            -i "$work/f$frame.$i.rgba" -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
        cmp -s "$work/expected.$(clip_of "$i").$frame.rgb" "$work/got.rgb" ||
            fail "node $i: frame $frame differs"
        i=$((i + 1))
    done
done
finish
