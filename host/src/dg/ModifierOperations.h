#pragma once

#include "dg/Connections.h"
#include "dg/NodeCreation.h"
#include "dg/SceneGraph.h"

#include <maya/MStatus.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace host {

// One queued change of a modifier.
class ModifierOperation {
public:
    virtual ~ModifierOperation() = default;
    virtual MStatus doIt() = 0;
    virtual MStatus undoIt() = 0;
};

// The queue behind MDGModifier: operations not yet done, then done ones, undone newest first.
class ModifierOperations {
public:
    void add(std::unique_ptr<ModifierOperation> operation);
    MStatus doIt();
    MStatus undoIt();

private:
    std::vector<std::unique_ptr<ModifierOperation>> operations_;
    std::size_t done_ = 0;
};

std::unique_ptr<ModifierOperation> createOperation(const CreatedNodes& made,
                                                   std::shared_ptr<Node> parent);
std::unique_ptr<ModifierOperation> deleteOperation(std::shared_ptr<Node> node);
std::unique_ptr<ModifierOperation> renameOperation(std::shared_ptr<Node> node, const MString& name);
std::unique_ptr<ModifierOperation> connectOperation(const Connection& connection);
std::unique_ptr<ModifierOperation> disconnectOperation(const Connection& connection);
std::unique_ptr<ModifierOperation> setValueOperation(std::shared_ptr<Node> node, const PlugKey& key,
                                                     const Value& value);
// A null parent means the world. An instanced node moves the instance under `from` (its first
// parent when null).
std::unique_ptr<ModifierOperation> reparentOperation(std::shared_ptr<Node> node,
                                                     std::shared_ptr<Node> parent,
                                                     std::shared_ptr<Node> from = nullptr);
// Adds an instance of the node under the parent (the world when null).
std::unique_ptr<ModifierOperation> instanceOperation(std::shared_ptr<Node> node,
                                                     std::shared_ptr<Node> parent);

}  // namespace host
