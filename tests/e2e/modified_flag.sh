#!/bin/sh
# The scene's modified flag through cinesheet-host: drawing, playing and reading leave a saved
# scene unmodified; a change marks it; opening the saved scene clears it.
set -u
plugin="${CINESHEET_TEST_PLUGIN_DIR:?}/libtestplane.so"
. "$(dirname "$0")/../support/e2e-common.sh"
scene="$work/drawn.ma"

out=$("$host" -c "loadPlugin \"$plugin\";
    camera -n shotCam; createNode transform -n plane; createNode testPlane -n planeShape -p plane;
    setAttr plane.translateZ -10; lookThru shotCam;
    file -rename \"$scene\"; file -save; file -q -modified;
    refresh; snapshot -width 32 -height 24 -file \"$work/snap.png\";
    playblast -startTime 1 -endTime 3 -width 32 -height 24 -filename \"$work/pb\";
    currentTime 7; getAttr planeShape.worldMatrix; ls -type testPlane; file -q -modified;
    setAttr plane.translateX 1; file -q -anyModified;
    file -f -open \"$scene\"; file -q -modified" 2>"$work/err") || fail "$(cat "$work/err")"
flags=$(echo "$out" | grep -x '// Result: [01] //' | tr -d '/ :Result' | tr -d '\n')
[ "$flags" = "0010" ] || fail "modified after save, draw and play, change, open: $flags
$out"

finish
