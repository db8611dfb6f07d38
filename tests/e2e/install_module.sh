#!/bin/sh
# The plug-in installed as a Maya module: CineSheet.mod at the prefix with one block per Maya
# version ("+ MAYAVERSION:<v> PLATFORM:linux CineSheet 1.01 ./CineSheet", "plug-ins:
# <v>/plug-ins", "scripts: scripts"), the library in CineSheet/<v>/plug-ins, the MEL scripts of
# its menu and Attribute Editor in CineSheet/scripts, nothing of the stand-in host. With only
# MAYA_MODULE_PATH set, the host takes the block of its own version, loads that version's plug-in
# by name, and shows every kind of footage as the ffmpeg tool shows it, byte for byte.
#
# Under ctest the build folder is installed into a prefix whose CineSheet.mod holds a block for
# another version, which stays, and one for every version, from before versions had folders of
# their own, which goes. `make module` runs this script on the portable module it installed
# (CINESHEET_MODULE, see README), which is also checked for what it asks of a Maya workstation:
# - `objdump -T` over every ELF file: no symbol version past glibc 2.28 (Rocky/RHEL 8) and GCC 8's
#   C++ runtime and libgcc_s, no library needed beyond glibc's own, zlib, the C++ runtime and
#   Maya's (the stand-in's library stands for them), no RUNPATH;
# - no GPL or non-free FFmpeg: the configuration inside the plug-in has neither --enable-gpl nor
#   --enable-nonfree, and FFmpeg's licence line says LGPL;
# - at most 40 MB for one Maya version.
# The stand-in host links the system's FFmpeg itself; the portable plug-in holds its own FFmpeg
# with its symbols hidden and needs no FFmpeg library, so what it shows is its own FFmpeg's.
set -u
[ -n "${CINESHEET_MODULE:-}" ] || : "${CINESHEET_PLUGIN:?}"
. "$(dirname "$0")/../support/e2e-common.sh"

version=$("$host" -c 'about -version' | sed -n 's|^// Result: \([0-9]*\).*//$|\1|p')
[ -n "$version" ] || { fail "about -version gave no Maya version"; finish; }

block() {
    printf '+ MAYAVERSION:%s PLATFORM:linux CineSheet 1.01 ./CineSheet\nplug-ins: %s/plug-ins\nscripts: scripts\n' \
        "$1" "$1"
}
if [ -n "${CINESHEET_MODULE:-}" ]; then
    prefix=$CINESHEET_MODULE
    versions=$(sed -n 's/^+ MAYAVERSION:\([0-9]*\) .*/\1/p' "$prefix/CineSheet.mod")
    expected_mod=$(for each in $versions; do block "$each"; echo; done)
else
    build_dir=$(dirname "$(dirname "$CINESHEET_PLUGIN")")
    prefix=$work/module
    mkdir -p "$prefix"
    printf '+ MAYAVERSION:2019 PLATFORM:linux CineSheet 0.9 ./Old\nplug-ins: old\n\n+ PLATFORM:linux CineSheet 1.00 ./CineSheet\n' \
        >"$prefix/CineSheet.mod"
    cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "cmake --install failed"; finish; }
    versions=$version
    expected_mod=$(printf '+ MAYAVERSION:2019 PLATFORM:linux CineSheet 0.9 ./Old\nplug-ins: old\n\n'; block "$version")
fi
echo "$versions" | grep -qx "$version" || fail "the module has no block for Maya $version: $versions"
[ "$(cat "$prefix/CineSheet.mod")" = "$expected_mod" ] ||
    fail "CineSheet.mod is
$(cat "$prefix/CineSheet.mod")
expected
$expected_mod"

scripts="AECineSheetTemplate cineSheetAttachFootage cineSheetAttachFootageAndSound \
cineSheetAttachFootageOptions cineSheetCreateUI cineSheetDeleteUI cineSheetFootageFilter \
cineSheetFootagePath cineSheetVideoExtensions"
expected_files=$({
    echo ./CineSheet.mod
    for each in $versions; do echo "./CineSheet/$each/plug-ins/libCineSheet.so"; done
    for script in $scripts; do echo "./CineSheet/scripts/$script.mel"; done
} | LC_ALL=C sort)
installed=$(cd "$prefix" && find . \( -type f -o -type l \) | LC_ALL=C sort)
[ "$installed" = "$expected_files" ] || fail "installed
$installed
expected
$expected_files"

