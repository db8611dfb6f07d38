#pragma once

#include <maya/MFnBase.h>

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
        kLast,
    };

    MFnData();
    MFnData(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnData() override;

    MFn::Type type() const override;
};
