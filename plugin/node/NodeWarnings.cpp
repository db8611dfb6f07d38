#include "node/NodeWarnings.h"

#include "node/MelString.h"

#include <maya/MGlobal.h>

void NodeWarnings::setNodeName(const MString& name) {
    const std::lock_guard<std::mutex> lock(mutex_);
    nodeName_ = name.asChar();
}

void NodeWarnings::warn(WarningTopic topic, const std::string& text) {
    std::string line;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::string& standing = standing_[topic];
        if (standing == text) {
            return;
        }
        standing = text;
        line = nodeName_.empty() ? text : nodeName_ + ": " + text;
    }
    // A command rather than a task of ours: a task would call into this library, which may be
    // unloaded by the time the main thread gets to it.
    MGlobal::executeCommandOnIdle(MString(("warning " + melString(line)).c_str()), false);
}

void NodeWarnings::clear(WarningTopic topic) {
    const std::lock_guard<std::mutex> lock(mutex_);
    standing_.erase(topic);
}

std::string NodeWarnings::standing(WarningTopic topic) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = standing_.find(topic);
    return found == standing_.end() ? std::string() : found->second;
}

std::string cannotShow(const std::string& path, const std::string& reason) {
    return "cannot show \"" + path + "\": " + reason;
}
