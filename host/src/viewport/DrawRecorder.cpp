#include <host/DrawRecording.h>

namespace host {

DrawRecorder::DrawRecorder() : manager_(*this) {}

DrawRecorder::~DrawRecorder() = default;

const char* drawCallName(DrawCall::Kind kind) {
    switch (kind) {
        case DrawCall::Kind::BeginDrawable:
            return "beginDrawable";
        case DrawCall::Kind::EndDrawable:
            return "endDrawable";
        case DrawCall::Kind::SetTexture:
            return "setTexture";
        case DrawCall::Kind::SetTextureSampler:
            return "setTextureSampler";
        case DrawCall::Kind::SetTextureMask:
            return "setTextureMask";
        case DrawCall::Kind::SetColor:
            return "setColor";
        case DrawCall::Kind::SetFontSize:
            return "setFontSize";
        case DrawCall::Kind::Mesh:
            return "mesh";
        case DrawCall::Kind::Text:
            return "text";
    }
    return "";
}

}  // namespace host
