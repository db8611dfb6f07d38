#pragma once

#include "dg/Entity.h"
#include "dg/Value.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MString.h>

#include <memory>
#include <utility>
#include <vector>

namespace host {

// Description of one attribute of a node type, as built by the attribute function sets.
class Attribute : public Entity {
public:
    enum class Kind { Numeric, Unit, Typed, Enum, Matrix, Compound };

    Attribute(Kind kind, const MString& longName, const MString& shortName);

    MFn::Type apiType() const override;
    bool hasFn(MFn::Type type) const override;

    // Numbers, times, angles, distances and enumerations: all connect to each other.
    bool isNumberLike() const;
    bool isInteger() const;
    bool holdsText() const;
    bool holdsMatrix() const;
    // Whether a value can flow from this attribute into the other one.
    bool compatibleWith(const Attribute& destination) const;

    // A number as this attribute stores it: rounded for integers, clamped when clampToLimits.
    Value fromNumber(double number, bool clampToLimits) const;
    // Any value converted to this attribute's kind (numbers between number-like kinds).
    Value converted(const Value& value) const;

    std::shared_ptr<Attribute> sharedFromThis() const;

    Kind kind;
    MString longName;
    MString shortName;
    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    MFnUnitAttribute::Type unitType = MFnUnitAttribute::kInvalid;
    MFnData::Type dataType = MFnData::kInvalid;
    MFnMatrixAttribute::Type matrixType = MFnMatrixAttribute::kDouble;
    Value defaultValue;
    // Hard limits; times are in seconds.
    bool hasMin = false;
    bool hasMax = false;
    double minimum = 0.0;
    double maximum = 0.0;
    std::vector<std::pair<MString, short>> fields;
    std::vector<std::shared_ptr<Attribute>> children;
    Attribute* parent = nullptr;

    bool readable = true;
    bool writable = true;
    bool connectable = true;
    bool storable = true;
    bool cached = true;
    bool array = false;
    bool indexMatters = true;
    bool keyable = false;
    bool channelBox = false;
    bool hidden = false;
    bool usedAsColor = false;
    bool usedAsFilename = false;
    bool worldSpace = false;
    bool affectsWorldSpace = false;
    bool affectsAppearance = false;
    MFnAttribute::DisconnectBehavior disconnectBehavior = MFnAttribute::kNothing;
};

}  // namespace host
