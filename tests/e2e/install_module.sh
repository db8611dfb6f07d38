#!/bin/sh
# `cmake --install` lays the plug-in out as a Maya module: CineSheet.mod at the prefix naming
# ./CineSheet, the library in CineSheet/plug-ins, the MEL scripts of its menu and Attribute
# Editor in CineSheet/scripts, and nothing of the stand-in host. The
# installed library loads by name from the module's plug-in folder, as Maya finds it, and works.
set -eu
: "${CINESHEET_HOST:?}" "${CINESHEET_PLUGIN:?}"
build_dir=$(dirname "$(dirname "$CINESHEET_PLUGIN")")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

installed=$(cd "$prefix" && find . -type f -o -type l | sort | tr '\n' ' ')
expected="./CineSheet.mod ./CineSheet/plug-ins/libCineSheet.so \
./CineSheet/scripts/AECineSheetTemplate.mel ./CineSheet/scripts/cineSheetAttachFootage.mel \
./CineSheet/scripts/cineSheetCreateUI.mel ./CineSheet/scripts/cineSheetDeleteUI.mel \
./CineSheet/scripts/cineSheetFootageFilter.mel ./CineSheet/scripts/cineSheetFootagePath.mel \
./CineSheet/scripts/cineSheetVideoExtensions.mel "
[ "$installed" = "$expected" ] || { echo "installed '$installed', expected '$expected'"; exit 1; }

grep -qx '+ PLATFORM:linux CineSheet 1.01 ./CineSheet' "$prefix/CineSheet.mod" ||
    { echo "CineSheet.mod lacks the module line"; cat "$prefix/CineSheet.mod"; exit 1; }
grep -qx 'plug-ins: plug-ins' "$prefix/CineSheet.mod" ||
    { echo "CineSheet.mod lacks the plug-ins line"; exit 1; }
grep -qx 'scripts: scripts' "$prefix/CineSheet.mod" ||
    { echo "CineSheet.mod lacks the scripts line"; exit 1; }

MAYA_PLUG_IN_PATH="$prefix/CineSheet/plug-ins" "$CINESHEET_HOST" -c "
loadPlugin libCineSheet; cineSheet; unloadPlugin -force libCineSheet;
" >"$prefix/out.txt" 2>&1 || { echo "the installed plug-in does not work"; cat "$prefix/out.txt"; exit 1; }
grep -q 'cineSheet1 cineSheetShape1' "$prefix/out.txt" ||
    { echo "cineSheet gave no nodes"; cat "$prefix/out.txt"; exit 1; }
echo "module install ok"
