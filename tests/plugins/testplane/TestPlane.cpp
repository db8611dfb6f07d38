// A minimal locator, "testPlane", whose draw override shows a known picture on a quad, for the
// host's viewport tests. The picture (8 x 6 texels, rows top-down) has four quadrants: red top
// left, green top right, blue bottom left, yellow bottom right. The quad spans -1..1 in the
// node's XY plane with texture coordinate (0, 0) at its lower left corner.
//
// testPlaneStats returns: draw overrides alive, draw data alive, prepareForDraw calls, calls
// that were handed back the data of an earlier refresh, calls handed data of another type,
// draw overrides ever made, addUIDrawables calls, calls handed back the data of another DAG
// path (instance) of the node.
//
// For the host's clean-up tests: TESTPLANE_FAIL_AT=command makes initializePlugin fail after
// registering the node type and the draw override creator; TESTPLANE_KEEP_CREATOR=1 makes
// uninitializePlugin leave the creator registered.
#include <maya/MDrawRegistry.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPxCommand.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MUIDrawManager.h>
#include <maya/MUserData.h>
#include <maya/MViewport2Renderer.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const MTypeId kNodeId(0x0013B1F0);
const MString kClassification("drawdb/geometry/testPlane");
const MString kRegistrant("testPlanePlugin");

bool envIs(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set != nullptr && std::strcmp(set, value) == 0;
}

struct Stats {
    int overridesAlive = 0;
    int dataAlive = 0;
    int prepares = 0;
    int handedBack = 0;
    int foreign = 0;
    int overridesMade = 0;
    int draws = 0;
    int otherPath = 0;
};

Stats stats;

class TestPlane : public MPxLocatorNode {
public:
    static void* creator() { return new TestPlane; }

    // "disposableData" makes the draw data deleteAfterUse.
    static MStatus initialize() {
        MFnNumericAttribute numeric;
        disposableData = numeric.create("disposableData", "dd", MFnNumericData::kBoolean, 0);
        return addAttribute(disposableData);
    }

    static MObject disposableData;
};

MObject TestPlane::disposableData;

class TestPlaneData : public MUserData {
public:
    // Maya still honours the deprecated delete-after-use flag, so the host is tested with it.
    explicit TestPlaneData(bool deleteAfterUse) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        setDeleteAfterUse(deleteAfterUse);
#pragma GCC diagnostic pop
        ++stats.dataAlive;
    }
    ~TestPlaneData() override {
        --stats.dataAlive;
    }

    MHWRender::MTexture* texture = nullptr;
    // The DAG path the data was made for.
    MString path;
};

std::vector<std::uint8_t> quadrantPicture(unsigned int width, unsigned int height) {
    std::vector<std::uint8_t> pixels;
    for (unsigned int row = 0; row < height; ++row) {
        for (unsigned int column = 0; column < width; ++column) {
            const bool top = row < height / 2;
            const bool left = column < width / 2;
            const std::uint8_t red = (top && left) || (!top && !left) ? 255 : 0;
            const std::uint8_t green = !left ? 255 : 0;
            const std::uint8_t blue = !top && left ? 255 : 0;
            pixels.insert(pixels.end(), {red, green, blue, 255});
        }
    }
    return pixels;
}

