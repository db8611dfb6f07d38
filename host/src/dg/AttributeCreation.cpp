#include "dg/AttributeCreation.h"

#include "dg/Access.h"
#include "dg/StatusOut.h"

namespace host {

std::shared_ptr<Attribute> makeAttribute(Attribute::Kind kind, const MString& longName,
                                         const MString& shortName, MObject& target,
                                         MStatus* status) {
    if (longName.length() == 0) {
        setStatus(status, MStatus::kInvalidParameter);
        target = MObject();
        return nullptr;
    }
    auto attribute =
        std::make_shared<Attribute>(kind, longName, shortName.length() ? shortName : longName);
    target = Access::object(attribute);
    setStatus(status, MStatus::kSuccess);
    return attribute;
}

MStatus setLimit(const MObject& object, bool maximum, double value) {
    auto attribute = Access::as<Attribute>(object);
    if (!attribute || !attribute->isNumberLike()) {
        return MStatus::kFailure;
    }
    (maximum ? attribute->hasMax : attribute->hasMin) = true;
    (maximum ? attribute->maximum : attribute->minimum) = value;
    return MStatus::kSuccess;
}

bool hasLimit(const MObject& object, bool maximum, MStatus* status) {
    auto attribute = Access::as<Attribute>(object);
    setStatus(status, attribute ? MStatus::kSuccess : MStatus::kFailure);
    return attribute && (maximum ? attribute->hasMax : attribute->hasMin);
}

MStatus getLimit(const MObject& object, bool maximum, double& value) {
    auto attribute = Access::as<Attribute>(object);
    if (!attribute || !(maximum ? attribute->hasMax : attribute->hasMin)) {
        return MStatus::kFailure;
    }
    value = maximum ? attribute->maximum : attribute->minimum;
    return MStatus::kSuccess;
}

}  // namespace host
