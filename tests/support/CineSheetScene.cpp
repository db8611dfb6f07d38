#include "CineSheetScene.h"

#include "node/CineSheet.h"

#include <host/Commands.h>
#include <host/Messages.h>
#include <host/NodeTypes.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>

#include <gtest/gtest.h>

namespace testsupport {

void freshSceneWithCineSheet(const std::string& pluginName) {
    ASSERT_EQ(host::runScript("hostConfig -resetFaults -resetColorManagement", false, false),
              MStatus::kSuccess);
    host::newScene();
    host::UndoQueue::instance().clear();
    host::resetMessageCounts();
    reregisterCineSheet(pluginName);
}

void reregisterCineSheet(const std::string& pluginName) {
    host::deregisterPluginNodeType(CineSheet::id);
    host::PluginNodeType type;
    type.name = CineSheet::className;
    type.id = CineSheet::id;
    type.creator = CineSheet::creator;
    type.initialize = CineSheet::initialize;
    type.kind = MPxNode::kLocatorNode;
    type.classification = CineSheet::drawDbClassification;
    type.pluginName = pluginName;
    ASSERT_EQ(host::registerPluginNodeType(type), MStatus::kSuccess);
}

}  // namespace testsupport
