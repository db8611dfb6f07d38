#include "node/ColorSpaceNames.h"

bool isSrgbTextureSpace(const MString& name) {
    for (const char* srgb :
         {"sRGB", "sRGB Encoded Rec.709 (sRGB)", "Utility - sRGB - Texture", "sRGB - Texture"}) {
        if (name == srgb) {
            return true;
        }
    }
    return false;
}

short defaultColorSpaceField(const MStringArray& inputSpaces) {
    for (unsigned int i = 0; i < inputSpaces.length(); ++i) {
        if (isSrgbTextureSpace(inputSpaces[i])) {
            return static_cast<short>(i + 1);
        }
    }
    return 0;
}
