#include "render/TextureRegistry.h"

#include "render/TextureAccess.h"

#include <algorithm>

namespace host {

// Never destroyed: textures may still be released while other statics are torn down at exit.
TextureRegistry& TextureRegistry::instance() {
    static TextureRegistry* registry = new TextureRegistry;
    return *registry;
}

MHWRender::MTexture* TextureRegistry::acquire(const MString& name,
                                              const std::function<MHWRender::MTexture*()>& make) {
    const std::string key = name.asChar();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!key.empty()) {
        const auto known = named_.find(key);
        if (known != named_.end()) {
            ++live_[known->second].references;
            ++stats_.acquired;
            return known->second;
        }
    }
    MHWRender::MTexture* texture = make();
    if (texture == nullptr) {
        return nullptr;
    }
    live_[texture] = Entry{1, key};
    if (!key.empty()) {
        named_[key] = texture;
    }
    ++stats_.acquired;
    return texture;
}

bool TextureRegistry::release(MHWRender::MTexture* texture) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto entry = live_.find(texture);
    if (entry == live_.end()) {
        ++stats_.badReleases;
        return false;
    }
    ++stats_.released;
    if (--entry->second.references == 0) {
        if (!entry->second.name.empty()) {
            named_.erase(entry->second.name);
        }
        live_.erase(entry);
        TextureAccess::destroy(texture);
    }
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

bool readTextureLevel(const MHWRender::MTexture* texture, unsigned int level, int* width,
                      int* height, std::vector<std::uint8_t>* pixels) {
    TextureRegistry& registry = TextureRegistry::instance();
    if (!registry.isLive(texture)) {
        return false;
    }
    const auto& levels = TextureAccess::levels(*texture);
    if (level >= levels.size() || levels[level].empty()) {
        return false;
    }
    *width = std::max(1, TextureAccess::width(*texture) >> level);
    *height = std::max(1, TextureAccess::height(*texture) >> level);
    *pixels = levels[level];
    return true;
}

bool textureIsHalfFloat(const MHWRender::MTexture* texture) {
    return TextureRegistry::instance().isLive(texture) && TextureAccess::isHalfFloat(*texture);
}

bool readTexturePixels(const MHWRender::MTexture* texture, int* width, int* height,
                       std::vector<std::uint8_t>* pixels) {
    return readTextureLevel(texture, 0, width, height, pixels);
}

}  // namespace host
