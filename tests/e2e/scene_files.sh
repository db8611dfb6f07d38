#!/bin/sh
# Saving a scene as a command script and opening it again.
set -u
plugin="${CINESHEET_TEST_PLUGIN_DIR:?}/libcmdtestplugin.so"
. "$(dirname "$0")/../support/e2e-common.sh"
scene="$work/round trip.ma"

"$host" -c "loadPlugin \"$plugin\";
    createNode transform -n mover;
    setAttr mover.translate 1 2.5 -3;
    createNode cmdTestNode -n probe;
    setAttr probe.weight 0.25;
    setAttr probe.scratch 9;
    camera -n shot;
    setAttr shotShape.focalLength 50;
    setAttr persp.scaleZ 2;
    createNode transform -n child -p mover;
    connectAttr mover.translateX child.translateZ;
    file -rename \"$scene\";
    file -save" >"$work/save.out" 2>"$work/save.err" || fail "saving: $(cat "$work/save.err")"

[ -f "$scene" ] || fail "no scene file written"
grep -q '^requires "libcmdtestplugin" "2.5";$' "$scene" || fail "no requires line"
grep -q '^createNode cmdTestNode -n "probe";$' "$scene" || fail "plug-in node not written"
grep -q '^createNode transform -n "child" -p "mover";$' "$scene" || fail "parent not written"
grep -q 'probe.weight" 0.25;$' "$scene" || fail "storable value not written"
grep -q 'scratch' "$scene" && fail "non-storable attribute written"
grep -q 'createNode .* -n "persp"' "$scene" && fail "default node recreated"
grep -q 'persp.scaleZ" 2;$' "$scene" || fail "changed default node value not written"
grep -q '^connectAttr "mover.translateX" "child.translateZ";$' "$scene" || fail "connection not written"

# A fresh program opens it: the plug-in is loaded by the requires line.
export MAYA_PLUG_IN_PATH="${CINESHEET_TEST_PLUGIN_DIR}"
"$host" -c "file -f -open \"$scene\";
    getAttr mover.translate; getAttr probe.weight; getAttr probe.scratch;
    getAttr shotShape.focalLength; getAttr persp.scaleZ;
    setAttr mover.translateX 7; getAttr child.translateZ;
    listConnections -s off mover; undo" >"$work/open.out" 2>"$work/open.err" ||
    fail "opening: $(cat "$work/open.err")"
expected="// Result: $scene //
// Result: 1 2.5 -3 //
// Result: 0.25 //
// Result: 0 //
// Result: 50 //
// Result: 2 //
// Result: 7 //
// Result: child //"
[ "$(cat "$work/open.out")" = "$expected" ] || fail "opened scene: $(cat "$work/open.out")"

# Saving the opened scene gives the same file.
"$host" -c "file -open \"$scene\"; file -rename \"$work/again.ma\"; file -save" >/dev/null 2>&1 ||
    fail "saving again"
sed 1,2d "$scene" >"$work/first"
sed 1,2d "$work/again.ma" | grep -v '^// End' >"$work/second"
grep -v '^// End' "$work/first" >"$work/first.body"
diff -u "$work/first.body" "$work/second" >&2 || fail "saved twice, the scenes differ"

# file -new empties the scene and the undo queue.
"$host" -c "createNode transform -n gone; file -new; objExists gone; undo; objExists persp" \
    >"$work/new.out" 2>/dev/null || fail "file -new"
[ "$(cat "$work/new.out")" = "// Result: gone //
// Result: 0 //
// Result: 1 //" ] || fail "file -new output: $(cat "$work/new.out")"

"$host" -c "file -open \"$work/missing.ma\"" >/dev/null 2>&1 && fail "opening a missing file worked"
"$host" -c "file -save" >/dev/null 2>&1 && fail "saving an unnamed scene worked"

finish
