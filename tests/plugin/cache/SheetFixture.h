#pragma once

#include "VideoCacheSupport.h"
#include "draw/CineSheetData.h"
#include "draw/CineSheetDrawOverride.h"
#include "draw/GammaTable.h"
#include "footage/Footage.h"
#include "node/MayaFootageHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A node's footage, with the draw override's upload into a draw data's texture beside it: what
// frame preparation drives, without the host's refresh.
struct FootageSheet : Footage {
    FootageSheet() : Footage(mayaFootageHost()) {}

    VideoCache& videoCache = video();
    GammaTable gamma;
    int divisor = 1;
    decode::CacheDepth depth = decode::CacheDepth::kAuto;
};

// A fresh scene with the CineSheet node type registered and one CineSheet node, on which tests
// make footage the way the draw override holds it. At the end every texture must be released.
class SheetFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Footage for the node, with its caching worker started; destroyed by TearDown, or earlier
    // by destroySheet.
    FootageSheet& makeSheet();
    void destroySheet(FootageSheet& sheet);
    // A fresh draw data as frame preparation makes it; deleted by TearDown before the footage.
    CineSheetData& makeData();

    // The video frame shown in the draw data as frame preparation shows it, with the frame rate
    // not forced: the picture, else a blank one where there is none; the answer.
    static FootageAnswer showFrame(FootageSheet& sheet, CineSheetData& data,
                                   const std::string& path, int frame, int cacheFrames = 120,
                                   float gamma = 1.0f);
    // The upload of frame preparation.
    static bool upload(FootageSheet& sheet, CineSheetData& data, const unsigned char* pixels,
                       const LoadedMedium& medium, int divisor);
    // What frame preparation does when the cache resolution changes.
    static void setDivisor(FootageSheet& sheet, int divisor);

    MObject node;

private:
    std::vector<std::unique_ptr<CineSheetData>> data_;
    std::vector<std::unique_ptr<FootageSheet>> sheets_;
    std::size_t texturesBefore_ = 0;
};

struct TexturePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// The pixels of the draw data's texture; empty when it has none that is alive.
TexturePixels texturePixels(const CineSheetData& data);

// What the node's footage and draw data have charged to the budget.
size_t chargedBy(const FootageSheet& sheet, const CineSheetData& data);

// Polls `done` on the store's contents, under its lock, until it holds, for at most `limit`.
bool waitForStore(FootageSheet& sheet, const std::function<bool(const FrameStore::Contents&)>& done,
                  std::chrono::milliseconds limit = std::chrono::seconds(30));
// Whether every frame of the block is in the store.
bool blockComplete(const FrameStore::Contents& store, int block);
// The blocks in the store.
std::vector<int> storedBlocks(const FrameStore::Contents& store);
// The frame numbers of the frames in the store, in order.
std::vector<int> storedFrames(const FrameStore::Contents& store);
