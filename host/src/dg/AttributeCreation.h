#pragma once

#include "dg/Attribute.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>

namespace host {

// A new attribute of the kind, as the object a function set now operates on.
std::shared_ptr<Attribute> makeAttribute(Attribute::Kind kind, const MString& longName,
                                         const MString& shortName, MObject& target,
                                         MStatus* status);
// Hard limits of numeric and unit attributes; times given in seconds.
MStatus setLimit(const MObject& object, bool maximum, double value);
bool hasLimit(const MObject& object, bool maximum, MStatus* status);
MStatus getLimit(const MObject& object, bool maximum, double& value);

}  // namespace host
