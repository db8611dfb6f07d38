#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>

// What a node warns about. Each topic has at most one warning standing at a time.
enum class WarningTopic {
    kFootage,       // the file or sequence cannot be shown at all
    kTexture,       // the viewport refused the texture, or its upload
    kMissingFrame,  // a frame of the sequence shown is missing
    kEndedEarly,    // the video file ends before its listed frames do
    kColorSpace,    // the colour configuration in force has no space of the name chosen
};

// The warnings of one node, shown as "<node>: <text>". A topic's warning is shown once when its
// cause appears, and again only when the text changes or after the cause went away (clear). Any
// thread may call.
class NodeWarnings {
public:
    // `show` shows a warning line, on the thread that warns, with no lock held.
    explicit NodeWarnings(std::function<void(const std::string& line)> show);

    // The name warnings give the node; set by the main thread (the draw), read by every thread.
    void setNodeName(const std::string& name);
    // Shows "<node>: <text>" unless the topic's standing warning is that text.
    void warn(WarningTopic topic, const std::string& text);
    // The topic's cause went away: its next warning is shown, whatever it says.
    void clear(WarningTopic topic);
    // The topic's standing warning ("" when none).
    std::string standing(WarningTopic topic) const;

private:
    const std::function<void(const std::string& line)> show_;
    mutable std::mutex mutex_;
    std::string nodeName_;
    std::map<WarningTopic, std::string> standing_;
};

// The text of a footage warning: cannot show "<path>": <reason>.
std::string cannotShow(const std::string& path, const std::string& reason);
