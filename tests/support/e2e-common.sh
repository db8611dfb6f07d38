# Sourced by the end-to-end scripts that run many checks through cinesheet-host: the host
# program, a scratch folder removed on exit, fail to report a check and go on with the rest,
# and finish to end with the verdict.
real_host="${CINESHEET_HOST:?CINESHEET_HOST must name the cinesheet-host program}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

# The host as the scripts run it ("$host" ..., also under timeout): a wrapper that passes its
# standard error on when it exits and notes every line FFmpeg wrote there itself
# ("[mov,mp4,m4a,3gp,3g2,mj2 @ 0x55d0c0] moov atom not found"), for finish to fail on: the
# plug-in keeps FFmpeg's log off the terminal.
host="$work/cinesheet-host"
cat >"$host" <<WRAPPER
#!/bin/sh
errors=\$(mktemp "$work/host-stderr.XXXXXX")
status=0
"$real_host" "\$@" 2>"\$errors" || status=\$?
cat "\$errors" >&2
grep -E '^\\[[^] ]+ @ 0x[0-9a-f]+\\] ' "\$errors" >>"$work/ffmpeg-lines"
rm -f "\$errors"
exit "\$status"
WRAPPER
chmod +x "$host"

finish() {
    if [ -s "$work/ffmpeg-lines" ]; then
        fail "FFmpeg wrote to standard error: $(head -n 3 "$work/ffmpeg-lines")"
    fi
    [ "$failures" -eq 0 ] || exit 1
    echo "all passed"
}

# For the scripts that make $nodes CineSheet nodes: the MEL lines a command prints for each node
# number from 1 to $nodes, given after its other arguments ("each_node dump_node f13").
each_node() {
    node=1
    while [ "$node" -le "$nodes" ]; do
        "$@" "$node"
        node=$((node + 1))
    done
}

# The texture of node $2 dumped to $work/<$1>.<$2>.rgba.
dump_node() {
    echo "textureDump -node cineSheetShape$2 -file \"$work/$1.$2.rgba\";"
}

# The plug-in and its scripts installed as a module (without the bundled FFmpeg, which
# install_module covers) and found through MAYA_PLUG_IN_PATH and MAYA_SCRIPT_PATH; the build's one
# Maya version has the one folder of plug-ins.
install_plugin_module() {
    prefix="$work/modules"
    cmake --install "$(dirname "$(dirname "$CINESHEET_PLUGIN")")" --prefix "$prefix" \
        --component plugin >/dev/null
    export MAYA_PLUG_IN_PATH="$(echo "$prefix"/CineSheet/*/plug-ins)"
    export MAYA_SCRIPT_PATH="$prefix/CineSheet/scripts"
}