# What a Maya workstation with Rocky/RHEL 8 has: glibc 2.28, GCC 8's libstdc++ and libgcc_s,
# zlib 1.2.11; Maya's own libraries version no symbols.
floor_of() {
    case $1 in
    GLIBC) echo 2.28 ;; GLIBCXX) echo 3.4.25 ;; CXXABI) echo 1.3.11 ;; GCC) echo 7.0.0 ;;
    ZLIB) echo 1.2.11 ;; *) echo none ;;
    esac
}
newer() { # newer VERSION FLOOR: whether VERSION is past FLOOR
    [ "$(printf '%s\n%s\n' "$1" "$2" | sort -t . -k 1,1n -k 2,2n -k 3,3n | tail -n 1)" != "$2" ]
}
allowed_libraries='^(ld-linux-x86-64\.so\.2|lib(c|m|dl|rt|pthread)\.so\.[0-9]+|libz\.so\.1|libstdc\+\+\.so\.6|libgcc_s\.so\.1|libMayaHost\.so|libOpenMaya[A-Za-z]*\.so|libFoundation\.so)$'
check_abi() {
    # "0000 w DF *UND* 0000 (GLIBC_2.2.5) name": the version each needed symbol asks for.
    objdump -T "$1" | sed -n 's/.*[*]UND[*][[:space:]]*[0-9a-f]*[[:space:]]*(*\([^ )]*\).*/\1/p' |
        sort -u >"$work/versions.txt"
    while IFS= read -r needed; do
        case $needed in *_*) ;; *) continue ;; esac
        family=${needed%%_*}
        number=${needed#*_}
        floor=$(floor_of "$family")
        if [ "$floor" = none ] || newer "$number" "$floor"; then
            fail "${1#"$prefix"/} asks for $needed (floor: $family $floor): $(objdump -T "$1" |
                grep -F "$needed" | awk '{ print $NF }' | head -n 5 | tr '\n' ' ')"
        fi
    done <"$work/versions.txt"
    objdump -p "$1" | awk '$1 == "NEEDED" { print $2 }' | grep -Ev "$allowed_libraries" |
        while IFS= read -r library; do fail "${1#"$prefix"/} needs $library"; done
    objdump -p "$1" | grep -Eq '^ +(RUNPATH|RPATH) ' && fail "${1#"$prefix"/} has a RUNPATH"
}

if [ -n "${CINESHEET_MODULE:-}" ]; then
    find "$prefix" -type f | while IFS= read -r file; do
        [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] && check_abi "$file"
    done
    for each in $versions; do
        plugin=$prefix/CineSheet/$each/plug-ins/libCineSheet.so
        configuration=$(strings "$plugin" | grep -e '--disable-everything' | head -n 1)
        [ -n "$configuration" ] || fail "$each: no FFmpeg configuration in the plug-in"
        case $configuration in *--enable-gpl* | *--enable-nonfree*)
            fail "$each: FFmpeg is configured $configuration" ;;
        esac
        strings "$plugin" | grep -qx 'libavcodec license: LGPL version 2.1 or later' ||
            fail "$each: FFmpeg is not LGPL"
        size=$(du -cb "$prefix/CineSheet.mod" "$prefix/CineSheet/scripts" "$prefix/CineSheet/$each" |
            tail -n 1 | cut -f 1)
        [ "$size" -le $((40 * 1024 * 1024)) ] || fail "$each: the module takes $size bytes"
        echo "Maya $each: $size bytes"
    done
fi

