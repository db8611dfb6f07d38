#pragma once

#include <maya/MString.h>

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

// The warnings of one node, shown as "// Warning: <node>: <text> //". A topic's warning is shown
// once when its cause appears, and again only when the text changes or after the cause went away
// (clear). Any thread may call: Maya shows messages from its main thread only, so each warning is
// queued for the main thread's idle time and shown there.
class NodeWarnings {
public:
    // The name warnings give the node; set by the main thread (the draw), read by every thread.
    void setNodeName(const MString& name);
    // Shows "<node>: <text>" unless the topic's standing warning is that text.
    void warn(WarningTopic topic, const std::string& text);
    // The topic's cause went away: its next warning is shown, whatever it says.
    void clear(WarningTopic topic);
    // The topic's standing warning ("" when none).
    std::string standing(WarningTopic topic) const;

private:
    mutable std::mutex mutex_;
    std::string nodeName_;
    std::map<WarningTopic, std::string> standing_;
};

// The text of a footage warning: cannot show "<path>": <reason>.
std::string cannotShow(const std::string& path, const std::string& reason);
