#include "dg/DagPaths.h"

#include <algorithm>

namespace host {

std::vector<NodePath> pathsTo(Node& node) {
    std::vector<NodePath> paths;
    for (Node* parent : node.parents) {
        if (parent->isWorld()) {
            paths.push_back({&node});
            continue;
        }
        for (NodePath path : pathsTo(*parent)) {
            path.push_back(&node);
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

int instanceCountOf(const Node& node) {
    int count = 0;
    for (const Node* parent : node.parents) {
        count += parent->isWorld() ? 1 : instanceCountOf(*parent);
    }
    return count;
}

bool instanceOfParent(const Node& node, int instance, Node*& parent, int& parentInstance) {
    for (Node* each : node.parents) {
        const int count = each->isWorld() ? 1 : instanceCountOf(*each);
        if (instance < count) {
            parent = each;
            parentInstance = instance;
            return true;
        }
        instance -= count;
    }
    return false;
}

void instancesChanged(Node& node) {
    // A node outside the DAG keeps element 0, as every DAG node is made with.
    const int count = std::max(instanceCountOf(node), 1);
    for (const auto& attribute : node.type->attributes) {
        if (!attribute->worldSpace) {
            continue;
        }
        if (attribute->array) {
            for (auto slot = node.slots.begin(); slot != node.slots.end();) {
                const bool gone = slot->first.attribute == attribute.get() &&
                                  slot->first.index >= count && !node.hasOutgoing(slot->first);
                slot = gone ? node.slots.erase(slot) : std::next(slot);
            }
            for (int index = 0; index < count; ++index) {
                node.slot({attribute.get(), index});
            }
        }
        node.markDirty({attribute.get(), -1});
    }
    for (const auto& child : node.children) {
        instancesChanged(*child);
    }
}

}  // namespace host
