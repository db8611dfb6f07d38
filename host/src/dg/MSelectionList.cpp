#include <maya/MSelectionList.h>

#include <host/PlugText.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/SceneGraph.h"
#include "dg/StatusOut.h"

#include <fnmatch.h>

#include <algorithm>
#include <string>

using host::Access;
using host::Node;
using host::SceneGraph;
using host::setStatus;

MSelectionList::MSelectionList() = default;
MSelectionList::MSelectionList(const MSelectionList& other) = default;
MSelectionList::~MSelectionList() = default;
MSelectionList& MSelectionList::operator=(const MSelectionList& other) = default;

MStatus MSelectionList::clear() {
    HOST_MAIN_THREAD_ONLY();
    items_.clear();
    return MStatus::kSuccess;
}

bool MSelectionList::isEmpty(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    return items_.empty();
}

unsigned int MSelectionList::length(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    return static_cast<unsigned int>(items_.size());
}

MStatus MSelectionList::addItem(const Item& item) {
    HOST_MAIN_THREAD_ONLY();
    const bool present = std::any_of(items_.begin(), items_.end(), [&item](const Item& each) {
        return each.node == item.node && each.plug == item.plug;
    });
    if (!present) {
        items_.push_back(item);
    }
    return MStatus::kSuccess;
}

MStatus MSelectionList::add(const MString& matchString, bool) {
    HOST_MAIN_THREAD_ONLY();
    const std::string pattern = matchString.asChar();
    if (pattern.find('.') != std::string::npos) {
        MPlug plug;
        MStatus status = host::findPlugByName(matchString, plug);
        return status ? addItem({plug.node(), plug}) : status;
    }
    if (pattern.find_first_of("*?") == std::string::npos) {
        Node* node = SceneGraph::instance().find(matchString);
        if (!node) {
            return MStatus::kInvalidParameter;
        }
        return addItem({Access::object(node->sharedFromThis()), MPlug()});
    }
    bool matched = false;
    for (const auto& node : SceneGraph::instance().nodes()) {
        if (fnmatch(pattern.c_str(), node->name.asChar(), 0) == 0) {
            addItem({Access::object(node), MPlug()});
            matched = true;
        }
    }
    return matched ? MStatus::kSuccess : MStatus::kInvalidParameter;
}

MStatus MSelectionList::add(const MObject& object, bool) {
    HOST_MAIN_THREAD_ONLY();
    if (!Access::as<Node>(object)) {
        return MStatus::kInvalidParameter;
    }
    return addItem({object, MPlug()});
}

MStatus MSelectionList::add(const MDagPath& object, const MObject&, bool) {
    HOST_MAIN_THREAD_ONLY();
    return object.isValid() ? add(object.node()) : MStatus(MStatus::kInvalidParameter);
}

MStatus MSelectionList::add(const MPlug& plug, bool) {
    HOST_MAIN_THREAD_ONLY();
    return plug.isNull() ? MStatus(MStatus::kInvalidParameter) : addItem({plug.node(), plug});
}

MStatus MSelectionList::remove(unsigned int index) {
    HOST_MAIN_THREAD_ONLY();
    if (index >= items_.size()) {
        return MStatus::kInvalidParameter;
    }
    items_.erase(items_.begin() + index);
    return MStatus::kSuccess;
}

bool MSelectionList::hasItem(const MObject& item, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    return std::any_of(items_.begin(), items_.end(), [&item](const Item& each) {
        return each.node == item && each.plug.isNull();
    });
}

MStatus MSelectionList::getDependNode(unsigned int index, MObject& depNode) const {
    HOST_MAIN_THREAD_ONLY();
    if (index >= items_.size()) {
        return MStatus::kInvalidParameter;
    }
    depNode = items_[index].node;
    return MStatus::kSuccess;
}

MStatus MSelectionList::getDagPath(unsigned int index, MDagPath& dagPath) const {
    HOST_MAIN_THREAD_ONLY();
    if (index >= items_.size()) {
        return MStatus::kInvalidParameter;
    }
    return MDagPath::getAPathTo(items_[index].node, dagPath) ? MStatus::kSuccess
                                                             : MStatus::kFailure;
}

MStatus MSelectionList::getDagPath(unsigned int index, MDagPath& dagPath,
                                   MObject& component) const {
    HOST_MAIN_THREAD_ONLY();
    component = MObject();
    return getDagPath(index, dagPath);
}

MStatus MSelectionList::getPlug(unsigned int index, MPlug& plug) const {
    HOST_MAIN_THREAD_ONLY();
    if (index >= items_.size()) {
        return MStatus::kInvalidParameter;
    }
    if (items_[index].plug.isNull()) {
        return MStatus::kFailure;
    }
    plug = items_[index].plug;
    return MStatus::kSuccess;
}

MStatus MSelectionList::getSelectionStrings(MStringArray& array) const {
    HOST_MAIN_THREAD_ONLY();
    array.clear();
    for (unsigned int i = 0; i < items_.size(); ++i) {
        MStringArray one;
        getSelectionStrings(i, one);
        array.append(one[0]);
    }
    return MStatus::kSuccess;
}

MStatus MSelectionList::getSelectionStrings(unsigned int index, MStringArray& array) const {
    HOST_MAIN_THREAD_ONLY();
    array.clear();
    if (index >= items_.size()) {
        return MStatus::kInvalidParameter;
    }
    const Item& item = items_[index];
    auto node = Access::as<Node>(item.node);
    array.append(item.plug.isNull() ? (node ? node->name : MString()) : item.plug.name());
    return MStatus::kSuccess;
}
