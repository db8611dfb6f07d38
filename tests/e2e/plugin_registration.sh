#!/bin/sh
# CineSheet loads, works and unloads; where its command name is taken, loading stops at the
# command step with the plug-in's own report on standard error.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
squatter="${CINESHEET_TEST_PLUGIN_DIR:?}/libcmdsquatter.so"
. "$(dirname "$0")/../support/e2e-common.sh"

"$host" -c "loadPlugin \"$plugin\"; cineSheet -noTime true; unloadPlugin -f libCineSheet" \
    >"$work/out" 2>"$work/err" || fail "load, use, unload: $(cat "$work/err")"
[ "$(cat "$work/out")" = "// Result: libCineSheet //
// Result: cineSheet1 cineSheetShape1 //" ] || fail "load, use, unload output: $(cat "$work/out")"

# A forced unload right after a refresh, with the node's facts still on the idle queue: they
# run after the plug-in's command has gone, and show no error.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48:r=24 -frames:v 12 -c:v libx264 \
    -pix_fmt yuv420p "$work/clip.mp4" || fail "cannot make media"
"$host" -c "loadPlugin \"$plugin\"; cineSheet -filePath \"$work/clip.mp4\";
    { refresh; unloadPlugin -f libCineSheet; }" >/dev/null 2>"$work/err" &&
    [ ! -s "$work/err" ] || fail "forced unload with work queued: $(cat "$work/err")"

"$host" --keep-going -c "loadPlugin \"$squatter\"; loadPlugin \"$plugin\"; cineSheet;
    createNode CineSheet" >"$work/out" 2>"$work/err" && fail "loading over a taken command worked"
printf '\nAPI error detected in ../plugin at line 53\n(kFailure): Unexpected Internal Failure\n' \
    >"$work/expected"
head -n 3 "$work/err" >"$work/report"
cmp -s "$work/expected" "$work/report" || fail "report: $(cat "$work/err")"
grep -q 'line 39\|line 46' "$work/err" && fail "earlier steps reported: $(cat "$work/err")"
grep -q '// Result: squatter //' "$work/out" || fail "the taken command changed: $(cat "$work/out")"

# An attribute the host refuses fails the node type's registration, and with it the load.
"$host" --keep-going -c "hostConfig -fault addAttribute on; loadPlugin \"$plugin\";
    hostConfig -fault addAttribute off; createNode CineSheet" >"$work/out" 2>"$work/err" &&
    fail "loading with a refused attribute worked"
grep -q 'API error detected in ../plugin at line 39' "$work/err" ||
    fail "refused attribute report: $(cat "$work/err")"
grep -q '// Result: libCineSheet //' "$work/out" && fail "loaded with a refused attribute"

finish
