#pragma once

#include "dg/Attribute.h"

#include <host/NodeTypes.h>
#include <maya/MFn.h>
#include <maya/MPxNode.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace host {

class Node;

// A node type: built in or registered by a plug-in, with its attributes and their dependencies.
class NodeType {
public:
    MString name;
    MTypeId id;
    MCreatorFunction creator = nullptr;
    MString classification;
    std::string pluginName;
    bool fromPlugin = false;
    // Base types such as "dagNode" and the world's type: no nodes are created of them.
    bool abstract = false;
    bool isDag = false;
    bool isShape = false;
    // Function set types of the nodes, most specific first.
    std::vector<MFn::Type> fnTypes;
    // Every attribute, a compound's children right after it, inherited ones first.
    std::vector<std::shared_ptr<Attribute>> attributes;
    std::map<const Attribute*, std::vector<const Attribute*>> affects;
    // Attributes some other attribute affects: they are computed.
    std::set<const Attribute*> computed;
    // Every node ever made of this type, so that unloading can release their plug-in objects.
    std::vector<std::weak_ptr<Node>> instances;

    // By long or short name.
    const Attribute* findAttribute(const MString& name) const;
    bool hasAttribute(const Attribute* attribute) const;
    MStatus addAttribute(const std::shared_ptr<Attribute>& attribute);
    MStatus addAffects(const Attribute* whenChanges, const Attribute* isAffected);
    // The attributes a change of this one dirties (a compound child also dirties what its
    // parent affects).
    std::vector<const Attribute*> affectedBy(const Attribute* attribute) const;
    bool isComputed(const Attribute* attribute) const;
};

// All node types, built-in ones first.
class TypeRegistry {
public:
    static TypeRegistry& instance();

    std::shared_ptr<NodeType> find(const MString& name) const;
    std::shared_ptr<NodeType> find(const MTypeId& id) const;
    // Runs initialize with the type open for MPxNode::addAttribute and attributeAffects.
    MStatus add(const std::shared_ptr<NodeType>& type, MInitializeFunction initialize);
    void remove(const std::shared_ptr<NodeType>& type);
    // The type whose initialize function is running, or null.
    NodeType* initializing() const { return initializing_; }
    // A new type starting with the attributes of the named built-in base type.
    std::shared_ptr<NodeType> derive(const MString& baseName) const;
    // Types used instead of a registered one in some host configurations (an older host's
    // transform); looked up by a key, never by name.
    void setVariant(const std::string& key, const std::shared_ptr<NodeType>& type);
    std::shared_ptr<NodeType> variant(const std::string& key) const;

private:
    TypeRegistry() = default;
    bool builtinsRegistered_ = false;
    std::vector<std::shared_ptr<NodeType>> types_;
    std::map<std::string, std::shared_ptr<NodeType>> variants_;
    NodeType* initializing_ = nullptr;
};

// Registers the host's own node types; defined with them.
void registerBuiltinTypes(TypeRegistry& registry);

}  // namespace host
