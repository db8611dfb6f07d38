#include "dg/ModifierOperations.h"

namespace host {
namespace {

class CreateOperation : public ModifierOperation {
public:
    CreateOperation(const CreatedNodes& made, std::shared_ptr<Node> parent)
        : made_(made), parent_(std::move(parent)) {}

    // After an undo the same nodes come back, without the connections others had made to them.
    MStatus doIt() override {
        if (!made_.node->user && made_.node->type->creator) {
            return MStatus::kFailure;  // its plug-in was unloaded
        }
        return SceneGraph::instance().enter(made_.top, parent_.get());
    }

    MStatus undoIt() override {
        if (!made_.top->inScene) {
            return MStatus::kFailure;
        }
        SceneGraph::instance().leave(*made_.top);
        return MStatus::kSuccess;
    }

private:
    CreatedNodes made_;
    std::shared_ptr<Node> parent_;
};

class DeleteOperation : public ModifierOperation {
public:
    explicit DeleteOperation(std::shared_ptr<Node> node) : node_(std::move(node)) {}

    MStatus doIt() override {
        if (!node_->inScene || node_->isDefault) {
            return MStatus::kFailure;
        }
        removal_ = SceneGraph::instance().leave(*node_);
        return MStatus::kSuccess;
    }

    MStatus undoIt() override { return SceneGraph::instance().restore(removal_); }

private:
    std::shared_ptr<Node> node_;
    Removal removal_;
};

class RenameOperation : public ModifierOperation {
public:
    RenameOperation(std::shared_ptr<Node> node, const MString& name)
        : node_(std::move(node)), name_(name) {}

    MStatus doIt() override {
        previous_ = node_->name;
        SceneGraph::instance().rename(*node_, name_);
        return MStatus::kSuccess;
    }

    MStatus undoIt() override {
        SceneGraph::instance().rename(*node_, previous_);
        return MStatus::kSuccess;
    }

private:
    std::shared_ptr<Node> node_;
    MString name_;
    MString previous_;
};

class ConnectOperation : public ModifierOperation {
public:
    explicit ConnectOperation(const Connection& connection) : connection_(connection) {}
    MStatus doIt() override { return connectPlugs(connection_); }
    MStatus undoIt() override { return disconnectPlugs(connection_); }

private:
    Connection connection_;
};

class DisconnectOperation : public ModifierOperation {
public:
    explicit DisconnectOperation(const Connection& connection) : connection_(connection) {}
    MStatus doIt() override { return disconnectPlugs(connection_); }
    MStatus undoIt() override {
        if (connection_.destinationNode->incomingOf(connection_.destination)) {
            return MStatus::kFailure;
        }
        linkPlugs(connection_);
        return MStatus::kSuccess;
    }

private:
    Connection connection_;
};

class SetValueOperation : public ModifierOperation {
public:
    SetValueOperation(std::shared_ptr<Node> node, const PlugKey& key, const Value& value)
        : node_(std::move(node)), key_(key), value_(value) {}

    MStatus doIt() override {
        previous_ = node_->evaluate(key_);
        return setPlugValue(*node_, key_, value_);
    }

    MStatus undoIt() override {
        node_->store(key_, previous_);
        SceneGraph::instance().setModified(true);
        return MStatus::kSuccess;
    }

private:
    std::shared_ptr<Node> node_;
    PlugKey key_;
    Value value_;
    Value previous_;
};

class ReparentOperation : public ModifierOperation {
public:
    ReparentOperation(std::shared_ptr<Node> node, std::shared_ptr<Node> parent,
                      std::shared_ptr<Node> from)
        : node_(std::move(node)), parent_(std::move(parent)), from_(std::move(from)) {}

