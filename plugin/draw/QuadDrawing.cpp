#include "draw/CineSheetDrawOverride.h"

#include <maya/MStateManager.h>
#include <maya/MTypes.h>

void CineSheetDrawOverride::addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& drawManager,
                                           const MHWRender::MFrameContext&, const MUserData* data) {
    const auto* sheetData = dynamic_cast<const CineSheetData*>(data);
    if (!sheetData) {
        return;
    }
    drawManager.beginDrawable(MHWRender::MUIDrawManager::kAutomatic, 0);
    if (MHWRender::MTexture* texture = sheetData->texture().get()) {
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
        drawManager.mesh(MHWRender::MUIDrawManager::kTriangles, sheetData->positions(), nullptr,
                         nullptr, nullptr, &sheetData->texCoords());
    }
    drawManager.endDrawable();
}
