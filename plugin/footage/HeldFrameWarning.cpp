#include "footage/HeldFrameWarning.h"

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
    warnings_.warn(WarningTopic::kMissingFrame, "the frame file " + file + " " + what + "; frame " +
                                                    std::to_string(heldFrame) +
                                                    " is held in its place, crossed in red");
}
