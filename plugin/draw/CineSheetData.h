#pragma once

#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MTextureManager.h>
#include <maya/MUserData.h>
#include <maya/MViewport2Renderer.h>

// What one refresh hands from frame preparation to drawing. The host keeps it between refreshes;
// it refers to the texture but does not own it.
class CineSheetData : public MUserData {
public:
    CineSheetData() : MUserData() { textureDescription.setToDefault2DTexture(); }
    ~CineSheetData() override = default;

    MHWRender::MTextureDescription textureDescription;
    MHWRender::MTexture* texture = nullptr;
    MPointArray positions;
    MPointArray texCoords;
    MString colorSpaceName;
};
