#!/bin/sh
# CINESHEET_CACHE_MB as the plug-in reads it when it loads: a value that is no positive whole
# number is reported once and ignored, one above the physical memory is cut down with a warning,
# a usable one says nothing.
set -u
plugin="${CINESHEET_PLUGIN:?CINESHEET_PLUGIN must name libCineSheet.so}"
. "$(dirname "$0")/../support/e2e-common.sh"

load="loadPlugin \"$plugin\"; cineSheet -noTime true; refresh; unloadPlugin -f libCineSheet"

for unusable in "abc" "0" "-5" "1.5" "64 MB"; do
    CINESHEET_CACHE_MB="$unusable" "$host" -c "$load" >"$work/out" 2>"$work/err" ||
        fail "loading with \"$unusable\": $(cat "$work/err")"
    [ "$(grep -c "CINESHEET_CACHE_MB \"$unusable\" is not a positive whole number" \
        "$work/out" "$work/err" | awk -F: '{ n += $2 } END { print n }')" = 1 ] ||
        fail "one warning for \"$unusable\": $(cat "$work/out" "$work/err")"
done

physical_mb=$(awk '/^MemTotal:/ { print int($2 / 1024) }' /proc/meminfo)
CINESHEET_CACHE_MB=$((physical_mb * 4)) "$host" -c "$load" >"$work/out" 2>"$work/err" ||
    fail "loading with too much: $(cat "$work/err")"
grep -q "more than the physical memory" "$work/out" "$work/err" ||
    fail "no warning for more than the physical memory: $(cat "$work/out" "$work/err")"

CINESHEET_CACHE_MB=256 "$host" -c "$load" >"$work/out" 2>"$work/err" ||
    fail "loading with 256: $(cat "$work/err")"
grep -q "CINESHEET_CACHE_MB" "$work/out" "$work/err" &&
    fail "a warning for a usable value: $(cat "$work/out" "$work/err")"

finish
