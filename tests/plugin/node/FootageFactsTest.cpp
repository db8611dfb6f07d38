#include "NodeFixture.h"

#include "node/CineSheet.h"

#include <host/Scene.h>

#include <maya/MFnDependencyNode.h>

namespace {

using FootageFacts = NodeFixture;

// What a worker learnt of a video reaches keyframeInterval through the node's hidden inputs, for
// that file only, computed from the node's data alone; handing it over is no edit of the scene.
TEST_F(FootageFacts, KeyframeIntervalComesFromTheHiddenInputsForTheirFileOnly) {
    const MObject sheet = createCineSheet();
    plug(sheet, "file").setString("/footage/clip.mp4");
    EXPECT_EQ(plug(sheet, "keyframeInterval").asInt(), 0);
    host::setSceneModified(false);

    auto* node = dynamic_cast<CineSheet*>(MFnDependencyNode(sheet).userNode());
    ASSERT_NE(node, nullptr);
    node->learnKeyframeInterval("/footage/clip.mp4", 12);
    EXPECT_EQ(plug(sheet, "keyframeInterval").asInt(), 12);
    EXPECT_FALSE(host::sceneModified());

    plug(sheet, "file").setString("/footage/other.mp4");
    EXPECT_EQ(plug(sheet, "keyframeInterval").asInt(), 0) << "another file is not looked through";
    plug(sheet, "file").setString("/footage/clip.mp4");
    EXPECT_EQ(plug(sheet, "keyframeInterval").asInt(), 12);
}

}  // namespace