    MStatus doIt() override {
        previousParent_ = from_ ? from_.get() : node_->firstParent();
        if (previousParent_) {
            const auto& siblings = previousParent_->children;
            for (std::size_t i = 0; i < siblings.size(); ++i) {
                if (siblings[i] == node_) {
                    previousPosition_ = static_cast<int>(i);
                }
            }
        }
        return SceneGraph::instance().reparent(*node_, parent_.get(), -1, previousParent_);
    }

    MStatus undoIt() override {
        Node* parent = previousParent_ && !previousParent_->isWorld() ? previousParent_ : nullptr;
        Node* from = parent_ ? parent_.get() : &SceneGraph::instance().world();
        return SceneGraph::instance().reparent(*node_, parent, previousPosition_, from);
    }

private:
    std::shared_ptr<Node> node_;
    std::shared_ptr<Node> parent_;
    std::shared_ptr<Node> from_;
    Node* previousParent_ = nullptr;
    int previousPosition_ = -1;
};

// Makes the node a child of one more parent; undone by taking that instance away.
class InstanceOperation : public ModifierOperation {
public:
    InstanceOperation(std::shared_ptr<Node> node, std::shared_ptr<Node> parent)
        : node_(std::move(node)), parent_(std::move(parent)) {}

    MStatus doIt() override { return SceneGraph::instance().addInstance(*node_, parent_.get()); }

    MStatus undoIt() override {
        Node& parent = parent_ ? *parent_ : SceneGraph::instance().world();
        return SceneGraph::instance().removeInstance(*node_, parent);
    }

private:
    std::shared_ptr<Node> node_;
    std::shared_ptr<Node> parent_;
};

}  // namespace

void ModifierOperations::add(std::unique_ptr<ModifierOperation> operation) {
    operations_.push_back(std::move(operation));
}

MStatus ModifierOperations::doIt() {
    MStatus result;
    while (done_ < operations_.size()) {
        MStatus status = operations_[done_]->doIt();
        if (status) {
            ++done_;
            continue;
        }
        if (result) {
            result = status;
        }
        operations_.erase(operations_.begin() + static_cast<std::ptrdiff_t>(done_));
    }
    return result;
}

MStatus ModifierOperations::undoIt() {
    MStatus result;
    while (done_ > 0) {
        MStatus status = operations_[--done_]->undoIt();
        if (!status && result) {
            result = status;
        }
    }
    return result;
}

std::unique_ptr<ModifierOperation> createOperation(const CreatedNodes& made,
                                                   std::shared_ptr<Node> parent) {
    return std::make_unique<CreateOperation>(made, std::move(parent));
}

std::unique_ptr<ModifierOperation> deleteOperation(std::shared_ptr<Node> node) {
    return std::make_unique<DeleteOperation>(std::move(node));
}

std::unique_ptr<ModifierOperation> renameOperation(std::shared_ptr<Node> node,
                                                   const MString& name) {
    return std::make_unique<RenameOperation>(std::move(node), name);
}

std::unique_ptr<ModifierOperation> connectOperation(const Connection& connection) {
    return std::make_unique<ConnectOperation>(connection);
}

std::unique_ptr<ModifierOperation> disconnectOperation(const Connection& connection) {
    return std::make_unique<DisconnectOperation>(connection);
}

std::unique_ptr<ModifierOperation> setValueOperation(std::shared_ptr<Node> node, const PlugKey& key,
                                                     const Value& value) {
    return std::make_unique<SetValueOperation>(std::move(node), key, value);
}

std::unique_ptr<ModifierOperation> reparentOperation(std::shared_ptr<Node> node,
                                                     std::shared_ptr<Node> parent,
                                                     std::shared_ptr<Node> from) {
    return std::make_unique<ReparentOperation>(std::move(node), std::move(parent), std::move(from));
}

std::unique_ptr<ModifierOperation> instanceOperation(std::shared_ptr<Node> node,
                                                     std::shared_ptr<Node> parent) {
    return std::make_unique<InstanceOperation>(std::move(node), std::move(parent));
}

}  // namespace host
