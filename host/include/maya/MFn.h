#pragma once

// Function set types: what an object is, and which function sets can be attached to it.
class MFn {
public:
    enum Type {
        kInvalid = 0,
        kBase = 1,
        kNamedObject = 2,
        kModel = 3,
        kDependencyNode = 4,
        kDagNode = 107,
        kWorld = 108,
        kTransform = 110,
        kCamera = 250,
        kShape = 248,
        kLocator = 281,
        kPluginDependNode = 448,
        kPluginLocatorNode = 449,
        kTime = 513,
        kResolution = 522,
        kAttribute = 554,
        kNumericAttribute = 555,
        kUnitAttribute = 556,
        kTypedAttribute = 557,
        kEnumAttribute = 558,
        kMatrixAttribute = 559,
        kCompoundAttribute = 560,
        kData = 571,
        kNumericData = 582,
        kStringData = 583,
        kMatrixData = 584,
        kLast = 1200,
    };
};
