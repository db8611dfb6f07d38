#include "draw/CineSheetDrawOverride.h"
#include "draw/Readout.h"

#include <maya/MColor.h>
#include <maya/MStateManager.h>
#include <maya/MTypes.h>

void CineSheetDrawOverride::addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& drawManager,
                                           const MHWRender::MFrameContext&, const MUserData* data) {
    const auto* sheetData = dynamic_cast<const CineSheetData*>(data);
    if (!sheetData || !sheetData->view().visible) {
        return;
    }
    const ShownView& view = sheetData->view();
    drawManager.beginDrawable(MHWRender::MUIDrawManager::kAutomatic, 0);
    MHWRender::MTexture* texture = sheetData->texture().get();
    if (texture != nullptr && view.opacity > 0.0) {
#if MAYA_API_VERSION >= 20230000
        // Maya's colour management shows the picture from the colour space the user chose.
        drawManager.setTexture(texture, sheetData->colorSpaceName());
#else
        drawManager.setTexture(texture);
#endif
        // Both settings are among those the draw manager supports; were one refused, the
        // quad would still show, with the default setting.
        drawManager.setTextureSampler(MHWRender::MSamplerState::kMinMagMipLinear,
                                      MHWRender::MSamplerState::kTexClamp);
        drawManager.setTextureMask(MHWRender::MBlendState::kRGBAChannels);
        // Viewport 2.0 blends a textured drawable by its colour's alpha; an opaque plane keeps
        // the default colour.
        if (view.opacity < 1.0) {
            drawManager.setColor(MColor(1.0f, 1.0f, 1.0f, static_cast<float>(view.opacity)));
        }
        drawManager.mesh(MHWRender::MUIDrawManager::kTriangles, sheetData->positions(), nullptr,
                         nullptr, nullptr, &sheetData->texCoords());
    }
    drawManager.endDrawable();
    if (view.showInfo) {
        drawReadout(drawManager, sheetData->positions(), view.readout, footage_.cachedFrames());
    }
}
