#include <host/CachedPlayback.h>
#include <maya/MEvaluationNode.h>
#include <maya/MObjectArray.h>

#include "dg/Access.h"
#include "dg/CacheSetupState.h"
#include "dg/SceneGraph.h"

#include <deque>
#include <set>

namespace host {
namespace {

void markDescendants(Node& node, std::set<Node*>& animated, std::deque<Node*>& pending) {
    for (const auto& child : node.children) {
        if (animated.insert(child.get()).second) {
            pending.push_back(child.get());
        }
    }
}

// Everything time reaches: along connections, and from a DAG node to what lies below it, whose
// world-space outputs move with it.
std::set<Node*> animatedNodes() {
    std::set<Node*> animated;
    Node* time = SceneGraph::instance().timeNode();
    if (!time) {
        return animated;
    }
    std::deque<Node*> pending{time};
    while (!pending.empty()) {
        Node* node = pending.front();
        pending.pop_front();
        for (const auto& out : node->outgoing) {
            for (const PlugEnd& destination : out.second) {
                if (animated.insert(destination.node).second) {
                    pending.push_back(destination.node);
                }
            }
        }
        if (node != time) {
            markDescendants(*node, animated, pending);
        }
    }
    return animated;
}

std::string quoted(const MString& text) {
    return std::string("\"") + text.asChar() + "\"";
}

// Why the node would stop caching, or "" when its type asks to be cached. Maya's own message
// text is not documented; this one names the node, its type and the reason the node gave. A
// type that neither disables caching nor asks for it is taken as not supporting it: Maya only
// documents that plug-in locators must ask.
std::string unsupportedReason(Node& node) {
    CacheDisablingState disabling;
    CacheSetupState setup;
    MObjectArray monitored;
    node.user->getCacheSetup(Access::evaluationNode(&node), apiView(disabling), apiView(setup),
                             monitored);
    std::string reason;
    if (disabling.disabled) {
        reason = disabling.reason.length() ? disabling.reason.asChar() : "caching is disabled";
        if (disabling.mitigation.length()) {
            reason += std::string(" (") + disabling.mitigation.asChar() + ")";
        }
    } else if (!setup.preferences[MNodeCacheSetupInfo::kWantToCacheByDefault]) {
        reason = "the node type does not ask to be cached";
    }
    return reason;
}

}  // namespace

std::vector<std::string> safeModeMessages() {
    const std::set<Node*> animated = animatedNodes();
    std::vector<std::string> messages;
    for (const auto& node : SceneGraph::instance().nodes()) {
        // The host's own types stand for Maya's, which support caching.
        if (node->type->pluginName.empty() || !node->user || !animated.count(node.get())) {
            continue;
        }
        const std::string reason = unsupportedReason(*node);
        if (!reason.empty()) {
            messages.push_back("Node " + quoted(node->name) + " of type " +
                               quoted(node->type->name) + ": " + reason);
        }
    }
    return messages;
}

std::vector<std::string> cachedAttributes(const MObject& object) {
    std::vector<std::string> names;
    auto node = Access::as<Node>(object);
    if (!node || !node->user) {
        return names;
    }
    CacheSchemaState schema;
    node->user->configCache(Access::evaluationNode(node.get()), apiView(schema));
    for (const MObject& attribute : schema.attributes) {
        names.push_back(Access::as<Attribute>(attribute)->longName.asChar());
    }
    return names;
}

}  // namespace host
