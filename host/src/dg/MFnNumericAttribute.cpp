#include <maya/MFnNumericAttribute.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/AttributeCreation.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::setStatus;

namespace {

bool isSingleValue(MFnNumericData::Type type) {
    switch (type) {
        case MFnNumericData::kBoolean:
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
        case MFnNumericData::kShort:
        case MFnNumericData::kLong:
        case MFnNumericData::kFloat:
        case MFnNumericData::kDouble:
            return true;
        default:
            return false;
    }
}

MStatus setDefaultNumber(const MObject& object, double value) {
    auto attribute = Access::as<Attribute>(object);
    if (!attribute || attribute->kind != Attribute::Kind::Numeric) {
        return MStatus::kFailure;
    }
    attribute->defaultValue = attribute->fromNumber(value, false);
    return MStatus::kSuccess;
}

template <typename T>
MStatus getDefaultNumber(const MObject& object, T& value) {
    auto attribute = Access::as<Attribute>(object);
    if (!attribute || attribute->kind != Attribute::Kind::Numeric) {
        return MStatus::kFailure;
    }
    value = static_cast<T>(attribute->defaultValue.number);
    return MStatus::kSuccess;
}

}  // namespace

MFnNumericAttribute::MFnNumericAttribute() = default;

MFnNumericAttribute::MFnNumericAttribute(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnNumericAttribute::~MFnNumericAttribute() = default;

MFn::Type MFnNumericAttribute::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kNumericAttribute;
}

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    MFnNumericData::Type unitType, double defaultValue,
                                    MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    if (!isSingleValue(unitType)) {
        // Multi-value numbers are made as compounds of single values (see the other create).
        object_ = MObject();
        setStatus(ReturnStatus, MStatus::kNotImplemented);
        return object_;
    }
    auto attribute =
        host::makeAttribute(Attribute::Kind::Numeric, fullName, briefName, object_, ReturnStatus);
    if (attribute) {
        attribute->numericType = unitType;
        attribute->defaultValue = attribute->fromNumber(defaultValue, false);
    }
    return object_;
}

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    const MObject& child1, const MObject& child2,
                                    const MObject& child3, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    std::vector<std::shared_ptr<Attribute>> children;
    for (const MObject* child : {&child1, &child2, &child3}) {
        auto attribute = Access::as<Attribute>(*child);
        const bool numberChild = attribute && (attribute->kind == Attribute::Kind::Numeric ||
                                               attribute->kind == Attribute::Kind::Unit);
        if (numberChild && !attribute->parent) {
            children.push_back(attribute);
        } else if (!child->isNull() || child != &child3) {
            object_ = MObject();
            setStatus(ReturnStatus, MStatus::kInvalidParameter);
            return object_;
        }
    }
    auto compound =
        host::makeAttribute(Attribute::Kind::Compound, fullName, briefName, object_, ReturnStatus);
    if (compound) {
        const bool allDouble = children.front()->numericType != MFnNumericData::kFloat;
        compound->numericType =
            children.size() == 3 ? (allDouble ? MFnNumericData::k3Double : MFnNumericData::k3Float)
                                 : (allDouble ? MFnNumericData::k2Double : MFnNumericData::k2Float);
        for (const auto& child : children) {
            child->parent = compound.get();
            compound->children.push_back(child);
        }
    }
    return object_;
}

MObject MFnNumericAttribute::createPoint(const MString& fullName, const MString& briefName,
                                         MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    MObject axes[3];
    const char* suffixes[] = {"X", "Y", "Z"};
    const char* briefSuffixes[] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        axes[i] = create(fullName + suffixes[i], briefName + briefSuffixes[i],
                         MFnNumericData::kDouble, 0.0, ReturnStatus);
    }
    return create(fullName, briefName, axes[0], axes[1], axes[2], ReturnStatus);
}

MFnNumericData::Type MFnNumericAttribute::unitType(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    setStatus(ReturnStatus, attribute ? MStatus::kSuccess : MStatus::kFailure);
    return attribute ? attribute->numericType : MFnNumericData::kInvalid;
}

bool MFnNumericAttribute::hasMin(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return host::hasLimit(object_, false, s);
}
bool MFnNumericAttribute::hasMax(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return host::hasLimit(object_, true, s);
}
MStatus MFnNumericAttribute::getMin(double& min) const {
    HOST_MAIN_THREAD_ONLY();
    return host::getLimit(object_, false, min);
}
MStatus MFnNumericAttribute::getMax(double& max) const {
    HOST_MAIN_THREAD_ONLY();
    return host::getLimit(object_, true, max);
}
MStatus MFnNumericAttribute::setMin(double min) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, false, min);
}
MStatus MFnNumericAttribute::setMin(int min) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, false, min);
}
MStatus MFnNumericAttribute::setMin(float min) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, false, min);
}
MStatus MFnNumericAttribute::setMax(double max) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, true, max);
}
MStatus MFnNumericAttribute::setMax(int max) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, true, max);
}
MStatus MFnNumericAttribute::setMax(float max) {
    HOST_MAIN_THREAD_ONLY();
    return host::setLimit(object_, true, max);
}

// Soft limits only guide sliders, which this host does not have.
MStatus MFnNumericAttribute::setSoftMin(double) {
    HOST_MAIN_THREAD_ONLY();
    return object_.isNull() ? MStatus::kFailure : MStatus::kSuccess;
}
MStatus MFnNumericAttribute::setSoftMax(double) {
    HOST_MAIN_THREAD_ONLY();
    return object_.isNull() ? MStatus::kFailure : MStatus::kSuccess;
}

MStatus MFnNumericAttribute::getDefault(double& value) {
    HOST_MAIN_THREAD_ONLY();
    return getDefaultNumber(object_, value);
}
MStatus MFnNumericAttribute::getDefault(float& value) {
    HOST_MAIN_THREAD_ONLY();
    return getDefaultNumber(object_, value);
}
MStatus MFnNumericAttribute::getDefault(int& value) {
    HOST_MAIN_THREAD_ONLY();
    return getDefaultNumber(object_, value);
}
MStatus MFnNumericAttribute::getDefault(bool& value) {
    HOST_MAIN_THREAD_ONLY();
    double number = 0.0;
    MStatus status = getDefaultNumber(object_, number);
    value = number != 0.0;
    return status;
}
MStatus MFnNumericAttribute::setDefault(double value) {
    HOST_MAIN_THREAD_ONLY();
    return setDefaultNumber(object_, value);
}
MStatus MFnNumericAttribute::setDefault(float value) {
    HOST_MAIN_THREAD_ONLY();
    return setDefaultNumber(object_, value);
}
MStatus MFnNumericAttribute::setDefault(int value) {
    HOST_MAIN_THREAD_ONLY();
    return setDefaultNumber(object_, value);
}
MStatus MFnNumericAttribute::setDefault(short value) {
    HOST_MAIN_THREAD_ONLY();
    return setDefaultNumber(object_, value);
}
MStatus MFnNumericAttribute::setDefault(bool value) {
    HOST_MAIN_THREAD_ONLY();
    return setDefaultNumber(object_, value ? 1.0 : 0.0);
}
