#pragma once

#include <maya/MApiNamespace.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set types: what an object is, and which function sets can be attached to it.
class MFn {
public:
    // Only the types this host makes or checks; the values are Maya's.
    enum Type {
        kInvalid = 0,
        kBase = 1,
        kNamedObject = 2,
        kModel = 3,
        kDependencyNode = 4,
        kDagNode = 107,
        kTransform = 110,
        kWorld = 247,
        kShape = 248,
        kCamera = 250,
        kLocator = 281,
        kPluginDependNode = 459,
        kPluginLocatorNode = 460,
        kTime = 520,
        kResolution = 526,
        kAttribute = 565,
        kNumericAttribute = 566,
        kEnumAttribute = 572,
        kUnitAttribute = 573,
        kTypedAttribute = 574,
        kCompoundAttribute = 575,
        kMatrixAttribute = 578,
#if MAYA_API_VERSION >= 20240000
        kData = 583,
        kMatrixData = 589,
        kNumericData = 593,
        kStringData = 606,
        kLast = 1206,
#else
        kData = 582,
        kMatrixData = 588,
        kNumericData = 592,
        kStringData = 605,
#if MAYA_API_VERSION >= 20230000
        kLast = 1151,
#else
        kLast = 1150,
#endif
#endif
    };
};

OPENMAYA_NAMESPACE_CLOSE
