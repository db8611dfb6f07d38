#include <host/Commands.h>
#include <host/PlugText.h>
#include <host/Scene.h>
#include <maya/MDagModifier.h>
#include <maya/MDagPathArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/ModifierCommand.h"
#include "builtins/NameLookup.h"

#include <fnmatch.h>

// createNode, camera, delete, rename, ls, nodeType and objExists.
namespace host::builtins {
namespace {

class CreateNodeCommand : public ModifierCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1, 1);
        syntax.addFlag("-n", "-name", MSyntax::kString);
        syntax.addFlag("-p", "-parent", MSyntax::kString);
        syntax.addFlag("-ss", "-skipSelect");
        return syntax;
    }

    // A DAG type goes under the parent, or, for a shape without one, under a new transform;
    // other types are plain dependency nodes. The result is the new node's name.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MString type(objectWords(parsed).front().c_str());
        MString name;
        MString parentName;
        parsed.getFlagArgument("-name", 0, name);
        parsed.getFlagArgument("-parent", 0, parentName);

        MObject parent = MObject::kNullObj;
        if (parentName.length() > 0 && !nodeByName(parentName.asChar(), parent)) {
            return MStatus::kFailure;
        }
        MStatus status;
        auto dagModifier = std::make_unique<MDagModifier>();
        MObject created = dagModifier->createNode(type, parent, &status);
        if (status) {
            modifier_ = std::move(dagModifier);
        } else if (parent.isNull()) {
            modifier_ = std::make_unique<MDGModifier>();
            created = modifier_->createNode(type, &status);
        }
        if (!status) {
            return fail("Unknown object type: " + std::string(type.asChar()));
        }
        if (!(status = modifier_->doIt())) {
            return fail("createNode: the node could not be created");
        }
        // For a shape made under a new transform the modifier returns the transform.
        MObject node = created;
        if (nodeTypeName(created) != type && MFnDagNode(created).childCount() > 0) {
            node = MFnDagNode(created).child(0);
        }
        if (name.length() > 0) {
            modifier_->renameNode(node, name);
            if (!(status = modifier_->doIt())) {
                return fail("createNode: the node could not be named " +
                            std::string(name.asChar()));
            }
        }
        setResult(MString(nameOf(node).c_str()));
        return MStatus::kSuccess;
    }
};

class CameraCommand : public ModifierCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-n", "-name", MSyntax::kString);
        return syntax;
    }

    // The result is the new transform's name and the camera shape's name.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MString name;
        parsed.getFlagArgument("-name", 0, name);
        auto dagModifier = std::make_unique<MDagModifier>();
        MStatus status;
        MObject transform = dagModifier->createNode("camera", MObject::kNullObj, &status);
        modifier_ = std::move(dagModifier);
        if (!status || !(status = modifier_->doIt())) {
            return fail("camera: the camera could not be created");
        }
        MObject shape = MFnDagNode(transform).child(0);
        modifier_->renameNode(transform, name.length() > 0 ? name : MString("camera#"));
        modifier_->renameNode(shape, name.length() > 0 ? name + "Shape" : MString("cameraShape#"));
        if (!(status = modifier_->doIt())) {
            return fail("camera: the camera could not be named");
        }
        MStringArray names;
        names.append(MString(nameOf(transform).c_str()));
        names.append(MString(nameOf(shape).c_str()));
        setResult(names);
        return MStatus::kSuccess;
    }
};

class DeleteCommand : public ModifierCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        modifier_ = std::make_unique<MDGModifier>();
        for (const std::string& name : objectWords(parsed)) {
            MObject node;
            if (!nodeByName(name, node)) {
                return MStatus::kFailure;
            }
            if (!modifier_->deleteNode(node)) {
                return fail("Cannot delete " + name);
            }
        }
        if (!modifier_->doIt()) {
            return fail("delete: the nodes could not be deleted");
        }
        return MStatus::kSuccess;
    }
};

