#include "dg/Connections.h"

#include "dg/Access.h"
#include "dg/SceneGraph.h"
#include "references/ReferenceEdits.h"

#include <algorithm>

namespace host {
namespace {

unsigned long nextConnectionSerial() {
    static unsigned long serial = 0;
    return ++serial;
}

std::string plugText(const Node& node, const PlugKey& key) {
    std::string text = std::string(node.name.asChar()) + "." + key.attribute->longName.asChar();
    if (key.index >= 0) {
        text += "[" + std::to_string(key.index) + "]";
    }
    return text;
}

// A plug that can be one end of a connection: a value, not an array or compound as a whole.
bool isConnectableShape(const PlugKey& key) {
    return key.attribute && key.attribute->kind != Attribute::Kind::Compound &&
           (!key.attribute->array || key.index >= 0);
}

void notify(const Connection& connection, bool made) {
    const MPlug source =
        Access::plug(connection.sourceNode, connection.source.attribute, connection.source.index);
    const MPlug destination = Access::plug(
        connection.destinationNode, connection.destination.attribute, connection.destination.index);
    if (MPxNode* user = connection.sourceNode->user.get()) {
        made ? user->connectionMade(source, destination, true)
             : user->connectionBroken(source, destination, true);
    }
    if (MPxNode* user = connection.destinationNode->user.get()) {
        made ? user->connectionMade(destination, source, false)
             : user->connectionBroken(destination, source, false);
    }
}

}  // namespace

std::string connectionProblem(const Connection& connection) {
    if (!connection.sourceNode || !connection.destinationNode ||
        !isConnectableShape(connection.source) || !isConnectableShape(connection.destination)) {
        return "Only single values can be connected.";
    }
    const Node& sourceNode = *connection.sourceNode;
    const Node& destinationNode = *connection.destinationNode;
    const Attribute& source = *connection.source.attribute;
    const Attribute& destination = *connection.destination.attribute;
    const std::string sourceText = plugText(sourceNode, connection.source);
    const std::string destinationText = plugText(destinationNode, connection.destination);
    if (!sourceNode.inScene || !destinationNode.inScene) {
        return "The node of '" + (sourceNode.inScene ? destinationText : sourceText) +
               "' is not in the scene.";
    }
    if (&sourceNode == &destinationNode && connection.source == connection.destination) {
        return "Cannot connect '" + sourceText + "' to itself.";
    }
    if (!source.connectable || !source.readable) {
        return "The source attribute '" + sourceText + "' cannot be connected.";
    }
    if (!destination.connectable || !destination.writable) {
        return "The destination attribute '" + destinationText + "' cannot be connected.";
    }
    if (!source.compatibleWith(destination)) {
        return "The attribute '" + sourceText + "' cannot be connected to '" + destinationText +
               "': their types are incompatible.";
    }
    if (destinationNode.incomingOf(connection.destination)) {
        return "'" + destinationText + "' already has an incoming connection.";
    }
    return "";
}

MStatus connectPlugs(const Connection& connection) {
    if (!connectionProblem(connection).empty()) {
        return MStatus::kFailure;
    }
    linkPlugs(connection);
    recordConnectionEdit(connection, true);
    return MStatus::kSuccess;
}

void linkPlugs(const Connection& connection) {
    Node& destination = *connection.destinationNode;
    destination.incoming[connection.destination] =
        Incoming{PlugEnd{connection.sourceNode.get(), connection.source}, nextConnectionSerial()};
    connection.sourceNode->outgoing[connection.source].push_back(
        PlugEnd{&destination, connection.destination});
    destination.markDirty(connection.destination);
    SceneGraph::instance().setModified(true);
    notify(connection, true);
}

MStatus disconnectPlugs(const Connection& connection) {
    Node& destination = *connection.destinationNode;
    const Incoming* in = destination.incomingOf(connection.destination);
    if (!in || !(in->source == PlugEnd{connection.sourceNode.get(), connection.source})) {
        return MStatus::kInvalidParameter;
    }
    // The destination keeps the last value it received unless its attribute says otherwise.
    const Value last = destination.evaluate(connection.destination);
    destination.incoming.erase(connection.destination);
    auto& out = connection.sourceNode->outgoing[connection.source];
    out.erase(std::remove(out.begin(), out.end(), PlugEnd{&destination, connection.destination}),
              out.end());
    if (out.empty()) {
        connection.sourceNode->outgoing.erase(connection.source);
    }
    const Attribute& attribute = *connection.destination.attribute;
    switch (attribute.disconnectBehavior) {
        case MFnAttribute::kReset:
            destination.store(connection.destination, attribute.defaultValue);
            break;
        case MFnAttribute::kDelete:
            destination.slots.erase(connection.destination);
            destination.markDirty(connection.destination);
            break;
        case MFnAttribute::kNothing:
            destination.store(connection.destination, last);
            break;
    }
    SceneGraph::instance().setModified(true);
    notify(connection, false);
    recordConnectionEdit(connection, false);
    return MStatus::kSuccess;
}

std::vector<Connection> connectionsOf(Node& node) {
    std::vector<Connection> result;
    for (const auto& entry : node.incoming) {
        const PlugEnd& source = entry.second.source;
        result.push_back(
            {source.node->sharedFromThis(), source.key, node.sharedFromThis(), entry.first});
    }
    for (const auto& entry : node.outgoing) {
        for (const PlugEnd& destination : entry.second) {
            if (destination.node != &node) {
                result.push_back({node.sharedFromThis(), entry.first,
                                  destination.node->sharedFromThis(), destination.key});
            }
        }
    }
    return result;
}

}  // namespace host
