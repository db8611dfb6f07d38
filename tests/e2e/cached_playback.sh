#!/bin/sh
# Cached Playback's safe mode: an animated node whose type does not ask to be cached is named by
# cacheEvaluator -q -safeModeMessages; a node that asks, or that time does not reach, is not.
set -u
plugin="${CINESHEET_TEST_PLUGIN_DIR:?}/libcachetest.so"
. "$(dirname "$0")/../support/e2e-common.sh"

# Prints each message on a line of its own, then whether safe mode would be triggered.
report='string $messages[] = `cacheEvaluator -q -safeModeMessages`;
    for ($message in $messages) print ($message + "\n");
    print ("triggered " + `cacheEvaluator -q -safeModeTriggered` + "\n");'

check() {
    what="$1"
    expected="$2"
    shift 2
    "$host" -c "loadPlugin \"$plugin\"; $* $report" >"$work/out" 2>"$work/err" ||
        fail "$what: $(cat "$work/err")"
    out=$(grep -v '^// Result' "$work/out")
    [ "$out" = "$expected" ] || fail "$what: got
$out"
}

check "a still scene" "triggered 0" \
    'createNode cacheTestLocator -n still; createNode cacheTestCachedLocator -n cached;'

check "an animated plain locator is named, a cached one is not" \
    'Node "plain" of type "cacheTestLocator": plug-in locators do not support Cached Playback unless their type enables it
triggered 1' \
    'createNode cacheTestLocator -n plain; createNode cacheTestCachedLocator -n cached;
    createNode cacheTestLocator -n still;
    connectAttr time1.outTime plain.offset; connectAttr time1.outTime cached.offset;'

check "time reaches through other nodes and down the DAG" \
    'Node "chained" of type "cacheTestLocator": plug-in locators do not support Cached Playback unless their type enables it
Node "below" of type "cacheTestLocator": plug-in locators do not support Cached Playback unless their type enables it
triggered 1' \
    'createNode transform -n mover; connectAttr time1.outTime mover.translateX;
    createNode cacheTestLocator -n chained; connectAttr mover.translateY chained.offset;
    createNode transform -n rig; connectAttr time1.outTime rig.rotateY;
    createNode cacheTestLocator -n below -p rig;'

check "a type that asks may still disable caching for a value it cannot cache" \
    'Node "guarded" of type "cacheTestGuardedLocator": "guarded" (cacheTestGuardedLocator): attribute "live" has an unsupported value (Remove the animation or use a supported value)
triggered 1' \
    'createNode cacheTestGuardedLocator -n guarded; connectAttr time1.outTime guarded.offset;
    createNode cacheTestGuardedLocator -n calm; connectAttr time1.outTime calm.offset;
    setAttr guarded.live 1;'

check "deleting the animated node clears the messages" "triggered 0" \
    'createNode cacheTestLocator -n plain; connectAttr time1.outTime plain.offset; delete plain;'

finish
