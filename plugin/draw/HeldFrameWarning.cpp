#include "draw/HeldFrameWarning.h"

#include <maya/MGlobal.h>

namespace {

std::string melQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

void HeldFrameWarning::missing(const std::string& file, int heldFrame) {
    warnOnce(file, "is missing", heldFrame);
}

void HeldFrameWarning::unreadable(const std::string& file, int heldFrame) {
    warnOnce(file, "cannot be read", heldFrame);
}

void HeldFrameWarning::warnOnce(const std::string& file, const char* what, int heldFrame) {
    if (!warned_.insert(file).second) {
        return;
    }
    const std::string text = "CineSheet: the frame file " + file + " " + what + "; frame " +
                             std::to_string(heldFrame) + " is held in its place, crossed in red";
    MGlobal::executeCommandOnIdle(MString(("warning " + melQuoted(text)).c_str()), false);
}
