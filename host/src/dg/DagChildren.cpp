#include "dg/DagChildren.h"

#include "dg/Access.h"
#include "dg/NodeOf.h"
#include "dg/StatusOut.h"

namespace host {

unsigned int childCountOf(const MObject& object, MStatus* status) {
    auto node = dagNodeOf(object, status);
    return node ? static_cast<unsigned int>(node->children.size()) : 0;
}

MObject childOf(const MObject& object, unsigned int index, MStatus* status) {
    auto node = dagNodeOf(object, status);
    if (!node || index >= node->children.size()) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    return Access::object(node->children[index]);
}

}  // namespace host