class RenameCommand : public ModifierCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(2, 2); }

    // The result is the name the node got ('#' numbered, or made unique).
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> words = objectWords(parsed);
        MObject node;
        if (!nodeByName(words[0], node)) {
            return MStatus::kFailure;
        }
        modifier_ = std::make_unique<MDGModifier>();
        if (!modifier_->renameNode(node, MString(words[1].c_str())) || !modifier_->doIt()) {
            return fail("Cannot rename " + words[0] + " to " + words[1]);
        }
        setResult(MString(nameOf(node).c_str()));
        return MStatus::kSuccess;
    }
};

class LsCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(0);
        syntax.addFlag("-typ", "-type", MSyntax::kString);
        syntax.makeFlagMultiUse("-type");
        syntax.addFlag("-l", "-long");
        return syntax;
    }

    // Names of the scene's nodes, in creation order, that match a pattern ('*', '?') and, with
    // -type, are of one of the types given. A DAG node is listed once per path: by its
    // shortest unique path, or its full path with -long.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> patterns = objectWords(parsed);
        std::vector<std::string> types;
        for (unsigned int i = 0; i < parsed.numberOfFlagUses("-type"); ++i) {
            MArgList use;
            parsed.getFlagArgumentList("-type", i, use);
            types.push_back(use.asString(0).asChar());
        }
        MStringArray names;
        for (const MObject& node : sceneNodes()) {
            std::string name = nameOf(node);
            std::string type = nodeTypeName(node).asChar();
            if (!matchesAny(patterns, name) || (!types.empty() && !contains(types, type))) {
                continue;
            }
            MDagPathArray paths;
            if (!node.hasFn(MFn::kDagNode) || !MDagPath::getAllPathsTo(node, paths)) {
                names.append(MString(name.c_str()));
                continue;
            }
            for (unsigned int i = 0; i < paths.length(); ++i) {
                names.append(parsed.isFlagSet("-long") ? paths[i].fullPathName()
                                                       : paths[i].partialPathName());
            }
        }
        setResult(names);
        return MStatus::kSuccess;
    }

private:
    static bool matchesAny(const std::vector<std::string>& patterns, const std::string& name) {
        for (const std::string& pattern : patterns) {
            if (fnmatch(pattern.c_str(), name.c_str(), 0) == 0) {
                return true;
            }
        }
        return patterns.empty();
    }

    static bool contains(const std::vector<std::string>& values, const std::string& value) {
        for (const std::string& candidate : values) {
            if (candidate == value) {
                return true;
            }
        }
        return false;
    }
};

class NodeTypeCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 1); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MObject node;
        if (!nodeByName(objectWords(parsed).front(), node)) {
            return MStatus::kFailure;
        }
        setResult(nodeTypeName(node));
        return MStatus::kSuccess;
    }
};

class ObjExistsCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 1); }

    // True for a node name and for a "node.attribute" plug name.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MString name(objectWords(parsed).front().c_str());
        MObject node;
        MPlug plug;
        setResult(static_cast<bool>(findNode(name, node)) ||
                  static_cast<bool>(findPlugByName(name, plug)));
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar createNodeCommand("createNode", create<CreateNodeCommand>,
                                                CreateNodeCommand::newSyntax);
const BuiltinCommandRegistrar cameraCommand("camera", create<CameraCommand>,
                                            CameraCommand::newSyntax);
const BuiltinCommandRegistrar deleteCommand("delete", create<DeleteCommand>,
                                            DeleteCommand::newSyntax);
const BuiltinCommandRegistrar renameCommand("rename", create<RenameCommand>,
                                            RenameCommand::newSyntax);
const BuiltinCommandRegistrar lsCommand("ls", create<LsCommand>, LsCommand::newSyntax);
const BuiltinCommandRegistrar nodeTypeCommand("nodeType", create<NodeTypeCommand>,
                                              NodeTypeCommand::newSyntax);
const BuiltinCommandRegistrar objExistsCommand("objExists", create<ObjExistsCommand>,
                                               ObjExistsCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
