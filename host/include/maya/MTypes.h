#pragma once

class MSyntax;
class MStatus;

// Version of the API this stand-in host presents: Maya 2024.2 unless the build chooses another
// (the CMake option CINESHEET_MAYA_API, e.g. 20220300 for Maya 2022.3).
#ifndef MAYA_API_VERSION
#define MAYA_API_VERSION 20240200
#endif

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

typedef unsigned long long MUint64;

typedef void* (*MCreatorFunction)();
typedef MStatus (*MInitializeFunction)();
typedef MSyntax (*MCreateSyntaxFunction)();
