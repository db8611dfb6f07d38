#pragma once

#include <host/Textures.h>

#include <mutex>
#include <unordered_set>
#include <vector>

namespace host {

// The live textures. Released textures are never deleted (only their pixels are freed), so
// their addresses are not reused and a second release is recognised, not a crash.
class TextureRegistry {
public:
    static TextureRegistry& instance();

    void add(MHWRender::MTexture* texture);
    // False, and counted as a bad release, when the texture is not live.
    bool release(MHWRender::MTexture* texture);
    bool isLive(const MHWRender::MTexture* texture) const;
    TextureStats stats() const;
    void resetCounters();

private:
    mutable std::mutex mutex_;
    std::unordered_set<const MHWRender::MTexture*> live_;
    // Kept so that leak checkers see the released textures as held on purpose.
    std::vector<const MHWRender::MTexture*> released_;
    TextureStats stats_;
};

}  // namespace host
