#include "sequence/SequencePattern.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <system_error>

namespace video {
namespace {

size_t longestRun(const std::string& text) {
    size_t longest = 0;
    size_t run = 0;
    for (char c : text) {
        run = c == '#' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// The frame number a file name holds in place of the run, when the name could be the pattern's
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

SequencePattern::SequencePattern(std::string pattern)
    : pattern_(std::move(pattern)), runLength_(longestRun(pattern_)) {}

std::string SequencePattern::fileOf(int frame) const {
    if (runLength_ == 0) {
        return pattern_;
    }
    std::string number = std::to_string(frame);
    if (number.size() < runLength_) {
        number.insert(0, runLength_ - number.size(), '0');
    }
    const std::string run(runLength_, '#');
    std::string file;
    size_t from = 0;
    for (size_t found = pattern_.find(run); found != std::string::npos;
         found = pattern_.find(run, from)) {
        file.append(pattern_, from, found - from).append(number);
        from = found + runLength_;
    }
    return file.append(pattern_, from, std::string::npos);
}

std::optional<FrameWindow> SequencePattern::framesOnDisk() const {
    const std::string run(runLength_, '#');
    const size_t start = pattern_.find(run);
    const size_t slash = pattern_.rfind('/');
    if (runLength_ == 0 || pattern_.find(run, start + runLength_) != std::string::npos ||
        (slash != std::string::npos && slash > start)) {
        return std::nullopt;
    }
    const std::string folder = slash == std::string::npos ? "." : pattern_.substr(0, slash + 1);
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string prefix = pattern_.substr(nameStart, start - nameStart);
    const std::string suffix = pattern_.substr(start + runLength_);
    std::optional<FrameWindow> frames;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const std::optional<int> number = numberIn(name, prefix, suffix);
        // 0012 and 012 are both twelve; only the name the pattern gives counts.
        if (!number || fileOf(*number).compare(nameStart, std::string::npos, name) != 0) {
            continue;
        }
        if (!frames) {
            frames = FrameWindow{*number, *number};
        }
        frames->first = std::min(frames->first, *number);
        frames->last = std::max(frames->last, *number);
    }
    return frames;
}

}  // namespace video
