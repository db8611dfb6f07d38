#include "builtins/SceneWriter.h"

#include <host/NodeTypes.h>
#include <host/PlugText.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/SceneColorConfig.h"
#include "dg/Access.h"
#include "dg/Node.h"
#include "references/ReferenceNode.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <sstream>

namespace host::builtins {
namespace {

bool isDefault(const MObject& node) {
    return MFnDependencyNode(node).isDefaultNode();
}

bool isReferenced(const MObject& node) {
    return MFnDependencyNode(node).isFromReferencedFile();
}

// As Maya writes them, first: deferred, so that they load once the reference nodes the scene
// makes further down are there with their edits.
void writeReferences(std::ostream& out) {
    for (const std::shared_ptr<Node>& node : referenceNodes()) {
        const ReferenceNode& facts = *referenceFacts(*node);
        out << "file -r -ns " << scriptWord(facts.nameSpace, true) << " -dr 1 -rfn "
            << scriptWord(node->name.asChar(), true) << " " << scriptWord(facts.fileName, true)
            << ";\n";
    }
}

void writeRequires(std::ostream& out, const std::vector<MObject>& nodes) {
    std::vector<std::string> plugins;
    for (const MObject& node : nodes) {
        std::string plugin;
        if (!isDefault(node) && nodeTypeFromPlugin(nodeTypeName(node), &plugin) &&
            std::find(plugins.begin(), plugins.end(), plugin) == plugins.end()) {
            plugins.push_back(plugin);
        }
    }
    for (const std::string& plugin : plugins) {
        out << "requires " << scriptWord(plugin, true) << " "
            << scriptWord(pluginVersion(plugin), true) << ";\n";
    }
}

// Parents are written before their children, whatever order the nodes were made in.
void writeCreateNodes(std::ostream& out, const std::vector<MObject>& nodes) {
    std::vector<MObject> pending;
    std::set<std::string> known;
    for (const MObject& node : nodes) {
        if (isDefault(node)) {
            known.insert(nameOf(node));
        } else {
            pending.push_back(node);
        }
    }
    while (!pending.empty()) {
        auto ready = std::find_if(pending.begin(), pending.end(), [&](const MObject& node) {
            std::string parent = dagParentName(node).asChar();
            return parent.empty() || known.count(parent) != 0;
        });
        if (ready == pending.end()) {
            ready = pending.begin();
        }
        std::string name = nameOf(*ready);
        std::string parent = dagParentName(*ready).asChar();
        out << "createNode " << nodeTypeName(*ready).asChar() << " -n " << scriptWord(name, true);
        if (!parent.empty()) {
            out << " -p " << scriptWord(parent, true);
        }
        out << ";\n";
        known.insert(name);
        pending.erase(ready);
    }
}

// Every parent of an instanced node after the first, as Maya writes instances.
void writeInstances(std::ostream& out, const std::vector<MObject>& nodes) {
    for (const MObject& node : nodes) {
        if (!node.hasFn(MFn::kDagNode)) {
            continue;
        }
        const MFnDagNode dagNode(node);
        for (unsigned int i = 1; i < dagNode.parentCount(); ++i) {
            const MObject parent = dagNode.parent(i);
            out << "parent" << (node.hasFn(MFn::kShape) ? " -s" : "") << " -nc -r -add "
                << scriptWord(nameOf(node), true);
            if (parent.hasFn(MFn::kWorld)) {
                out << " -w;\n";
            } else {
                out << " " << scriptWord(nameOf(parent), true) << ";\n";
            }
        }
    }
}

void writeValues(std::ostream& out, const std::vector<MObject>& nodes) {
    for (const MObject& node : nodes) {
        std::string name = nameOf(node);
        for (const SavedPlugValue& value : savedPlugValues(node)) {
            out << "setAttr ";
            if (!value.typeFlag.empty()) {
                out << "-type " << scriptWord(value.typeFlag, true) << " ";
            }
            out << scriptWord(name + "." + value.attribute, true);
            for (const std::string& word : value.values) {
                out << " " << scriptWord(word, value.typeFlag == "string");
            }
            out << ";\n";
        }
    }
}

bool endIsReferenced(const std::string& plugName) {
    MObject node;
    return findNode(plugName.substr(0, plugName.find('.')).c_str(), node) && isReferenced(node);
}

// Connections to a referenced node come from its file, or are edits its reference node keeps.
void writeConnections(std::ostream& out) {
    for (const SceneConnection& connection : sceneConnections()) {
        if (endIsReferenced(connection.source) || endIsReferenced(connection.destination)) {
            continue;
        }
        out << "connectAttr " << scriptWord(connection.source, true) << " "
            << scriptWord(connection.destination, true) << ";\n";
    }
}

// Locks come last: a locked plug takes neither a value nor a connection.
void writeLocks(std::ostream& out, const std::vector<MObject>& nodes) {
    for (const MObject& node : nodes) {
        const std::shared_ptr<Node> own = Access::as<Node>(node);
        if (!own) {
            continue;
        }
        for (const PlugKey& key : own->locked) {
            const MPlug plug = Access::plug(own, key.attribute, key.index);
            out << "setAttr -lock true " << scriptWord(plug.name().asChar(), true) << ";\n";
        }
    }
}

}  // namespace

// Referenced nodes are not written: their file gives them, and their reference node's edits
// what was changed since. The plug-ins they need are, so that they are there when they load.
std::string sceneAsScript(const std::string& sceneName) {
    const std::vector<MObject> all = sceneNodes();
    std::vector<MObject> nodes;
    std::copy_if(all.begin(), all.end(), std::back_inserter(nodes),
                 [](const MObject& node) { return !isReferenced(node); });
    std::ostringstream out;
    out << "//Maya ASCII scene\n//Name: " << sceneName << "\n";
    writeRequires(out, all);
    writeReferences(out);
    writeCreateNodes(out, nodes);
    writeInstances(out, nodes);
    writeValues(out, nodes);
    out << sceneColorConfigLine();
    writeConnections(out);
    writeLocks(out, nodes);
    out << "// End of " << sceneName << "\n";
    return out.str();
}

}  // namespace host::builtins
