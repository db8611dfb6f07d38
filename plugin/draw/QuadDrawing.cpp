#include "draw/CineSheetDrawOverride.h"

#include <maya/MStateManager.h>

void CineSheetDrawOverride::addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& drawManager,
                                           const MHWRender::MFrameContext&, const MUserData* data) {
    const auto* sheetData = dynamic_cast<const CineSheetData*>(data);
    if (!sheetData) {
        return;
    }
    drawManager.beginDrawable(MHWRender::MUIDrawManager::kAutomatic, 0);
    if (sheetData->texture) {
        drawManager.setTexture(sheetData->texture);
        drawManager.setTextureSampler(MHWRender::MSamplerState::kMinMagMipLinear,
                                      MHWRender::MSamplerState::kTexClamp);
        drawManager.setTextureMask(MHWRender::MBlendState::kAllChannels);
        drawManager.mesh(MHWRender::MUIDrawManager::kTriangles, sheetData->positions, nullptr,
                         nullptr, nullptr, &sheetData->texCoords);
    }
    drawManager.endDrawable();
}
