#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnBase.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base function set for data values (strings, matrices) passed through typed plugs.
class MFnData : public MFnBase {
public:
    enum Type {
        kInvalid,
        kNumeric,
        kPlugin,
        kPluginGeometry,
        kString,
        kMatrix,
        kStringArray,
        kDoubleArray,
        kFloatArray,
        kIntArray,
        kPointArray,
        kVectorArray,
        kMatrixArray,
        kComponentList,
        kMesh,
        kLattice,
        kNurbsCurve,
        kNurbsSurface,
        kSphere,
        kDynArrayAttrs,
        kDynSweptGeometry,
        kSubdSurface,
        kNObject,
        kNId,
        kAny,
        kFalloffFunction,
        kLast,
    };

    MFnData();
    MFnData(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnData() override;

    MFn::Type type() const override;
};

OPENMAYA_NAMESPACE_CLOSE
