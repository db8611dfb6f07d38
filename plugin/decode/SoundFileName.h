#pragma once

#include <cstddef>
#include <string>

namespace video {

// Where the sound of the clip at `clipPath` goes in `folder`: "<clip name>.wav", or
// "<clip name>_1.wav", "<clip name>_2.wav", ... when that name is taken by a file that was not
// made from this clip (another clip of the same name in another folder, or the user's own
// file). A file made from this same clip is named again, to be replaced with a fresh decode.
// A clip name too long for the file-name limit with its ending is shortened. Empty when no
// name can be given.
std::string soundFilePath(const std::string& folder, const std::string& clipPath);

// The longest start of the file name `name` of at most `limit` bytes that does not cut a UTF-8
// character in two.
std::string nameWithin(const std::string& name, size_t limit);

}  // namespace video
