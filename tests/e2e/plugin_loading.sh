#!/bin/sh
# Loading, using and unloading a plug-in through cinesheet-host.
set -u
plugin="${CINESHEET_TEST_PLUGIN_DIR:?}/libcmdtestplugin.so"
. "$(dirname "$0")/../support/e2e-common.sh"

"$host" -c "loadPlugin \"$plugin\"; cmdTestEcho -s \"two words\" -d 0.5 -i 3 -b off x -1;
    cmdTestCounter; cmdTestCounter; undo; cmdTestCounter -q; redo; cmdTestCounter -q;
    unloadPlugin libcmdtestplugin" >"$work/out" 2>"$work/err" || fail "use: $(cat "$work/err")"
[ "$(cat "$work/out")" = "// Result: libcmdtestplugin //
// Result: two words 0.5 int:3 false x -1 //
// Result: 1 //
// Result: 2 //
// Result: 1 //
// Result: 2 //" ] || fail "use output: $(cat "$work/out")"

"$host" -c "loadPlugin \"$plugin\"; loadPlugin \"$plugin\"; cmdTestCounter" >/dev/null \
    2>"$work/err" || fail "loading twice stopped the script: $(cat "$work/err")"
grep -q 'Warning: .*already loaded' "$work/err" || fail "loading twice: $(cat "$work/err")"
"$host" -c "loadPlugin \"$plugin\"; loadPlugin -quiet \"$plugin\"" >/dev/null 2>"$work/err" &&
    [ ! -s "$work/err" ] || fail "quiet second load: $(cat "$work/err")"

"$host" -c "loadPlugin \"$plugin\"; cmdTestEcho -i 2.5" >/dev/null 2>"$work/err" &&
    fail "a fraction for an integer flag worked"
"$host" -c "loadPlugin \"$work/nothing.so\"" >/dev/null 2>&1 && fail "loading a missing file worked"
echo "not a library" >"$work/libfake.so"
"$host" -c "loadPlugin \"$work/libfake.so\"" >/dev/null 2>&1 && fail "loading a non-library worked"

"$host" -c "loadPlugin \"$plugin\"; createNode cmdTestNode -n n1; unloadPlugin libcmdtestplugin" \
    >/dev/null 2>"$work/err" && fail "unloading with nodes in the scene worked"
grep -q 'in use' "$work/err" || fail "unload refusal: $(cat "$work/err")"
"$host" -c "loadPlugin \"$plugin\"; createNode cmdTestNode -n n1; unloadPlugin -f libcmdtestplugin;
    objExists n1; loadPlugin \"$plugin\"" >"$work/out" 2>"$work/err" || fail "forced unload: $(cat "$work/err")"
[ "$(sed -n 3p "$work/out")" = "// Result: 0 //" ] || fail "forced unload kept the node"

CMDTEST_FAIL_AT=command "$host" -c "loadPlugin \"$plugin\"" >/dev/null 2>"$work/err" &&
    fail "a failing initializePlugin loaded"
grep -q 'initializePlugin function failed (libcmdtestplugin)' "$work/err" || fail "failure message"

finish
