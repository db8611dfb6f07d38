#include "sequence/SequencePattern.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace video {
namespace {

bool isAlphanumeric(const std::string& name, size_t at) {
    return at < name.size() && std::isalnum(static_cast<unsigned char>(name[at])) != 0;
}

// The longest run of the character in the name; with `delimited`, only runs with no letter or
// digit right before or after them count.
std::string longestRun(const std::string& name, char repeated, bool delimited) {
    size_t longest = 0;
    for (size_t start = name.find(repeated); start != std::string::npos;) {
        size_t end = start;
        while (end < name.size() && name[end] == repeated) {
            ++end;
        }
        const bool counts = !delimited || ((start == 0 || !isAlphanumeric(name, start - 1)) &&
                                           !isAlphanumeric(name, end));
        if (counts) {
            longest = std::max(longest, end - start);
        }
        start = name.find(repeated, end);
    }
    return std::string(longest, repeated);
}

// A "%d" or "%0<width>d" in the name, and the width it pads to (0: none).
bool findPrintfMark(const std::string& name, std::string& mark, size_t& width) {
    for (size_t at = name.find('%'); at != std::string::npos; at = name.find('%', at + 1)) {
        size_t end = at + 1;
        const bool padded = end < name.size() && name[end] == '0';
        end += padded ? 1 : 0;
        const size_t digitsStart = end;
        while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end]))) {
            ++end;
        }
        if (end >= name.size() || name[end] != 'd' || padded != (end > digitsStart)) {
            continue;
        }
        mark = name.substr(at, end + 1 - at);
        width = padded ? std::stoul(name.substr(digitsStart, end - digitsStart)) : 0;
        return true;
    }
    return false;
}

// The frame number a file name holds in place of the mark, when the name could be the pattern's
// file of that number.
std::optional<int> numberIn(const std::string& name, const std::string& prefix,
                            const std::string& suffix) {
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix)) {
        return std::nullopt;
    }
    const std::string digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    // Nine digits always fit an int.
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(),
                                          [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return std::nullopt;
    }
    return std::stoi(digits);
}

}  // namespace

SequencePattern::SequencePattern(std::string pattern) : pattern_(std::move(pattern)) {
    const size_t slash = pattern_.rfind('/');
    nameStart_ = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = pattern_.substr(nameStart_);
    if (!findPrintfMark(name, mark_, width_)) {
        // An '@' inside a word (an address, "v@2") is a character of the name, not a mark.
        for (char repeated : {'#', '@'}) {
            mark_ = longestRun(name, repeated, repeated == '@');
            width_ = mark_.size();
            if (!mark_.empty()) {
                break;
            }
        }
    }
    // A still chosen as it is named ("take#1.png", "100%done.png") is that still, not a
    // sequence whose frames are nowhere.
    std::error_code error;
    if (!mark_.empty() && std::filesystem::exists(pattern_, error)) {
        mark_.clear();
        width_ = 0;
    }
}

std::string SequencePattern::fileOf(int frame) const {
    if (mark_.empty()) {
        return pattern_;
    }
    std::string number = std::to_string(frame);
    if (number.size() < width_) {
        number.insert(0, width_ - number.size(), '0');
    }
    std::string file = pattern_.substr(0, nameStart_);
    size_t from = nameStart_;
    for (size_t found = pattern_.find(mark_, from); found != std::string::npos;
         found = pattern_.find(mark_, from)) {
        file.append(pattern_, from, found - from).append(number);
        from = found + mark_.size();
    }
    return file.append(pattern_, from, std::string::npos);
}

template <typename Found>
bool SequencePattern::forEachFrameOnDisk(Found found) const {
    const size_t start = mark_.empty() ? std::string::npos : pattern_.find(mark_, nameStart_);
    if (start == std::string::npos ||
        pattern_.find(mark_, start + mark_.size()) != std::string::npos) {
        return false;
    }
    const std::string folder = nameStart_ == 0 ? "." : pattern_.substr(0, nameStart_);
    const std::string prefix = pattern_.substr(nameStart_, start - nameStart_);
    const std::string suffix = pattern_.substr(start + mark_.size());
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const std::optional<int> number = numberIn(name, prefix, suffix);
        // 0012 and 012 are both twelve; only the name the pattern gives counts.
        if (number && fileOf(*number).compare(nameStart_, std::string::npos, name) == 0) {
            found(*number);
        }
    }
    return true;
}

std::optional<FrameWindow> SequencePattern::framesOnDisk() const {
    std::optional<FrameWindow> frames;
    forEachFrameOnDisk([&frames](int number) {
        if (!frames) {
            frames = FrameWindow{number, number};
        }
        frames->first = std::min(frames->first, number);
        frames->last = std::max(frames->last, number);
    });
    return frames;
}

std::optional<int> SequencePattern::heldFrameFor(int frame) const {
    std::optional<int> before;
    std::optional<int> after;
    forEachFrameOnDisk([&](int number) {
        if (number < frame && (!before || number > *before)) {
            before = number;
        } else if (number > frame && (!after || number < *after)) {
            after = number;
        }
    });
    return before ? before : after;
}

}  // namespace video
