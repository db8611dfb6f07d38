#include <maya/MDagPath.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/DagPathLookup.h"
#include "dg/Access.h"
#include "dg/ModifierOperations.h"

#include <host/Commands.h>

// instance: new transforms sharing what they are made from, undoable as one step.
namespace host::builtins {
namespace {

class InstanceCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1);
        syntax.addFlag("-n", "-name", MSyntax::kString);
        syntax.addFlag("-lf", "-leaf");
        syntax.addFlag("-st", "-smartTransform");
        return syntax;
    }

    bool isUndoable() const override { return true; }
    MStatus undoIt() override { return operations_.undoIt(); }
    MStatus redoIt() override { return operations_.doIt(); }

    // For each object, a new transform beside it (under the world for a shape) whose children
    // are the object's children, shared: a shape given is shared itself. With -leaf the
    // transforms below are copied and only the leaves (shapes, and transforms without
    // children) are shared. The result is the new transforms' names.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MString name;
        parsed.getFlagArgument("-name", 0, name);
        const bool leaf = parsed.isFlagSet("-leaf");
        std::vector<std::shared_ptr<Node>> made;
        for (const std::string& word : objectWords(parsed)) {
            MDagPath path;
            if (!dagPathByName(word, path)) {
                return MStatus::kFailure;
            }
            auto original = Access::as<Node>(path.node());
            if (!original->instanceable) {
                return fail("instance: " + word + " cannot be instanced");
            }
            made.push_back(queueInstance(*original, name, leaf));
        }
        if (!operations_.doIt()) {
            return fail("instance: the instance could not be made");
        }
        MStringArray names;
        for (const auto& node : made) {
            names.append(node->name);
        }
        setResult(names);
        return MStatus::kSuccess;
    }

private:
    std::shared_ptr<Node> queueInstance(Node& original, const MString& name, bool leaf) {
        const bool shape = !original.hasFn(MFn::kTransform);
        Node* parent = shape ? nullptr : original.firstParent();
        Node* namedAfter = shape ? original.firstParent() : &original;
        const MString stem =
            namedAfter && !namedAfter->isWorld() ? namedAfter->name : MString("transform1");
        std::shared_ptr<Node> top = queueTransform(shape ? nullptr : &original, stem,
                                                   parent && !parent->isWorld() ? parent : nullptr);
        if (name.length() > 0) {
            operations_.add(renameOperation(top, name));
        }
        if (shape) {
            operations_.add(instanceOperation(original.sharedFromThis(), top));
        } else {
            queueChildren(original, top, leaf);
        }
        return top;
    }

    // A transform of the original's type with its values (identity with none), named after
    // the stem as Maya numbers copies.
    std::shared_ptr<Node> queueTransform(Node* original, const MString& stem, Node* parent) {
        CreatedNodes made;
        made.node =
            SceneGraph::instantiate(original ? original->type : creatableType("transform"), stem);
        made.top = made.node;
        operations_.add(createOperation(made, parent ? parent->sharedFromThis() : nullptr));
        if (original) {
            for (const auto& [key, slot] : original->slots) {
                if (!original->type->isComputed(key.attribute) && !original->incomingOf(key) &&
                    key.attribute->kind != Attribute::Kind::Compound) {
                    operations_.add(setValueOperation(made.node, key, slot.value));
                }
            }
        }
        return made.node;
    }

    void queueChildren(Node& original, const std::shared_ptr<Node>& copy, bool leaf) {
        for (const auto& child : original.children) {
            if (leaf && child->hasFn(MFn::kTransform) && !child->children.empty()) {
                queueChildren(*child, queueTransform(child.get(), child->name, copy.get()), leaf);
            } else {
                operations_.add(instanceOperation(child, copy));
            }
        }
    }

    ModifierOperations operations_;
};

const BuiltinCommandRegistrar instanceCommand("instance", create<InstanceCommand>,
                                              InstanceCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
