#pragma once

#include <host/Textures.h>

#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

namespace host {

// The live textures with their references, and the named ones by name. A texture is deleted
// with its last reference, so using it afterwards is a use after free.
class TextureRegistry {
public:
    static TextureRegistry& instance();

    // A named texture already live gains a reference; otherwise make() is called and a
    // texture it returns becomes live with one reference (and known by its name if it has one).
    MHWRender::MTexture* acquire(const MString& name,
                                 const std::function<MHWRender::MTexture*()>& make);
    // Drops a reference, deleting the texture with the last. False, and counted as a bad
    // release, when the texture is not live; the pointer is then not followed.
    bool release(MHWRender::MTexture* texture);
    bool isLive(const MHWRender::MTexture* texture) const;
    TextureStats stats() const;
    void resetCounters();

private:
    struct Entry {
        std::size_t references = 0;
        std::string name;
    };

    mutable std::mutex mutex_;
    std::unordered_map<const MHWRender::MTexture*, Entry> live_;
    std::unordered_map<std::string, MHWRender::MTexture*> named_;
    TextureStats stats_;
};

}  // namespace host
