#include "dg/NodeCreation.h"
#include "dg/SceneGraph.h"

#include <cmath>

namespace host {
namespace {

constexpr double kDegrees = M_PI / 180.0;

void setNumber(Node& node, const char* attributeName, double value) {
    if (const Attribute* attribute = node.type->findAttribute(attributeName)) {
        setPlugValue(node, {attribute, -1}, Value::ofNumber(value));
    }
}

std::shared_ptr<Node> addDefaultNode(SceneGraph& scene, const char* typeName, const char* name) {
    CreatedNodes made = makeNodes(creatableType(typeName), false);
    made.node->name = name;
    made.node->isDefault = true;
    made.top->isDefault = true;
    scene.enter(made.top, nullptr);
    return made.top;
}

struct DefaultCamera {
    const char* name;
    double translate[3];
    double rotateDegrees[3];
    bool orthographic;
};

}  // namespace

void SceneGraph::buildDefaultScene() {
    auto time = addDefaultNode(*this, "time", "time1");
    timeNode_ = time.get();
    // A new scene starts at frame 1.
    setPlugValue(*time, {time->type->findAttribute("outTime"), -1},
                 Value::ofTime(MTime(1.0, MTime::uiUnit())));
    addDefaultNode(*this, "resolution", "defaultResolution");

    const DefaultCamera cameras[] = {
        {"persp", {28.0, 21.0, 28.0}, {-27.938352729602379, 45.0, 0.0}, false},
        {"top", {0.0, 1000.1, 0.0}, {-90.0, 0.0, 0.0}, true},
        {"front", {0.0, 0.0, 1000.1}, {0.0, 0.0, 0.0}, true},
        {"side", {1000.1, 0.0, 0.0}, {0.0, 90.0, 0.0}, true},
    };
    const char* axes[] = {"X", "Y", "Z"};
    for (const DefaultCamera& camera : cameras) {
        CreatedNodes made = makeNodes(creatableType("camera"), false);
        made.top->name = camera.name;
        made.node->name = MString(camera.name) + "Shape";
        made.top->isDefault = true;
        made.node->isDefault = true;
        enter(made.top, nullptr);
        for (int i = 0; i < 3; ++i) {
            setNumber(*made.top, (std::string("translate") + axes[i]).c_str(), camera.translate[i]);
            setNumber(*made.top, (std::string("rotate") + axes[i]).c_str(),
                      camera.rotateDegrees[i] * kDegrees);
        }
        setNumber(*made.node, "orthographic", camera.orthographic ? 1.0 : 0.0);
        if (camera.orthographic) {
            // As a new Maya scene has them: 30 units across.
            setNumber(*made.node, "orthographicWidth", 30.0);
        }
    }
}

}  // namespace host
