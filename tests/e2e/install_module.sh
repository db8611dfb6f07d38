#!/bin/sh
# `cmake --install` lays the plug-in out as a Maya module: CineSheet.mod at the prefix naming
# ./CineSheet, the library in CineSheet/plug-ins, the MEL scripts of its menu and Attribute
# Editor in CineSheet/scripts, nothing of the stand-in host, and (unless the build turned the
# bundle off) the FFmpeg libraries with everything they need beyond glibc, the C++ runtime and
# zlib in CineSheet/plug-ins/lib. With only MAYA_MODULE_PATH set, the installed plug-in loads by
# name and plays a clip.
#
# How the bundle is shown to stand on its own: the stand-in host links FFmpeg itself, and the
# loader shares a library by its name with whatever the process holds already, so a run of the
# build's host would play with the system's FFmpeg whatever the module holds. Instead:
# - `ldd` lets the loader resolve the installed plug-in alone, in a fresh process without
#   LD_LIBRARY_PATH: every library beyond the base must come from the module. The loader searches
#   an object's RUNPATH before the system's folders, so what it finds there it finds on a machine
#   without this FFmpeg too; and every copy carries RUNPATH $ORIGIN, so none of them falls back
#   to the system for a library it alone needs.
# - A copy of the host whose library takes its FFmpeg from the module plays a clip under
#   LD_DEBUG=libs: the loader never even tries the system's file of any bundled library, so the
#   run does not depend on one, and the frame it shows is the ffmpeg tool's byte for byte.
set -eu
: "${CINESHEET_HOST:?}" "${CINESHEET_PLUGIN:?}"
build_dir=$(dirname "$(dirname "$CINESHEET_PLUGIN")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
prefix=$work/module
plugins=$prefix/CineSheet/plug-ins
bundle=$plugins/lib

cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }

installed=$(cd "$prefix" && find . \( -type f -o -type l \) -not -path './CineSheet/plug-ins/lib/*' |
    LC_ALL=C sort | tr '\n' ' ')
expected="./CineSheet.mod ./CineSheet/plug-ins/libCineSheet.so \
./CineSheet/scripts/AECineSheetTemplate.mel ./CineSheet/scripts/cineSheetAttachFootage.mel \
./CineSheet/scripts/cineSheetAttachFootageAndSound.mel \
./CineSheet/scripts/cineSheetCreateUI.mel ./CineSheet/scripts/cineSheetDeleteUI.mel \
./CineSheet/scripts/cineSheetFootageFilter.mel ./CineSheet/scripts/cineSheetFootagePath.mel \
./CineSheet/scripts/cineSheetVideoExtensions.mel "
[ "$installed" = "$expected" ] || fail "installed '$installed', expected '$expected'"

grep -qx '+ PLATFORM:linux CineSheet 1.01 ./CineSheet' "$prefix/CineSheet.mod" ||
    { cat "$prefix/CineSheet.mod"; fail "CineSheet.mod lacks the module line"; }
grep -qx 'plug-ins: plug-ins' "$prefix/CineSheet.mod" || fail "CineSheet.mod lacks the plug-ins line"
grep -qx 'scripts: scripts' "$prefix/CineSheet.mod" || fail "CineSheet.mod lacks the scripts line"

runpath() {
    readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]$/\1/p'
}
# The base every Linux that runs Maya has; the stand-in's own library stands for Maya's.
base='^(linux-vdso\.so|/lib64/ld-linux|ld-linux|lib(c|m|mvec|dl|rt|pthread|resolv|util|anl|stdc\+\+|gcc_s|z)\.so|libMayaHost\.so)'

if grep -q '^CINESHEET_BUNDLE_FFMPEG:BOOL=OFF$' "$build_dir/CMakeCache.txt"; then
    [ ! -e "$bundle" ] || fail "the bundle is off, yet $bundle was installed"
    [ -z "$(runpath "$plugins/libCineSheet.so")" ] || fail "the plug-in keeps a RUNPATH"
