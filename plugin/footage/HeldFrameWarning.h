#pragma once

#include "footage/NodeWarnings.h"

#include <set>
#include <string>

// Warns once per file that a frame of a sequence is missing or unreadable and that another frame
// is held in its place, through the node's warnings.
class HeldFrameWarning {
public:
    explicit HeldFrameWarning(NodeWarnings& warnings) : warnings_(warnings) {}

    void missing(const std::string& file, int heldFrame);
    void unreadable(const std::string& file, int heldFrame);

private:
    void warnOnce(const std::string& file, const char* what, int heldFrame);

    NodeWarnings& warnings_;
    std::set<std::string> warned_;
};