class TestPlaneDrawOverride : public MHWRender::MPxDrawOverride {
public:
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) {
        return new TestPlaneDrawOverride(obj);
    }

    explicit TestPlaneDrawOverride(const MObject& obj) : MPxDrawOverride(obj, nullptr, true) {
        ++stats.overridesAlive;
        ++stats.overridesMade;
    }

    ~TestPlaneDrawOverride() override {
        if (texture_ != nullptr) {
            MHWRender::MRenderer::theRenderer()->getTextureManager()->releaseTexture(texture_);
        }
        --stats.overridesAlive;
    }

    MHWRender::DrawAPI supportedDrawAPIs() const override { return MHWRender::kAllDevices; }
    bool hasUIDrawables() const override { return true; }

    MUserData* prepareForDraw(const MDagPath& objPath, const MDagPath&,
                              const MHWRender::MFrameContext&, MUserData* oldData) override {
        ++stats.prepares;
        auto* data = dynamic_cast<TestPlaneData*>(oldData);
        if (data != nullptr) {
            ++stats.handedBack;
            if (data->path != objPath.fullPathName()) {
                ++stats.otherPath;
            }
        } else {
            if (oldData != nullptr) {
                ++stats.foreign;
            }
            const bool disposable = MPlug(objPath.node(), TestPlane::disposableData).asBool();
            data = new TestPlaneData(disposable);
            data->path = objPath.fullPathName();
        }
        if (texture_ == nullptr) {
            texture_ = acquirePicture();
        }
        data->texture = texture_;
        return data;
    }

    void addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& drawManager,
                        const MHWRender::MFrameContext&, const MUserData* data) override {
        ++stats.draws;
        const auto* planeData = dynamic_cast<const TestPlaneData*>(data);
        if (planeData == nullptr) {
            return;
        }
        drawManager.beginDrawable(MHWRender::MUIDrawManager::kAutomatic, 0);
        if (planeData->texture != nullptr) {
            MPointArray positions;
            MPointArray texCoords;
            const double corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
            for (const auto& corner : corners) {
                positions.append(corner[0], corner[1], 0.0);
                texCoords.append((corner[0] + 1) / 2, (corner[1] + 1) / 2);
            }
            drawManager.setTexture(planeData->texture);
            drawManager.setTextureSampler(MHWRender::MSamplerState::kMinMagMipLinear,
                                          MHWRender::MSamplerState::kTexClamp);
            drawManager.setTextureMask(MHWRender::MBlendState::kRGBAChannels);
            drawManager.mesh(MHWRender::MUIDrawManager::kTriangles, positions, nullptr, nullptr,
                             nullptr, &texCoords);
        }
        drawManager.endDrawable();
    }

private:
    static MHWRender::MTexture* acquirePicture() {
        MHWRender::MTextureDescription description;
        description.setToDefault2DTexture();
        description.fWidth = 8;
        description.fHeight = 6;
        description.fFormat = MHWRender::kR8G8B8A8_UNORM;
        description.fTextureType = MHWRender::kImage2D;
        const std::vector<std::uint8_t> pixels =
            quadrantPicture(description.fWidth, description.fHeight);
        return MHWRender::MRenderer::theRenderer()->getTextureManager()->acquireTexture(
            "", description, pixels.data(), false);
    }

    MHWRender::MTexture* texture_ = nullptr;
};

class StatsCommand : public MPxCommand {
public:
    static void* creator() { return new StatsCommand; }

    MStatus doIt(const MArgList&) override {
        MIntArray result;
        for (int value : {stats.overridesAlive, stats.dataAlive, stats.prepares, stats.handedBack,
                          stats.foreign, stats.overridesMade, stats.draws, stats.otherPath}) {
            result.append(value);
        }
        setResult(result);
        return MStatus::kSuccess;
    }
};

}  // namespace

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "CineSheet tests", "1.0", "Any");
    MStatus status =
        plugin.registerNode("testPlane", kNodeId, TestPlane::creator, TestPlane::initialize,
                            MPxNode::kLocatorNode, &kClassification);
    if (status) {
        status = MHWRender::MDrawRegistry::registerDrawOverrideCreator(
            kClassification, kRegistrant, TestPlaneDrawOverride::creator);
    }
    if (status && envIs("TESTPLANE_FAIL_AT", "command")) {
        return MStatus::kFailure;
    }
    if (status) {
        status = plugin.registerCommand("testPlaneStats", StatsCommand::creator);
    }
    return status;
}

MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    MStatus status = MStatus::kSuccess;
    if (!envIs("TESTPLANE_KEEP_CREATOR", "1")) {
        status =
            MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(kClassification, kRegistrant);
    }
    if (status) {
        status = plugin.deregisterNode(kNodeId);
    }
    if (status) {
        status = plugin.deregisterCommand("testPlaneStats");
    }
    return status;
}
