#include "NodeFixture.h"

#include "node/CineSheet.h"

#include <maya/MDataBlock.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MMatrix.h>

namespace {

using PlacementComputeTest = NodeFixture;

// The render resolution as the node's inputs give it.
void giveResolution(const MObject& sheet, int width, int height) {
    MFnDependencyNode(sheet).findPlug("renderWidth", true).setInt(width);
    MFnDependencyNode(sheet).findPlug("renderHeight", true).setInt(height);
}

CineSheet* userNode(const MObject& sheet) {
    return dynamic_cast<CineSheet*>(MFnDependencyNode(sheet).userNode());
}

TEST_F(PlacementComputeTest, UnconnectedCameraGivesIdentityWhateverTheInputs) {
    const MObject sheet = createCineSheet();
    plug(sheet, "planeDepth").setDouble(12.0);
    plug(sheet, "planePosX").setDouble(3.0);
    plug(sheet, "cameraFocalLength").setDouble(0.0);
    EXPECT_EQ(matrixValue(plug(sheet, "cameraMatrix")), MMatrix::identity);
}

// The node computes "cameraMatrix" and what it reads from the file; called directly for any other
// plug, compute must decline without writing or cleaning the placement, which is left dirty here
// so that a write would show.
TEST_F(PlacementComputeTest, ComputeDeclinesEveryOtherPlugAndLeavesTheOutputAlone) {
    const MObject sheet = createCineSheet();
    attachCameraTransform(sheet);
    setResolution(1920, 1080);
    const MMatrix before = matrixValue(plug(sheet, "cameraMatrix"));
    plug(sheet, "planeDepth").setDouble(50.0);
    CineSheet* node = userNode(sheet);
    ASSERT_NE(node, nullptr);
    MDataBlock block = node->_forceCache();
    ASSERT_FALSE(block.isClean(CineSheet::aOutCamMtx));

    const MFnDependencyNode fn(sheet);
    unsigned int declined = 0;
    for (unsigned int i = 0; i < fn.attributeCount(); ++i) {
        const MObject attribute = fn.attribute(i);
        if (attribute == CineSheet::aOutCamMtx || attribute == CineSheet::aFrameRatio ||
            attribute == CineSheet::aKeyframeInterval || attribute == CineSheet::aSoundOffset ||
            attribute == CineSheet::aSoundStart) {
            continue;
        }
        const MPlug other(sheet, attribute);
        EXPECT_EQ(node->compute(other, block), MStatus::kUnknownParameter) << other.name().asChar();
        ++declined;
    }
    EXPECT_GE(declined, 22u);
    EXPECT_FALSE(block.isClean(CineSheet::aOutCamMtx));
    EXPECT_EQ(block.outputValue(CineSheet::aOutCamMtx).asMatrix(), before);

    // The same block does compute the output when asked for it.
    EXPECT_EQ(node->compute(plug(sheet, "cameraMatrix"), block), MStatus::kSuccess);
    EXPECT_TRUE(block.isClean(CineSheet::aOutCamMtx));
    EXPECT_DOUBLE_EQ(block.outputValue(CineSheet::aOutCamMtx).asMatrix()(3, 2), -50.0);
}

// The resolution inputs are all compute reads of the render resolution.
TEST_F(PlacementComputeTest, ResolutionInputsPlaceThePlaneWhateverTheRenderSettings) {
    const MObject sheet = createCineSheet();
    attachCameraTransform(sheet);
    giveResolution(sheet, 1920, 1080);
    const MMatrix hd = matrixValue(plug(sheet, "cameraMatrix"));
    setResolution(640, 480);
    EXPECT_EQ(matrixValue(plug(sheet, "cameraMatrix")), hd);
    giveResolution(sheet, 640, 480);
    EXPECT_NEAR(matrixValue(plug(sheet, "cameraMatrix"))(0, 0), 29.0491, 1e-4);
    // One of them not given: framed as for a square picture, whatever the render settings say.
    plug(sheet, "renderHeight").setInt(0);
    const MMatrix notGiven = matrixValue(plug(sheet, "cameraMatrix"));
    setResolution(1920, 1080);
    EXPECT_EQ(matrixValue(plug(sheet, "cameraMatrix")), notGiven);
    plug(sheet, "renderWidth").setInt(1);
    plug(sheet, "renderHeight").setInt(1);
    EXPECT_EQ(matrixValue(plug(sheet, "cameraMatrix")), notGiven);
}

}  // namespace
