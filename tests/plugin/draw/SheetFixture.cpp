#include "SheetFixture.h"

#include "CineSheetScene.h"
#include "draw/CineSheetDrawOverride.h"
#include "draw/PlaceholderCard.h"
#include "node/CineSheet.h"

#include <host/Commands.h>
#include <host/CommandsInCompute.h>
#include <host/MainThread.h>
#include <host/NodeTypes.h>
#include <host/Scene.h>
#include <host/Textures.h>
#include <host/UndoQueue.h>
#include <host/Viewport.h>

#include <maya/MDrawRegistry.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MTime.h>

#include <cmath>
#include <map>
#include <memory>

void SheetFixture::SetUp() {
    ASSERT_NO_FATAL_FAILURE(testsupport::freshSceneWithCineSheet("CineSheetFramePreparationTests"));
    ASSERT_EQ(MHWRender::MDrawRegistry::registerDrawOverrideCreator(CineSheet::drawDbClassification,
                                                                    CineSheet::drawRegistrantId,
                                                                    CineSheetDrawOverride::creator),
              MStatus::kSuccess);
    run("createNode transform -n sheet; createNode CineSheet -n sheetShape -p sheet");
    ASSERT_EQ(host::findNode("sheetShape", sheet), MStatus::kSuccess);
    host::resetOffMainThreadCalls();
    host::resetCommandsInCompute();
}

void SheetFixture::TearDown() {
    // Maya's API is single-threaded: readers and workers must not call into it.
    EXPECT_EQ(host::offMainThreadCalls(), 0u);
    // compute relies on its inputs alone.
    EXPECT_EQ(host::commandsInCompute(), 0u);
    EXPECT_EQ(MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(
                  CineSheet::drawDbClassification, CineSheet::drawRegistrantId),
              MStatus::kSuccess);
    host::UndoQueue::instance().clear();
    host::deregisterPluginNodeType(CineSheet::id);
    run("hostConfig -resetFaults -resetColorManagement; currentUnit -time film");
    host::newScene();
    EXPECT_EQ(host::textureStats().badReleases, 0u);
}

void SheetFixture::run(const std::string& script) {
    ASSERT_EQ(host::runScript(script, false, false), MStatus::kSuccess) << script;
}

void SheetFixture::refresh() {
    ASSERT_EQ(host::refresh(), MStatus::kSuccess);
}

void SheetFixture::setFile(const std::string& path) {
    ASSERT_EQ(plug("file").setString(path.c_str()), MStatus::kSuccess);
}

void SheetFixture::setTime(double value) {
    ASSERT_EQ(plug("frame").setMTime(MTime(value, MTime::uiUnit())), MStatus::kSuccess);
}

MPlug SheetFixture::plug(const char* attribute) const {
    MStatus status;
    const MPlug found = MFnDependencyNode(sheet).findPlug(attribute, true, &status);
    EXPECT_EQ(status, MStatus::kSuccess) << attribute;
    return found;
}

SheetFixture::Texture SheetFixture::drawnTexture() const {
    Texture texture;
    host::readTexturePixels(host::latestTexture(sheet), &texture.width, &texture.height,
                            &texture.pixels);
    return texture;
}

bool SheetFixture::drewMesh() const {
    for (const host::DrawCall& call : host::latestDrawCalls(sheet)) {
        if (call.kind == host::DrawCall::Kind::Mesh) {
            return true;
        }
    }
    return false;
}

bool SheetFixture::drewCard() const {
    const Texture texture = drawnTexture();
    return drewMesh() && texture.width > 0 &&
           texture.pixels == cardPixels(texture.width, texture.height);
}

namespace frameprep {

const testsupport::TempDir& scratch() {
    static const std::unique_ptr<testsupport::TempDir> folder =
        std::make_unique<testsupport::TempDir>();
    return *folder;
}

namespace {

// Makes the files once; the pattern path is returned.
std::string sequence(const char* pattern, const char* printfPattern, const char* arguments) {
    testsupport::makeMedia(std::string(arguments) + " -start_number 1",
                           scratch().file(printfPattern));
    return scratch().file(pattern);
}

}  // namespace

std::string pngSequence() {
    static const std::string path =
        sequence("shot.####.png", "shot.%04d.png",
                 "-f lavfi -i color=black:s=64x48:r=24 -frames:v 5 -vf \"format=rgba,"
                 "geq=r='mod(4*X+37*N,256)':g='mod(5*Y+53*N,256)':b='mod(X*Y+11*N,256)':"
                 "a='4*X+Y'\" -pix_fmt rgba");
    return path;
}

std::string video() {
    static const std::string path = [] {
        const std::string file = scratch().file("clip.mp4");
        testsupport::makeMedia(
            "-f lavfi -i testsrc2=s=96x64:r=24 -frames:v 48 -c:v libx264 -g 8 -keyint_min 8 "
            "-sc_threshold 0 -bf 2 -pix_fmt yuv420p",
            file);
        return file;
    }();
    return path;
}

std::string pngFrame(int frame) {
    pngSequence();
    return scratch().file("shot.000" + std::to_string(frame) + ".png");
}

const std::vector<std::uint8_t>& pngPixels(int frame) {
    static std::map<int, std::vector<std::uint8_t>> decoded;
    auto found = decoded.find(frame);
    if (found == decoded.end()) {
        found = decoded.emplace(frame, rgbaOf(pngFrame(frame))).first;
    }
    return found->second;
}

std::vector<std::uint8_t> rgbaOf(const std::string& file) {
    testsupport::TempDir folder;
    const std::string raw = folder.file("pixels.rgba");
    testsupport::makeMedia("-i " + testsupport::shellQuote(file) + " -f rawvideo -pix_fmt rgba",
                           raw);
    return testsupport::readBytes(raw);
}

std::vector<std::uint8_t> withGamma(std::vector<std::uint8_t> rgba, float gamma) {
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        if (i % 4 != 3) {
            rgba[i] = static_cast<std::uint8_t>(powf(rgba[i] / 255.0f, gamma) * 255.0f);
        }
    }
    return rgba;
}

}  // namespace frameprep
