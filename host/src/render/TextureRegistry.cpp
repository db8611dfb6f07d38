#include "render/TextureRegistry.h"

#include "render/TextureAccess.h"

namespace host {

// Never destroyed: textures may still be released while other statics are torn down at exit.
TextureRegistry& TextureRegistry::instance() {
    static TextureRegistry* registry = new TextureRegistry;
    return *registry;
}

void TextureRegistry::add(MHWRender::MTexture* texture) {
    std::lock_guard<std::mutex> lock(mutex_);
    live_.insert(texture);
    ++stats_.acquired;
}

bool TextureRegistry::release(MHWRender::MTexture* texture) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (live_.erase(texture) == 0) {
        ++stats_.badReleases;
        return false;
    }
    TextureAccess::freePixels(*texture);
    released_.push_back(texture);
    ++stats_.released;
    return true;
}

bool TextureRegistry::isLive(const MHWRender::MTexture* texture) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return live_.count(texture) != 0;
}

TextureStats TextureRegistry::stats() const {
    std::lock_guard<std::mutex> lock(mutex_);
    TextureStats stats = stats_;
    stats.live = live_.size();
    return stats;
}

void TextureRegistry::resetCounters() {
    std::lock_guard<std::mutex> lock(mutex_);
    stats_ = TextureStats{};
}

TextureStats textureStats() {
    return TextureRegistry::instance().stats();
}

void resetTextureCounters() {
    TextureRegistry::instance().resetCounters();
}

bool readTexturePixels(const MHWRender::MTexture* texture, int* width, int* height,
                       std::vector<std::uint8_t>* pixels) {
    if (!TextureRegistry::instance().isLive(texture)) {
        return false;
    }
    *width = TextureAccess::width(*texture);
    *height = TextureAccess::height(*texture);
    *pixels = TextureAccess::pixels(*texture);
    return true;
}

}  // namespace host
