#include <maya/MCacheSchema.h>

#include "dg/Access.h"
#include "dg/Attribute.h"
#include "dg/CacheSetupState.h"

#include <algorithm>

namespace {

host::CacheSchemaState& state(MCacheSchema* schema) {
    return *reinterpret_cast<host::CacheSchemaState*>(schema);
}

}  // namespace

// The stand-in chooses no attributes of its own, so a reset leaves the list empty.
void MCacheSchema::reset() {
    state(this).attributes.clear();
}

MStatus MCacheSchema::add(const MObject& attribute) {
    if (!host::Access::as<host::Attribute>(attribute)) {
        return MStatus::kInvalidParameter;
    }
    auto& attributes = state(this).attributes;
    if (std::find(attributes.begin(), attributes.end(), attribute) == attributes.end()) {
        attributes.push_back(attribute);
    }
    return MStatus::kSuccess;
}
