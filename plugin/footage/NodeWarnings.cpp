#include "footage/NodeWarnings.h"

#include <utility>

NodeWarnings::NodeWarnings(std::function<void(const std::string& line)> show)
    : show_(std::move(show)) {}

void NodeWarnings::setNodeName(const std::string& name) {
    const std::lock_guard<std::mutex> lock(mutex_);
    nodeName_ = name;
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
    show_(line);
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
