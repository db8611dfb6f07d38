#include <maya/MFnAttribute.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::setStatus;

namespace {

// Reads one property of the set's attribute, reporting a missing attribute.
template <typename Result, typename Getter>
Result readAttribute(const MObject& object, MStatus* status, Result fallback, Getter getter) {
    auto attribute = Access::as<Attribute>(object);
    setStatus(status, attribute ? MStatus::kSuccess : MStatus::kFailure);
    return attribute ? getter(*attribute) : fallback;
}

MStatus setFlag(const MObject& object, bool Attribute::*flag, bool state) {
    auto attribute = Access::as<Attribute>(object);
    if (!attribute) {
        return MStatus::kFailure;
    }
    (*attribute).*flag = state;
    return MStatus::kSuccess;
}

bool getFlag(const MObject& object, bool Attribute::*flag, MStatus* status) {
    return readAttribute(object, status, false,
                         [flag](const Attribute& attribute) { return attribute.*flag; });
}

}  // namespace

MFnAttribute::MFnAttribute() = default;

MFnAttribute::MFnAttribute(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnAttribute::~MFnAttribute() = default;

MFn::Type MFnAttribute::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kAttribute;
}

MString MFnAttribute::name(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return readAttribute(object_, ReturnStatus, MString(),
                         [](const Attribute& attribute) { return attribute.longName; });
}

MString MFnAttribute::shortName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return readAttribute(object_, ReturnStatus, MString(),
                         [](const Attribute& attribute) { return attribute.shortName; });
}

MObject MFnAttribute::parent(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return readAttribute(object_, ReturnStatus, MObject(), [](const Attribute& attribute) {
        return attribute.parent ? Access::object(attribute.parent->sharedFromThis()) : MObject();
    });
}

bool MFnAttribute::accepts(MFnData::Type dataType, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return readAttribute(object_, ReturnStatus, false, [dataType](const Attribute& attribute) {
        return (dataType == MFnData::kString && attribute.holdsText()) ||
               (dataType == MFnData::kMatrix && attribute.holdsMatrix()) ||
               (dataType == MFnData::kNumeric && attribute.isNumberLike());
    });
}

bool MFnAttribute::isReadable(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::readable, s);
}
bool MFnAttribute::isWritable(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::writable, s);
}
bool MFnAttribute::isConnectable(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::connectable, s);
}
bool MFnAttribute::isStorable(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::storable, s);
}
bool MFnAttribute::isCached(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::cached, s);
}
bool MFnAttribute::isArray(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::array, s);
}
bool MFnAttribute::indexMatters(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::indexMatters, s);
}
bool MFnAttribute::isKeyable(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::keyable, s);
}
bool MFnAttribute::isChannelBoxFlagSet(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::channelBox, s);
}
bool MFnAttribute::isHidden(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::hidden, s);
}
bool MFnAttribute::isUsedAsColor(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::usedAsColor, s);
}
bool MFnAttribute::isUsedAsFilename(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::usedAsFilename, s);
}
bool MFnAttribute::isWorldSpace(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::worldSpace, s);
}
bool MFnAttribute::isAffectsWorldSpace(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::affectsWorldSpace, s);
}
bool MFnAttribute::affectsAppearance(MStatus* s) const {
    HOST_MAIN_THREAD_ONLY();
    return getFlag(object_, &Attribute::affectsAppearance, s);
}

MFnAttribute::DisconnectBehavior MFnAttribute::disconnectBehavior(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return readAttribute(object_, ReturnStatus, kNothing,
                         [](const Attribute& attribute) { return attribute.disconnectBehavior; });
}

MStatus MFnAttribute::setReadable(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::readable, state);
}
MStatus MFnAttribute::setWritable(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::writable, state);
}
MStatus MFnAttribute::setConnectable(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::connectable, state);
}
MStatus MFnAttribute::setStorable(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::storable, state);
}
MStatus MFnAttribute::setCached(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::cached, state);
}
MStatus MFnAttribute::setArray(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::array, state);
}
MStatus MFnAttribute::setIndexMatters(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::indexMatters, state);
}
MStatus MFnAttribute::setKeyable(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::keyable, state);
}
MStatus MFnAttribute::setChannelBox(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::channelBox, state);
}
MStatus MFnAttribute::setHidden(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::hidden, state);
}
MStatus MFnAttribute::setUsedAsColor(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::usedAsColor, state);
}
MStatus MFnAttribute::setUsedAsFilename(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::usedAsFilename, state);
}
MStatus MFnAttribute::setWorldSpace(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::worldSpace, state);
}
MStatus MFnAttribute::setAffectsWorldSpace(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::affectsWorldSpace, state);
}
MStatus MFnAttribute::setAffectsAppearance(bool state) {
    HOST_MAIN_THREAD_ONLY();
    return setFlag(object_, &Attribute::affectsAppearance, state);
}

MStatus MFnAttribute::setDisconnectBehavior(DisconnectBehavior behavior) {
    HOST_MAIN_THREAD_ONLY();
    auto attribute = Access::as<Attribute>(object_);
    if (!attribute) {
        return MStatus::kFailure;
    }
    attribute->disconnectBehavior = behavior;
    return MStatus::kSuccess;
}
