#pragma once

#include <maya/MApiNamespace.h>

// What a plug-in exports for the host to find.
#define PLUGIN_EXPORT __attribute__((visibility("default")))

typedef long long MInt64;
typedef unsigned long long MUint64;

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Coordinate spaces for transformation calls.
class MSpace {
public:
    enum Space {
        kInvalid = 0,
        kTransform = 1,
        kPreTransform = 2,
        kPostTransform = 3,
        kWorld = 4,
        kLast = 5,
        kObject = kPreTransform,
    };
};

OPENMAYA_NAMESPACE_CLOSE

typedef void* (*MCreatorFunction)();
typedef MStatus (*MInitializeFunction)();
typedef MSyntax (*MCreateSyntaxFunction)();
