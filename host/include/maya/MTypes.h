#pragma once

class MSyntax;
class MStatus;

// Version of the API this stand-in host implements.
#define MAYA_API_VERSION 20180700

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

typedef void* (*MCreatorFunction)();
typedef MStatus (*MInitializeFunction)();
typedef MSyntax (*MCreateSyntaxFunction)();
