#!/bin/sh
# The viewport's colour management is OpenColorIO's: snapshots of a plate under the scene-linear,
# ACEScg and Raw input spaces match ocioconvert's conversion of the plate through the default
# view of the same configuration (Raw values are taken as rendering-space values, ACEScg); sRGB
# shows as stored. Another configuration, from the OCIO variable or colorManagementPrefs -edit
# -configFilePath, changes the names and the picture; one that cannot be read (broken, a named
# pipe, a folder) is refused and leaves the loaded one. A scene brings back the configuration it
# was saved under and shows the space chosen by name; one the configuration in force lacks is
# shown as stored, with one warning.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"
config="$(dirname "$0")/../../host/ocio/config.ocio"
unset OCIO

ffmpeg -v error -f lavfi -i testsrc2=s=64x48 -frames:v 1 "$work/plate.0001.png" ||
    fail "cannot make the plate"

# The largest difference of two pictures' RGB bytes.
maxdiff() {
    ffmpeg -v error -i "$1" -f rawvideo -pix_fmt rgb24 - | od -An -tu1 -v | tr -s ' ' '\n' |
        grep -v '^$' >"$work/a.txt"
    ffmpeg -v error -i "$2" -f rawvideo -pix_fmt rgb24 - | od -An -tu1 -v | tr -s ' ' '\n' |
        grep -v '^$' >"$work/b.txt"
    paste "$work/a.txt" "$work/b.txt" |
        awk 'BEGIN { m = 0; n = 0 } { d = $1 - $2; if (d < 0) d = -d; if (d > m) m = d; n++ }
             END { print (n == 0 ? 999 : m) }'
}

# snapshots SETUP SPACE...: the plate shown under each space (its index in the input space
# list) after SETUP, into snap-<index>.png.
snapshots() {
    setup=$1
    shift
    script="$setup; loadPlugin \"$plugin\";
        setAttr defaultResolution.width 64; setAttr defaultResolution.height 48;
        camera -n shotCam; cineSheet -camera shotCam -filePath \"$work/plate.####.png\";
        lookThru shotCam; currentTime 1;"
    for space in "$@"; do
        script="$script setAttr cineSheetShape1.colorSpace $space;
            snapshot -file \"$work/snap-$space.png\";"
    done
    "$host" -c "$script" >"$work/out" 2>"$work/err" || fail "snapshots: $(cat "$work/err")"
}

# expect NAME SNAPSHOT INPUTSPACE: the snapshot is ocioconvert's view of the plate.
expect_view() {
    OCIO="$config" ocioconvert --view "$work/plate.0001.png" "$3" "$work/ref.png" sRGB \
        "sRGB gamma" >/dev/null 2>&1 || fail "$1: ocioconvert failed"
    difference=$(maxdiff "$2" "$work/ref.png")
    [ "$difference" -le 1 ] || fail "$1: differs from ocioconvert by $difference"
}

# Default list: sRGB 1, Raw 2, ACEScg 3, scene-linear Rec.709-sRGB 4.
snapshots "" 1 2 3 4
[ "$(maxdiff "$work/snap-1.png" "$work/plate.0001.png")" -eq 0 ] || fail "sRGB is not as stored"
expect_view "Raw" "$work/snap-2.png" ACEScg
expect_view "ACEScg" "$work/snap-3.png" ACEScg
expect_view "scene-linear" "$work/snap-4.png" "scene-linear Rec.709-sRGB"
cp "$work/snap-4.png" "$work/default-linear.png"

# Another configuration: a studio-like list, scene-linear rendering, a pure 2.2 power view.
cat >"$work/other.ocio" <<'OCIO'
ocio_profile_version: 2.1
roles:
  default: Utility - sRGB - Texture
  scene_linear: Utility - Linear - sRGB
  data: Utility - Raw
file_rules:
  - !<Rule> {name: Default, colorspace: Utility - sRGB - Texture}
displays:
  Monitor:
    - !<View> {name: Gamma 2.2, colorspace: Gamma 2.2 Display}
colorspaces:
  - !<ColorSpace>
    name: Utility - Linear - sRGB
  - !<ColorSpace>
    name: Utility - sRGB - Texture
    to_scene_reference: !<ExponentWithLinearTransform> {gamma: 2.4, offset: 0.055}
  - !<ColorSpace>
    name: Utility - Raw
    isdata: true
  - !<ColorSpace>
    name: Gamma 2.2 Display
    from_scene_reference: !<ExponentTransform> {value: 2.2, direction: inverse}
OCIO
printf 'not a configuration\n' >"$work/broken.ocio"

queries='colorManagementPrefs -q -configFilePath; colorManagementPrefs -q -inputSpaceNames;
    colorManagementPrefs -q -loadedRenderingSpaceName; colorManagementPrefs -q -cmEnabled;
    colorManagementFileRules -evaluate "/x/clip.mov"'
OCIO="$work/other.ocio" "$host" -c "$queries" >"$work/out" 2>"$work/err" ||
    fail "OCIO variable: $(cat "$work/err")"
