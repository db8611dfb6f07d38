#include <maya/MDagPathArray.h>
#include <maya/MFnDagNode.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/DagPathLookup.h"
#include "builtins/NameLookup.h"
#include "dg/Access.h"
#include "dg/ModifierOperations.h"

#include <host/Commands.h>
#include <host/PlugText.h>

#include <algorithm>

// listRelatives and parent: the DAG's relations, instances included.
namespace host::builtins {
namespace {

class ListRelativesCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1);
        syntax.addFlag("-c", "-children");
        syntax.addFlag("-p", "-parent");
        syntax.addFlag("-ap", "-allParents");
        syntax.addFlag("-s", "-shapes");
        syntax.addFlag("-f", "-fullPath");
        syntax.addFlag("-pa", "-path");
        syntax.addFlag("-typ", "-type", MSyntax::kString);
        syntax.makeFlagMultiUse("-type");
        return syntax;
    }

    // Children by default; -parent gives the parent on the path named, -allParents every
    // parent. Names are node names, or full (-fullPath) or shortest unique (-path) paths.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> types;
        for (unsigned int i = 0; i < parsed.numberOfFlagUses("-type"); ++i) {
            MArgList use;
            parsed.getFlagArgumentList("-type", i, use);
            types.push_back(use.asString(0).asChar());
        }
        std::vector<MDagPath> found;
        for (const std::string& word : objectWords(parsed)) {
            MDagPath path;
            if (!dagPathByName(word, path)) {
                return MStatus::kFailure;
            }
            if (parsed.isFlagSet("-allParents")) {
                allParents(path.node(), found);
            } else if (parsed.isFlagSet("-parent")) {
                if (path.length() > 1 && path.pop()) {
                    add(path, found);
                }
            } else {
                children(path, parsed.isFlagSet("-shapes"), found);
            }
        }
        MStringArray names;
        for (const MDagPath& path : found) {
            const std::string type = nodeTypeName(path.node()).asChar();
            if (!types.empty() && std::find(types.begin(), types.end(), type) == types.end()) {
                continue;
            }
            names.append(parsed.isFlagSet("-fullPath") ? path.fullPathName()
                         : parsed.isFlagSet("-path")   ? path.partialPathName()
                                                       : MString(nameOf(path.node()).c_str()));
        }
        setResult(names);
        return MStatus::kSuccess;
    }

private:
    static void add(const MDagPath& path, std::vector<MDagPath>& found) {
        const bool known = std::any_of(found.begin(), found.end(), [&](const MDagPath& each) {
            return each.node() == path.node();
        });
        if (!known) {
            found.push_back(path);
        }
    }

    static void allParents(const MObject& node, std::vector<MDagPath>& found) {
        const MFnDagNode dagNode(node);
        for (unsigned int i = 0; i < dagNode.parentCount(); ++i) {
            const MObject parent = dagNode.parent(i);
            MDagPath path;
            if (!parent.hasFn(MFn::kWorld) && MDagPath::getAPathTo(parent, path)) {
                add(path, found);
            }
        }
    }

    static void children(const MDagPath& path, bool shapesOnly, std::vector<MDagPath>& found) {
        for (unsigned int i = 0; i < path.childCount(); ++i) {
            MDagPath child = path;
            child.push(path.child(i));
            if (!shapesOnly || child.hasFn(MFn::kShape)) {
                add(child, found);
            }
        }
    }
};

class ParentCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1);
        syntax.addFlag("-add", "-addObject");
        syntax.addFlag("-s", "-shape");
        syntax.addFlag("-r", "-relative");
        syntax.addFlag("-a", "-absolute");
        syntax.addFlag("-nc", "-noConnections");
        syntax.addFlag("-w", "-world");
        return syntax;
    }

    bool isUndoable() const override { return true; }
    MStatus undoIt() override { return operations_.undoIt(); }
    MStatus redoIt() override { return operations_.doIt(); }

    // "parent -add objects... parent" makes one more instance of each object under the parent
    // (-shape is needed for shapes); otherwise the named instances move under the parent (the
    // world with -world). A move keeps the local values (-relative): keeping world positions
    // (Maya's default) is not modelled, so a move needs -relative.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> words = objectWords(parsed);
        const bool toWorld = parsed.isFlagSet("-world");
        std::shared_ptr<Node> parent;
        if (!toWorld) {
            if (words.size() < 2) {
                return fail("parent: give the objects and then the new parent");
            }
            MObject parentNode;
            if (!nodeByName(words.back(), parentNode)) {
                return MStatus::kFailure;
            }
            parent = Access::as<Node>(parentNode);
            words.pop_back();
        }
        const bool adding = parsed.isFlagSet("-addObject");
        if (!adding && !parsed.isFlagSet("-relative")) {
            return fail(
                "parent: moving an object keeping its world position is not supported; "
                "use -relative");
        }
        MStringArray names;
        for (const std::string& word : words) {
            MDagPath path;
            if (!dagPathByName(word, path)) {
                return MStatus::kFailure;
            }
            auto node = Access::as<Node>(path.node());
            if (adding && node->hasFn(MFn::kShape) && !parsed.isFlagSet("-shape")) {
                return fail("parent: use -shape to instance the shape " + word);
            }
            std::shared_ptr<Node> from;
            if (path.length() > 1) {
                MDagPath above = path;
                above.pop();
                from = Access::as<Node>(above.node());
            }
            operations_.add(adding ? instanceOperation(node, parent)
                                   : reparentOperation(node, parent, from));
            names.append(node->name);
        }
        if (!operations_.doIt()) {
            return fail("parent: the objects could not be parented");
        }
        setResult(names);
        return MStatus::kSuccess;
    }

private:
    ModifierOperations operations_;
};

const BuiltinCommandRegistrar listRelativesCommand("listRelatives", create<ListRelativesCommand>,
                                                   ListRelativesCommand::newSyntax);
const BuiltinCommandRegistrar parentCommand("parent", create<ParentCommand>,
                                            ParentCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