# Footage of every kind, 64 x 48 (DNxHR needs 256 x 128): name, what the ffmpeg tool makes it
# with from a test pattern; videos have 24 frames, of which frame 13 is shown.
cases='h264.mp4 -c:v libx264 -g 6 -bf 2 -pix_fmt yuv420p
hevc.mp4 -c:v libx265 -x265-params log-level=error -g 6
edit.ts -c:v mpeg2video -g 6 -bf 2
old.mpg -c:v mpeg1video
part.avi -c:v mpeg4
prores.mov -c:v prores_ks -profile:v 3 -pix_fmt yuv422p10le
dnxhr.mxf -s 256x128 -c:v dnxhd -profile:v dnxhr_lb -pix_fmt yuv422p
photo.avi -c:v mjpeg -pix_fmt yuvj420p
web.webm -c:v libvpx-vp9
old.webm -c:v libvpx
theora.ogv -c:v libtheora
lossless.mkv -c:v ffv1
windows.wmv -c:v wmv2
flash.flv -c:v flv1
still.png
still.jpg
still.tif
still.dpx
still.exr -pix_fmt gbrpf32le
still.tga
still.bmp
still.sgi'
echo "$cases" >"$work/cases.txt"
while read -r name options; do
    case $name in still.*) frames=1 ;; *) frames=24 ;; esac
    # shellcheck disable=SC2086
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48:r=24 -frames:v $frames $options \
        "$work/$name" || fail "cannot make $name"
done <"$work/cases.txt"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=64x48:r=24:d=1 -f lavfi \
    -i 'sine=frequency=440:sample_rate=48000:d=1' -c:v libx264 -c:a aac -ac 2 "$work/sound.mp4" ||
    fail "cannot make sound.mp4"

# A playback range from 0 puts each video's picture 13 at frame 13.
script="loadPlugin libCineSheet; getenv MAYA_PLUG_IN_PATH; playbackOptions -min 0;"
node=0
while read -r name options; do
    node=$((node + 1))
    script="$script cineSheet -filePath \"$work/$name\"; setAttr cineSheetShape$node.cacheDepth 1;"
done <"$work/cases.txt"
script="$script currentTime 13; refresh;"
node=0
while read -r name options; do
    node=$((node + 1))
    script="$script textureDump -node cineSheetShape$node -file \"$work/$name.rgba\";"
done <"$work/cases.txt"
mkdir -p "$work/project"
script="$script workspace -openWorkspace \"$work/project\";
cineSheet -filePath \"$work/sound.mp4\" -audio true; unloadPlugin -force libCineSheet;"

(cd "$work" && env -u LD_LIBRARY_PATH -u LD_PRELOAD -u MAYA_PLUG_IN_PATH -u MAYA_SCRIPT_PATH \
    MAYA_MODULE_PATH="$prefix" "$host" -c "$script") >"$work/out.txt" 2>"$work/err.txt" ||
    fail "the installed plug-in does not work: $(cat "$work/err.txt")"
grep -qx "// Result: $prefix/CineSheet/$version/plug-ins //" "$work/out.txt" ||
    fail "the plug-in path is not Maya $version's folder: $(grep -m 1 Result "$work/out.txt")"

while read -r name options; do
    size=64x48
    case $options in *256x128*) size=256x128 ;; esac
    case $name in
    still.*) select="" sws="" ;;
    *) select="-vf select=eq(n\,13) -fps_mode passthrough" sws="-sws_flags bilinear" ;;
    esac
    # shellcheck disable=SC2086
    ffmpeg -nostdin -v error -y -i "$work/$name" $select -frames:v 1 $sws -pix_fmt rgb24 \
        -f rawvideo "$work/expected.rgb" &&
        ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt rgba -s "$size" -i "$work/$name.rgba" \
            -pix_fmt rgb24 -f rawvideo "$work/got.rgb" &&
        cmp -s "$work/expected.rgb" "$work/got.rgb" || fail "$name does not show as the tool shows it"
done <"$work/cases.txt"

wav="$work/project/sound/sound.wav"
[ "$(ffprobe -v error -show_entries stream=codec_name,sample_rate,channels -of csv=p=0 "$wav" 2>&1)" = \
    "pcm_s16le,48000,2" ] || fail "the clip's sound was not written as 48 kHz stereo: $wav"
finish
