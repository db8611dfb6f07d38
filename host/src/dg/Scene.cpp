#include <host/Scene.h>

#include "dg/Access.h"
#include "dg/SceneGraph.h"

namespace host {

void addSceneObserver(SceneObserver* observer) {
    SceneGraph::instance().addObserver(observer);
}

void removeSceneObserver(SceneObserver* observer) {
    SceneGraph::instance().removeObserver(observer);
}

void newScene() {
    SceneGraph::instance().newScene();
}

std::vector<MObject> sceneNodes() {
    std::vector<MObject> result;
    for (const auto& node : SceneGraph::instance().nodes()) {
        result.push_back(Access::object(node));
    }
    return result;
}

MString drawClassification(const MObject& node) {
    auto found = Access::as<Node>(node);
    return found ? found->type->classification : MString();
}

MStatus findNode(const MString& name, MObject& node) {
    Node* found = SceneGraph::instance().find(name);
    if (!found) {
        return MStatus::kInvalidParameter;
    }
    node = Access::object(found->sharedFromThis());
    return MStatus::kSuccess;
}

bool sceneModified() {
    return SceneGraph::instance().modified();
}

void setSceneModified(bool modified) {
    SceneGraph::instance().setModified(modified);
}

MTime currentTime() {
    Node* time = SceneGraph::instance().timeNode();
    const Attribute* outTime = time ? time->type->findAttribute("outTime") : nullptr;
    return outTime ? MTime(time->evaluate({outTime, -1}).asNumber(), MTime::uiUnit()) : MTime();
}

MStatus setCurrentTime(const MTime& time) {
    Node* timeNode = SceneGraph::instance().timeNode();
    const Attribute* outTime = timeNode ? timeNode->type->findAttribute("outTime") : nullptr;
    if (!outTime) {
        return MStatus::kFailure;
    }
    timeNode->store({outTime, -1}, Value::ofTime(time));
    return MStatus::kSuccess;
}

}  // namespace host