else
    [ "$(runpath "$plugins/libCineSheet.so")" = '$ORIGIN/lib' ] ||
        fail "the plug-in's RUNPATH is '$(runpath "$plugins/libCineSheet.so")'"
    for library in "$bundle"/*; do
        name=${library##*/}
        echo "$name" | grep -Eq "$base" && fail "$name belongs to the base and must not be bundled"
        [ "$(runpath "$library")" = '$ORIGIN' ] || fail "$name's RUNPATH is '$(runpath "$library")'"
    done
    for name in libavformat libavcodec libavutil libswscale libswresample; do
        ls "$bundle/$name".so.* >/dev/null 2>&1 || fail "$name is not in the module"
    done

    # The host's folder stands for Maya's libraries and holds no other library.
    env -u LD_LIBRARY_PATH -u LD_PRELOAD LD_LIBRARY_PATH="$(dirname "$CINESHEET_HOST")" \
        ldd "$plugins/libCineSheet.so" >"$work/ldd.txt"
    if grep 'not found' "$work/ldd.txt"; then
        fail "libraries of the installed plug-in are missing"
    fi
    # What the stand-in's library needs beyond FFmpeg (OpenColorIO and its libraries) comes with
    # Maya too; the plug-in itself needs none of it.
    readelf -d "$plugins/libCineSheet.so" | grep -q 'NEEDED.*OpenColorIO' &&
        fail "the plug-in links OpenColorIO"
    ldd "$(dirname "$CINESHEET_HOST")/libMayaHost.so" | grep OpenColorIO | sed 's/.*=> //; s/ .*//' |
        while read -r library; do
            echo "${library##*/}"
            ldd "$library" | sed 's/^[[:space:]]*//; s/ .*//'
        done >"$work/maya-libs.txt"
    outside=$(sed 's/^[[:space:]]*//' "$work/ldd.txt" | grep -Ev "$base" | grep -v "=> $bundle/" |
        grep -vFf "$work/maya-libs.txt" || true)
    [ -z "$outside" ] || fail "resolved outside the module: $outside"
    grep -q "libavcodec.so.* => $bundle/libavcodec" "$work/ldd.txt" ||
        fail "libavcodec does not come from the module: $(cat "$work/ldd.txt")"

    mkdir "$work/host"
    cp "$CINESHEET_HOST" "$work/host/cinesheet-host"
    cp "$(dirname "$CINESHEET_HOST")/libMayaHost.so" "$work/host/"
    patchelf --set-rpath '$ORIGIN' "$work/host/cinesheet-host"
    patchelf --set-rpath "$bundle" "$work/host/libMayaHost.so"
    host="$work/host/cinesheet-host"
fi

ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48:r=24 -frames:v 12 -c:v libx264 -g 4 \
    -pix_fmt yuv420p "$work/clip.mp4"
cd "$work"
env -u LD_LIBRARY_PATH -u LD_PRELOAD -u MAYA_PLUG_IN_PATH -u MAYA_SCRIPT_PATH \
    MAYA_MODULE_PATH="$prefix" LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loader" \
    "${host:-$CINESHEET_HOST}" -c "
loadPlugin libCineSheet;
cineSheet -filePath \"$work/clip.mp4\";
currentTime 7; refresh; textureDump -node cineSheetShape1 -file \"$work/t7.rgba\";
unloadPlugin -force libCineSheet;
" >"$work/out.txt" 2>&1 || { cat "$work/out.txt"; fail "the installed plug-in does not work"; }
grep -q 'cineSheet1 cineSheetShape1' "$work/out.txt" || { cat "$work/out.txt"; fail "cineSheet gave no nodes"; }

ffmpeg -nostdin -v error -y -i "$work/clip.mp4" -vf "select=eq(n\,7)" -fps_mode passthrough \
    -frames:v 1 -sws_flags bilinear -pix_fmt rgb24 -f rawvideo "$work/expected.rgb"
ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s 64x48 -i "$work/t7.rgba" \
    -pix_fmt rgb24 -f rawvideo "$work/got.rgb"
cmp -s "$work/expected.rgb" "$work/got.rgb" || fail "frame 7 is not the clip's frame 7"

if [ -d "$bundle" ]; then
    cat "$work"/loader.* >"$work/loader.txt"
    grep -q "trying file=$bundle/libavformat.so" "$work/loader.txt" ||
        fail "the run did not take libavformat from the module"
    ls "$bundle" | sort >"$work/bundled.txt"
    sed -n 's/.*trying file=//p' "$work/loader.txt" | grep -v "^$bundle/" | sed 's|.*/||' |
        sort -u >"$work/tried-outside.txt"
    looked_outside=$(comm -12 "$work/bundled.txt" "$work/tried-outside.txt" |
        grep -vxFf "$work/maya-libs.txt" | tr '\n' ' ')
    [ -z "$looked_outside" ] || fail "the loader looked outside the module for $looked_outside"
fi
echo "module install ok"
