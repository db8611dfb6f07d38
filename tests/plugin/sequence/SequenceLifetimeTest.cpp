#include "SequenceMedia.h"
#include "node/CineSheet.h"

#include <host/Commands.h>
#include <host/NodeTypes.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/Viewport.h>

namespace {

// Enough 640 x 360 frames that the worker is still reading when the node goes.
std::string longSequence() {
    static const std::string pattern = [] {
        testsupport::makeMedia("-f lavfi -i testsrc2=s=640x360:r=24 -frames:v 60 -start_number 1",
                               frameprep::scratch().file("long.%04d.png"));
        return frameprep::scratch().file("long.####.png");
    }();
    return pattern;
}

class SequenceLifetime : public SequenceSheet {};

TEST_F(SequenceLifetime, DeletingTheNodeWhileTheWorkerReads) {
    setFile(longSequence());
    setTime(30);
    refresh();
    ASSERT_TRUE(drewMesh());
    run("delete sheet");
    refresh();
    EXPECT_EQ(host::drawOverrideCount(), 0u);
}

// The plug-in itself, loaded by the host: unloading it ends the nodes' workers first.
class SequenceUnload : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        host::deregisterPluginNodeType(CineSheet::id);
    }
    void TearDown() override { host::newScene(); }
};

TEST_F(SequenceUnload, UnloadingThePluginWhileTheWorkerReads) {
    const std::string pattern = longSequence();
    ASSERT_EQ(host::loadPlugin(testsupport::pluginPath(), nullptr), MStatus::kSuccess);
    ASSERT_EQ(host::runScript("camera -n shotCam; cineSheet -camera shotCam -filePath \"" +
                                  pattern + "\"; currentTime 12; refresh;",
                              false, false),
              MStatus::kSuccess);
    EXPECT_EQ(host::unloadPlugin("libCineSheet", true), MStatus::kSuccess);
    EXPECT_EQ(host::drawOverrideCount(), 0u);
}

}  // namespace
