# Sourced by the end-to-end scripts that run many checks through cinesheet-host: the host
# program, a scratch folder removed on exit, fail to report a check and go on with the rest,
# and finish to end with the verdict.
host="${CINESHEET_HOST:?CINESHEET_HOST must name the cinesheet-host program}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

finish() {
    [ "$failures" -eq 0 ] || exit 1
    echo "all passed"
}
