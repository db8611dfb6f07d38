#pragma once

#include <cstddef>
#include <string>

namespace video {

// Where the sound of the clip at `clipPath` goes first in `folder`: "<clip name>.wav", the clip's
// file name without its last extension, shortened to the file-name limit with its ending.
std::string soundFilePath(const std::string& folder, const std::string& clipPath);

// The first of `preferred` ("<name>.wav"), "<name>_1.wav", "<name>_2.wav", ... that is free or
// already holds exactly the bytes of the open file `made`: the same clip imported again lands on
// its own file, while the sound of another clip of that name, or the user's own file, is never
// replaced. Empty when no name can be given.
std::string freeSoundFilePath(const std::string& preferred, int made);

// The longest start of the file name `name` of at most `limit` bytes that does not cut a UTF-8
// character in two.
std::string nameWithin(const std::string& name, size_t limit);

}  // namespace video
