#!/bin/sh
# Results, errors, exit codes and undo through cinesheet-host.
set -u
. "$(dirname "$0")/../support/e2e-common.sh"

# expect_run NAME EXIT_CODE EXPECTED_STDOUT -- host arguments...
expect_run() {
    name=$1 code=$2 expected=$3
    shift 4
    "$host" "$@" >"$work/out" 2>"$work/err" </dev/null
    actual=$?
    [ "$actual" -eq "$code" ] || fail "$name: exit code $actual, expected $code ($(cat "$work/err"))"
    printf '%s' "$expected" >"$work/expected"
    if ! diff -u "$work/expected" "$work/out" >"$work/diff"; then
        fail "$name: standard output differs"
        cat "$work/diff" >&2
    fi
}

expect_run "undo example" 0 "// Result: a //
// Result: 3 //
// Result: 0 //
" -- -c 'createNode transform -n a; setAttr a.translateX 3; getAttr a.translateX; undo; getAttr a.translateX'

expect_run "redo" 0 "// Result: a //
// Result: 0 //
// Result: 3 //
" -- -c 'createNode transform -n a; setAttr a.translateX 3; undo; getAttr a.translateX; redo; getAttr a.translateX'

expect_run "undo of creation" 0 "// Result: b //
// Result: 1 //
// Result: 0 //
// Result: 1 //
" -- -c 'createNode transform -n b; objExists b; undo; objExists b; redo; objExists b'

expect_run "number formats" 0 "// Result: cam camShape //
// Result: 0.945 //
// Result: 28.922 //
// Result: t //
// Result: 1.5 2 -3 //
// Result: 24 //
" -- -c 'camera -n cam; getAttr camShape.verticalFilmAperture; setAttr camShape.focalLength 28.922; getAttr camShape.focalLength; createNode transform -n t; setAttr t.translate 1.5 2 -3; getAttr t.translate; currentTime 24' \
    -c 'quit'

expect_run "array results" 0 "// Result: c1 c1Shape //
// Result: c1Shape //
// Result: camera //
" -- -c 'camera -n c1; ls -type camera "c1*"; nodeType c1Shape'

expect_run "stops at the first error" 1 "// Result: a //
" -- -c 'createNode transform -n a; setAttr a.noSuchAttribute 1; getAttr a.translateX'
grep -q '^// Error: .*a.noSuchAttribute.* //$' "$work/err" || fail "error text: $(cat "$work/err")"

expect_run "keep going" 1 "// Result: a //
// Result: 0 //
" -- --keep-going -c 'createNode transform -n a; setAttr a.noSuchAttribute 1; getAttr a.translateX'

expect_run "bad flag" 1 "" -- -c 'createNode transform -bogus x'
grep -q "Invalid flag '-bogus'" "$work/err" || fail "bad flag message: $(cat "$work/err")"

expect_run "unknown command" 1 "" -- -c 'noSuchCommand 1 2'
grep -q 'Cannot find procedure "noSuchCommand".' "$work/err" || fail "unknown command message"

expect_run "syntax error runs nothing" 1 "" -- -c 'print "never"; print "unclosed'

expect_run "quit keeps the exit status" 1 "" -- --keep-going -c 'noSuchCommand; quit -f; print "after"'

expect_run "print" 0 "a \"b\"
" -- -c 'print "a \"b\"\n"'

# Scripts come from files and, without arguments, from standard input.
printf 'createNode transform -n s;\n// comment\nsetAttr s.translateY 90; getAttr s.translateY;\n' >"$work/script.mel"
expect_run "script file" 0 "// Result: s //
// Result: 90 //
" -- "$work/script.mel"
"$host" <"$work/script.mel" >"$work/out" 2>"$work/err" || fail "stdin script failed"
[ "$(cat "$work/out")" = "// Result: s //
// Result: 90 //" ] || fail "stdin script output: $(cat "$work/out")"

expect_run "missing script" 1 "" -- "$work/none.mel"

expect_run "time units" 0 "// Result: film //
// Result: 12 //
// Result: pal //
// Result: 12.5 //
// Result: 0 //
" -- -c 'currentUnit -q -time; currentTime 12; currentUnit -time pal; currentUnit -q -time; currentTime -q; undo; currentTime -q'

expect_run "colour management" 0 "// Result: ACEScg //
// Result: sRGB Raw ACEScg scene-linear Rec.709-sRGB //
// Result: a b //
// Result: lin //
" -- -c 'colorManagementPrefs -q -loadedRenderingSpaceName; colorManagementPrefs -q -inputSpaceNames; hostConfig -inputSpaceNames "a,b" -renderingSpaceName lin; colorManagementPrefs -q -inputSpaceNames; colorManagementPrefs -q -renderingSpaceName'

expect_run "colour management fault" 1 "" -- -c 'hostConfig -fault colorManagementQuery on; colorManagementPrefs -q -inputSpaceNames'
expect_run "fault reset" 0 "// Result: ACEScg //
" -- -c 'hostConfig -fault colorManagementQuery on; hostConfig -resetFaults; colorManagementPrefs -q -loadedRenderingSpaceName'
expect_run "unknown fault" 1 "" -- -c 'hostConfig -fault noSuchFault on'

expect_run "connections" 0 "// Result: a //
// Result: b //
// Result: Connected a.translateX to b.translateY. //
// Result: 1 //
// Result: b //
// Result: a.translateX //
// Result: 4 //
// Result: 0 //
" -- -c 'createNode transform -n a; createNode transform -n b; connectAttr a.translateX b.translateY; isConnected a.translateX b.translateY; listConnections -s off a; listConnections -d off -p on b.translateY; setAttr a.translateX 4; getAttr b.translateY; disconnectAttr a.translateX b.translateY; isConnected a.translateX b.translateY'

expect_run "connection needs force" 1 "// Result: a //
// Result: Connected a.tx to persp.tx. //
" -- -c 'createNode transform -n a; connectAttr a.tx persp.tx; connectAttr top.tx persp.tx'

expect_run "forced connection" 0 "// Result: a //
// Result: Connected a.tx to persp.tx. //
// Result: Connected top.tx to persp.tx. //
// Result: top //
" -- -c 'createNode transform -n a; connectAttr a.tx persp.tx; connectAttr -f top.tx persp.tx; listConnections -d off persp.tx'

finish
