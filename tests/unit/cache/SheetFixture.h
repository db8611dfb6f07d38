#pragma once

#include "VideoCacheInternals.h"
#include "draw/CineSheetDrawOverride.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A fresh scene with the CineSheet node type registered and one CineSheet node, on which tests
// make draw overrides the way the host does. At the end every texture must be released.
class SheetFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A draw override on the node, with its caching worker started; destroyed by TearDown, or
    // earlier by destroySheet.
    CineSheetDrawOverride& makeSheet();
    void destroySheet(CineSheetDrawOverride& sheet);
    // A fresh draw data as frame preparation makes it; deleted by TearDown before the overrides.
    CineSheetData& makeData();

    // processVideo as frame preparation calls it with the frame rate not forced.
    static void showFrame(CineSheetDrawOverride& sheet, CineSheetData& data,
                          const std::string& path, int frame, int cacheFrames = 120,
                          float gamma = 1.0f);
    // What frame preparation does when the cache resolution changes.
    static void setDivisor(CineSheetDrawOverride& sheet, int divisor);

    MObject node;

private:
    std::vector<std::unique_ptr<CineSheetData>> data_;
    std::vector<std::unique_ptr<CineSheetDrawOverride>> sheets_;
    std::size_t texturesBefore_ = 0;
};

struct TexturePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// The pixels of the draw data's texture; empty when it has none that is alive.
TexturePixels texturePixels(const CineSheetData& data);

// Polls `done` under the store lock until it holds, for at most `limit`.
bool waitForStore(CineSheetDrawOverride& sheet, const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::seconds(30));
// Whether every frame of the block is in the store (call with the store lock held).
bool blockComplete(const CineSheetDrawOverride& sheet, int block);
// The blocks in the store (call with the store lock held).
std::vector<int> storedBlocks(const CineSheetDrawOverride& sheet);
// The frame numbers of the frames in the store, in order (call with the store lock held).
std::vector<int> storedFrames(const CineSheetDrawOverride& sheet);

std::vector<int> values(const MIntArray& array);
