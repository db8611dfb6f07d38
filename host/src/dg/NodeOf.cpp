#include "dg/NodeOf.h"

#include "dg/Access.h"
#include "dg/StatusOut.h"

namespace host {

std::shared_ptr<Node> nodeOf(const MObject& object, MStatus* status) {
    auto node = Access::as<Node>(object);
    setStatus(status, node ? MStatus::kSuccess : MStatus::kFailure);
    return node;
}

std::shared_ptr<Node> dagNodeOf(const MObject& object, MStatus* status) {
    auto node = Access::as<Node>(object);
    if (!node || !node->type->isDag) {
        setStatus(status, MStatus::kFailure);
        return nullptr;
    }
    setStatus(status, MStatus::kSuccess);
    return node;
}

}  // namespace host
