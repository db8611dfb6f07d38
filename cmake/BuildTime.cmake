# What makes a build of everything cheaper (make test builds two trees from nothing): the host's
# and the plug-in's files compiled in batches (CINESHEET_UNITY_BUILD), and the headers most files
# include compiled once per group of targets (CINESHEET_PCH). The test suites are not batched:
# their files share fixture and constant names.

# Headers that most files of the project include; the groups below add their own.
set(CINESHEET_STD_HEADERS <algorithm> <atomic> <chrono> <cmath> <cstdint> <cstdlib> <cstring>
    <functional> <map> <memory> <mutex> <optional> <set> <sstream> <string> <utility> <vector>)
set(CINESHEET_MAYA_HEADERS ${CINESHEET_STD_HEADERS} <maya/MStatus.h> <maya/MObject.h>
    <maya/MString.h> <maya/MStringArray.h> <maya/MPlug.h> <maya/MFnDependencyNode.h>
    <maya/MGlobal.h> <maya/MPxCommand.h> <maya/MArgDatabase.h> <maya/MSelectionList.h>)
set(CINESHEET_TEST_HEADERS ${CINESHEET_MAYA_HEADERS} <gtest/gtest.h> <thread>)

# cinesheet_precompile_headers(<group> <target> <header>...): the group's first target
# precompiles the headers; the others reuse its precompiled header, so they must be compiled with
# the same flags and definitions (Clang refuses one built with others).
function(cinesheet_precompile_headers group target)
    if(NOT CINESHEET_PCH)
        return()
    endif()
    get_property(owner GLOBAL PROPERTY cinesheet_pch_${group})
    if(owner)
        target_precompile_headers(${target} REUSE_FROM ${owner})
    else()
        target_precompile_headers(${target} PRIVATE ${ARGN})
        set_property(GLOBAL PROPERTY cinesheet_pch_${group} ${target})
    endif()
endfunction()

# cinesheet_unity_build(<target>): the target's files compiled in batches of eight, which keeps
# a rebuild after one edit small.
function(cinesheet_unity_build target)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ${CINESHEET_UNITY_BUILD}
                                               UNITY_BUILD_BATCH_SIZE 8)
endfunction()
