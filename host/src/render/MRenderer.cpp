#include <maya/MViewport2Renderer.h>

#include <mutex>

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

MRenderer::MRenderer() = default;

MRenderer::~MRenderer() = default;

// Started on first demand and kept for the whole process, like the host's.
MRenderer* MRenderer::theRenderer(bool initializeRenderer) {
    static std::mutex mutex;
    static MRenderer* renderer = nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    if (renderer == nullptr && initializeRenderer) {
        renderer = new MRenderer;
    }
    return renderer;
}

MTextureManager* MRenderer::getTextureManager() const {
    static MTextureManager manager;
    return &manager;
}

DrawAPI MRenderer::drawAPI() const {
    return kOpenGLCoreProfile;
}

bool MRenderer::drawAPIIsOpenGL() const {
    return true;
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
