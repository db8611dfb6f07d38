#!/bin/sh
# Modules found through MAYA_MODULE_PATH as Maya finds them: a module's root relative to its .mod
# file, only the module lines whose conditions this host meets (Maya version, platform), none
# marked off with "-", the first module of a name, the plug-ins and scripts folders (or the
# folders the file names instead) after what the environment already holds, and the variables
# the file sets, as paths under the root where it says ":="; files no module description is like
# skipped without hanging start-up. The build folder is a module too: the plug-in built there
# loads with the menu from the sources.
set -u
: "${CINESHEET_PLUGIN:?}" "${CINESHEET_TEST_PLUGIN_DIR:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

version=$("$host" -c 'about -version' | sed -n 's|^// Result: \([0-9]*\).*//$|\1|p')
[ -n "$version" ] || fail "about -version gave no Maya version"

tools=$work/tools
mkdir -p "$work/modules" "$work/more" "$work/user" "$tools/cmdtest/plug-ins" \
    "$tools/cmdtest/scripts" "$tools/cmdtest/bin" "$tools/other/linux/lib" "$tools/other/mel" \
    "$tools/windows/plug-ins" "$tools/off/plug-ins" "$tools/second/plug-ins"
cp "$CINESHEET_TEST_PLUGIN_DIR/libcmdtestplugin.so" "$tools/cmdtest/plug-ins/"
echo 'global proc string cmdtestGreeting() { return "from the module"; }' \
    >"$tools/cmdtest/scripts/cmdtestGreeting.mel"
echo 'global proc string otherGreeting() { return "from its own folder"; }' \
    >"$tools/other/mel/otherGreeting.mel"

cat >"$work/modules/cmdtest.mod" <<MOD
+ MAYAVERSION:2019 PLATFORM:linux CmdTest 0.9 ../tools/old
+ PLATFORM:win64 CmdTest 1.0 ../tools/windows
WINDOWS_ONLY = yes
+ MAYAVERSION:$version PLATFORM:linux CmdTest 1.0 ../tools/cmdtest
CMDTEST_LOCATION :=
PATH +:= bin
CMDTEST_MODE = batch
CMDTEST_MODE += quiet
- PLATFORM:linux Off 1.0 ../tools/off
OFF_SET = yes
MOD
cat >"$work/modules/other.mod" <<MOD
+ PLATFORM:linux LOCALE:en_US Other 2.0 $tools/other
plug-ins: linux/lib
scripts: mel
+ PLATFORM:linux FUTURE:1 Future 1.0 ../tools/off
MOD
echo "+ Second 1.0 ../tools/second" >"$work/more/second.mod"
echo "+ PLATFORM:linux CmdTest 2.0 ../tools/second" >"$work/more/cmdtest.mod"
echo "not a module file" >"$work/modules/notes.txt"

MAYA_MODULE_PATH="$work/modules:$work/more" MAYA_PLUG_IN_PATH="$work/user" PATH="$PATH" \
    MAYA_SCRIPT_PATH="" "$host" --keep-going -c '
getenv MAYA_PLUG_IN_PATH;
getenv MAYA_SCRIPT_PATH;
getenv CMDTEST_LOCATION;
getenv CMDTEST_MODE;
size(`getenv WINDOWS_ONLY`);
size(`getenv OFF_SET`);
loadPlugin libcmdtestplugin;
cmdtestGreeting;
otherGreeting;
' >"$work/modules.out" 2>"$work/modules.err" ||
    fail "the host failed: $(cat "$work/modules.err")"
results=$(sed -n 's|^// Result: \(.*\) //$|\1|p' "$work/modules.out")
expected="$work/user:$tools/cmdtest/plug-ins:$tools/other/linux/lib:$tools/second/plug-ins
$tools/cmdtest/scripts:$tools/other/mel
$tools/cmdtest
batch:quiet
0
0
libcmdtestplugin
from the module
from its own folder"
[ "$results" = "$expected" ] || fail "results
$results
expected
$expected"

MAYA_MODULE_PATH="$work/modules" "$host" -c 'getenv PATH' >"$work/path.out" 2>&1
grep -q "^// Result: $PATH:$tools/cmdtest/bin //\$" "$work/path.out" ||
    fail "PATH +:= bin did not append the module's bin folder: $(cat "$work/path.out")"

# Files no module description is like, beside one that is: start-up neither hangs on them nor
# holds them in memory. 200,000 appends to one variable (a file within the 1 MiB a module file
# may hold) are made in one pass; a file setting
# 100,000 variables and a sparse 2 GB one are skipped whole with a warning naming them; a named
# pipe is not opened.
hostile=$work/hostile
mkdir -p "$hostile" "$tools/good/plug-ins"
echo "+ Good 1.0 ../tools/good" >"$hostile/good.mod"
{ echo "+ Appends 1.0 ."; yes 'M+=x' | head -n 200000; } >"$hostile/appends.mod"
{ echo "+ Names 1.0 ."; seq -f 'V%g=1' 100000; } >"$hostile/names.mod"
truncate -s 2G "$hostile/sparse.mod"
mkfifo "$hostile/pipe.mod"
MAYA_MODULE_PATH="$hostile" MAYA_PLUG_IN_PATH="" timeout 120 "$host" -c '
getenv MAYA_PLUG_IN_PATH; size(`getenv M`); size(`getenv V1`);
' >"$work/hostile.out" 2>"$work/hostile.err" || fail "start-up with hostile module files: \
$(head -c 2000 "$work/hostile.err")"
results=$(sed -n 's|^// Result: \(.*\) //$|\1|p' "$work/hostile.out")
[ "$results" = "$tools/good/plug-ins
399999
0" ] || fail "with hostile module files the results are
$results"
for skipped in names.mod sparse.mod; do
    grep -q "Warning: skipped the module file $hostile/$skipped: " "$work/hostile.err" ||
        fail "$skipped is not skipped with a warning: $(head -c 2000 "$work/hostile.err")"
done

# The build folder's module: the plug-in built there, the menu from the source scripts.
build_dir=$(dirname "$(dirname "$CINESHEET_PLUGIN")")
MAYA_MODULE_PATH="$build_dir" MAYA_PLUG_IN_PATH="" MAYA_SCRIPT_PATH="" "$host" --interactive -c '
loadPlugin libCineSheet;
menuItem -q -label cineSheetAttachFootageItem;
' >"$work/build.out" 2>"$work/build.err" || fail "the build folder's module: $(cat "$work/build.err")"
grep -q '^// Result: CineSheet: Attach Footage to Camera' "$work/build.out" ||
    fail "the build folder's module gave no menu: $(cat "$work/build.out" "$work/build.err")"
finish
