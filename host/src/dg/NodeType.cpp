#include "dg/NodeType.h"

#include <algorithm>

namespace host {

const Attribute* NodeType::findAttribute(const MString& name) const {
    for (const auto& attribute : attributes) {
        if (attribute->longName == name || attribute->shortName == name) {
            return attribute.get();
        }
    }
    return nullptr;
}

bool NodeType::hasAttribute(const Attribute* attribute) const {
    return std::any_of(attributes.begin(), attributes.end(),
                       [attribute](const auto& known) { return known.get() == attribute; });
}

MStatus NodeType::addAttribute(const std::shared_ptr<Attribute>& attribute) {
    if (!attribute || hasAttribute(attribute.get())) {
        return MStatus::kInvalidParameter;
    }
    if (findAttribute(attribute->longName) || findAttribute(attribute->shortName)) {
        return MStatus::kFailure;
    }
    attributes.push_back(attribute);
    for (const auto& child : attribute->children) {
        MStatus status = addAttribute(child);
        if (!status) {
            return status;
        }
    }
    return MStatus::kSuccess;
}

MStatus NodeType::addAffects(const Attribute* whenChanges, const Attribute* isAffected) {
    if (!hasAttribute(whenChanges) || !hasAttribute(isAffected)) {
        return MStatus::kInvalidParameter;
    }
    auto& affected = affects[whenChanges];
    if (std::find(affected.begin(), affected.end(), isAffected) == affected.end()) {
        affected.push_back(isAffected);
    }
    computed.insert(isAffected);
    return MStatus::kSuccess;
}

std::vector<const Attribute*> NodeType::affectedBy(const Attribute* attribute) const {
    std::vector<const Attribute*> result;
    for (const Attribute* source = attribute; source; source = source->parent) {
        auto found = affects.find(source);
        if (found != affects.end()) {
            result.insert(result.end(), found->second.begin(), found->second.end());
        }
    }
    return result;
}

bool NodeType::isComputed(const Attribute* attribute) const {
    for (const Attribute* current = attribute; current; current = current->parent) {
        if (computed.count(current) || current->worldSpace) {
            return true;
        }
    }
    return false;
}

TypeRegistry& TypeRegistry::instance() {
    // Never destroyed: nodes alive at exit may still refer to their types.
    static TypeRegistry* registry = new TypeRegistry();
    if (!registry->builtinsRegistered_) {
        registry->builtinsRegistered_ = true;
        registerBuiltinTypes(*registry);
    }
    return *registry;
}

std::shared_ptr<NodeType> TypeRegistry::find(const MString& name) const {
    for (const auto& type : types_) {
        if (type->name == name) {
            return type;
        }
    }
    return nullptr;
}

std::shared_ptr<NodeType> TypeRegistry::find(const MTypeId& id) const {
    for (const auto& type : types_) {
        if (type->id == id) {
            return type;
        }
    }
    return nullptr;
}

MStatus TypeRegistry::add(const std::shared_ptr<NodeType>& type, MInitializeFunction initialize) {
    if (find(type->name) || find(type->id)) {
        return MStatus::kFailure;
    }
    if (initialize) {
        initializing_ = type.get();
        MStatus status = initialize();
        initializing_ = nullptr;
        if (!status) {
            return status;
        }
    }
    types_.push_back(type);
    return MStatus::kSuccess;
}

void TypeRegistry::remove(const std::shared_ptr<NodeType>& type) {
    types_.erase(std::remove(types_.begin(), types_.end(), type), types_.end());
}

void TypeRegistry::setVariant(const std::string& key, const std::shared_ptr<NodeType>& type) {
    variants_[key] = type;
}

std::shared_ptr<NodeType> TypeRegistry::variant(const std::string& key) const {
    auto found = variants_.find(key);
    return found == variants_.end() ? nullptr : found->second;
}

std::shared_ptr<NodeType> TypeRegistry::derive(const MString& baseName) const {
    auto type = std::make_shared<NodeType>();
    if (auto base = find(baseName)) {
        type->attributes = base->attributes;
        type->affects = base->affects;
        type->computed = base->computed;
        type->isDag = base->isDag;
        type->isShape = base->isShape;
        type->fnTypes = base->fnTypes;
    }
    return type;
}

}  // namespace host
