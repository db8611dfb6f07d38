// The same for the Viewport 2.0 classes in MHWRender.
namespace MHWRender {
class MTexture;
}

#include <maya/MTextureManager.h>

MHWRender::MTexture* noTexture() {
    return nullptr;
}
