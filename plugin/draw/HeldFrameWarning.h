#pragma once

#include <maya/MString.h>

#include <set>
#include <string>

// Warns once per file that a frame of a sequence is missing or unreadable and that another frame
// is held in its place. The warning is queued for the main thread's idle time, as the drawing
// thread reports nothing itself.
class HeldFrameWarning {
public:
    void missing(const std::string& file, int heldFrame);
    void unreadable(const std::string& file, int heldFrame);

private:
    void warnOnce(const std::string& file, const char* what, int heldFrame);

    std::set<std::string> warned_;
};
