#include "SheetFixture.h"

#include "CineSheetScene.h"
#include "cache/ProcessSpares.h"
#include "node/CineSheet.h"

#include <host/Faults.h>
#include <host/NodeTypes.h>
#include <host/Scene.h>
#include <host/Textures.h>

#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>

#include <mutex>
#include <thread>
#include <vector>

void SheetFixture::SetUp() {
    ASSERT_NO_FATAL_FAILURE(testsupport::freshSceneWithCineSheet("CineSheetCacheTests"));

    MDagModifier modifier;
    const MObject transform = modifier.createNode(CineSheet::className);
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    node = MFnDagNode(transform).child(0);
    ASSERT_FALSE(node.isNull());
    texturesBefore_ = host::textureStats().live;
    host::resetTextureCounters();
}

void SheetFixture::TearDown() {
    data_.clear();
    sheets_.clear();
    // The next test starts with no buffer this one let go of.
    video::ProcessSpares::instance().freeAll();
    EXPECT_EQ(host::textureStats().live, texturesBefore_) << "textures left alive";
    EXPECT_EQ(host::textureStats().badReleases, 0u);
    host::clearFaults();
    host::newScene();
    host::deregisterPluginNodeType(CineSheet::id);
}

FootageSheet& SheetFixture::makeSheet() {
    sheets_.push_back(std::make_unique<FootageSheet>());
    return *sheets_.back();
}

void SheetFixture::destroySheet(FootageSheet& sheet) {
    for (auto& owned : sheets_) {
        if (owned.get() == &sheet) {
            owned.reset();
        }
    }
}

CineSheetData& SheetFixture::makeData() {
    data_.push_back(std::make_unique<CineSheetData>());
    return *data_.back();
}

bool SheetFixture::upload(FootageSheet& sheet, CineSheetData& data, const unsigned char* pixels,
                          const LoadedMedium& medium, int divisor) {
    return data.textureFor(medium, divisor) &&
           data.texture().upload(sheet.gamma.apply(pixels, data.texture().frameBytes()));
}

FootageAnswer SheetFixture::showFrame(FootageSheet& sheet, CineSheetData& data,
                                      const std::string& path, int frame, int cacheFrames,
                                      float gamma) {
    sheet.gamma.setGamma(gamma);
    FootageRequest request;
    request.path = path.c_str();
    request.frame = frame;
    request.divisor = sheet.divisor;
    request.depth = sheet.depth;
    request.cacheFrames = cacheFrames;
    request.deadline = farDeadline();
    const FootageResult result = sheet.frameFor(
        request, [&](const unsigned char* pixels, const LoadedMedium& medium, int divisor) {
            return upload(sheet, data, pixels, medium, divisor);
        });
    switch (result.answer) {
        case FootageAnswer::kNotShown:
        case FootageAnswer::kBlank:
            if (data.textureFor(result.medium, result.divisor)) {
                data.texture().clear();
            }
            break;
        case FootageAnswer::kPlaceholder:
        case FootageAnswer::kUnreadable:
        case FootageAnswer::kMissing:
        case FootageAnswer::kEndedEarly:
            data.showCard(result.medium);
            break;
        default:
            break;
    }
    return result.answer;
}

void SheetFixture::setDivisor(FootageSheet& sheet, int divisor) {
    sheet.divisor = divisor;
    sheet.videoCache.setResolutionDivisor(divisor);
}

TexturePixels texturePixels(const CineSheetData& data) {
    TexturePixels pixels;
    if (data.texture().get() && !host::readTexturePixels(data.texture().get(), &pixels.width,
                                                         &pixels.height, &pixels.bytes)) {
        ADD_FAILURE() << "the draw data's texture is not alive";
    }
    return pixels;
}

size_t chargedBy(const FootageSheet& sheet, const CineSheetData& data) {
    return sheet.video().account().total() + sheet.sequence().account().total() +
           data.texture().chargedBytes();
}

bool waitForStore(FootageSheet& sheet, const std::function<bool(const FrameStore::Contents&)>& done,
                  std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (true) {
        if (storeOf(sheet).read(done)) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool blockComplete(const FrameStore::Contents& store, int block) {
    auto found = store.blocks.find(block);
    if (found == store.blocks.end()) {
        return false;
    }
    for (const video::FrameRef& slot : found->second) {
        if (!slot) {
            return false;
        }
    }
    return true;
}

std::vector<int> storedBlocks(const FrameStore::Contents& store) {
    std::vector<int> blocks;
    for (const auto& entry : store.blocks) {
        blocks.push_back(entry.first);
    }
    return blocks;
}

std::vector<int> storedFrames(const FrameStore::Contents& store) {
    std::vector<int> frames;
    for (const auto& [block, slots] : store.blocks) {
        for (size_t slot = 0; slot < slots.size(); ++slot) {
            if (slots[slot]) {
                frames.push_back(store.blockStarts[static_cast<unsigned int>(block)] +
                                 static_cast<int>(slot));
            }
        }
    }
    return frames;
}