cat >"$work/expected" <<EOF2
// Result: $work/other.ocio //
// Result: Utility - Linear - sRGB Utility - sRGB - Texture Utility - Raw Gamma 2.2 Display //
// Result: Utility - Linear - sRGB //
// Result: 1 //
// Result: Utility - sRGB - Texture //
EOF2
diff -u "$work/expected" "$work/out" >&2 || fail "the OCIO variable's configuration is not loaded"

# Files no configuration can be read from, named by the variable or by -configFilePath: a broken
# one, a named pipe (opened, it would wait for a writer) and a folder. Each is reported and leaves
# the configuration loaded before.
mkfifo "$work/pipe.ocio"
mkdir "$work/folder.ocio"
for unreadable in broken.ocio pipe.ocio folder.ocio; do
    path=$work/$unreadable
    OCIO="$path" timeout 60 "$host" -c "colorManagementPrefs -q -configFilePath" >"$work/out" \
        2>"$work/err"
    grep -q "// Result: .*host/ocio/config.ocio //" "$work/out" ||
        fail "$unreadable in the OCIO variable does not leave the default"
    grep -q "cannot load the OCIO configuration $path: " "$work/err" ||
        fail "$unreadable in the OCIO variable is not reported: $(cat "$work/err")"

    timeout 60 "$host" -c "colorManagementPrefs -e -configFilePath \"$path\"" >"$work/out" \
        2>"$work/err" && fail "$unreadable is taken as a configuration file"
    grep -q "cannot load the OCIO configuration $path: " "$work/err" ||
        fail "$unreadable as a configuration file is not reported: $(cat "$work/err")"
    timeout 60 "$host" --keep-going -c "colorManagementPrefs -e -configFilePath \"$path\"" \
        -c "colorManagementPrefs -q -inputSpaceNames" >"$work/out" 2>"$work/err"
    grep -q "// Result: sRGB Raw ACEScg scene-linear Rec.709-sRGB //" "$work/out" ||
        fail "$unreadable as a configuration file does not leave the loaded one"
done

# The node's space is chosen by name when the plug-in loads; under the other configuration the
# same plate in its linear space goes through the 2.2 view.
snapshots "colorManagementPrefs -e -configFilePath \"$work/other.ocio\"" 1
cp "$work/snap-1.png" "$work/other-linear.png"
OCIO="$work/other.ocio" ocioconvert --view "$work/plate.0001.png" "Utility - Linear - sRGB" \
    "$work/ref.png" Monitor "Gamma 2.2" >/dev/null 2>&1 || fail "ocioconvert failed"
difference=$(maxdiff "$work/other-linear.png" "$work/ref.png")
[ "$difference" -le 1 ] || fail "the other configuration's view differs by $difference"
[ "$(maxdiff "$work/other-linear.png" "$work/default-linear.png")" -gt 1 ] ||
    fail "the picture does not change with the configuration"

# A scene saved with ACEScg chosen under the default configuration, opened by a plug-in loaded
# under the other one (which has no ACEScg): the scene brings its configuration back, and the
# plate shows as ACEScg did. With the OCIO variable set, the variable's configuration stays: the
# name is kept, the plate shows as stored, and one warning says why.
frame='setAttr defaultResolution.width 64; setAttr defaultResolution.height 48; currentTime 1;'
"$host" -c "loadPlugin \"$plugin\"; $frame camera -n shotCam;
    cineSheet -camera shotCam -filePath \"$work/plate.####.png\"; setAttr cineSheetShape1.colorSpace 3;
    file -rename \"$work/aces.ma\"; file -save" >"$work/out" 2>"$work/err" ||
    fail "saving under ACEScg: $(cat "$work/err")"
reopen="file -open \"$work/aces.ma\"; lookThru shotCam; $frame
    snapshot -file \"$work/reopened.png\"; currentTime 2; currentTime 1; refresh; flushIdleQueue;
    getAttr -asString cineSheetShape1.colorSpace"
"$host" -c "colorManagementPrefs -e -configFilePath \"$work/other.ocio\"; loadPlugin \"$plugin\";
    $reopen" >"$work/out" 2>"$work/err" || fail "reopening: $(cat "$work/err")"
tail -n 1 "$work/out" | grep -qx "// Result: ACEScg //" || fail "reopened: not ACEScg: $(cat "$work/out")"
[ "$(maxdiff "$work/reopened.png" "$work/snap-3.png")" -eq 0 ] ||
    fail "reopened under another configuration, the plate is not shown as ACEScg"
OCIO="$work/other.ocio" "$host" -c "loadPlugin \"$plugin\"; $reopen" >"$work/out" 2>"$work/err" ||
    fail "reopening under the OCIO variable: $(cat "$work/err")"
tail -n 1 "$work/out" | grep -qx "// Result: ACEScg //" || fail "the unknown name is not kept"
[ "$(grep -c 'no input space "ACEScg"; the footage is shown as stored' "$work/err")" -eq 1 ] ||
    fail "the unknown name is not warned about once: $(cat "$work/err")"
[ "$(maxdiff "$work/reopened.png" "$work/plate.0001.png")" -eq 0 ] ||
    fail "a name the configuration lacks is not shown as stored"

finish
