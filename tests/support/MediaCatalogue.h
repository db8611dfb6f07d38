#pragma once

#include "Media.h"

#include <map>
#include <string>
#include <vector>

// Named test media, each made with the ffmpeg tool on first use and kept, with the tool's decode
// of it, for the rest of the test run.
namespace testsupport {

// The process's media: the common clips and the cache suites' own (see MediaCatalogue.cpp).
// Path of the medium of this name; throws for a name with no recipe.
const std::string& mediaPath(const std::string& name);
// The ffmpeg tool's decode of that medium.
const ReferenceVideo& reference(const std::string& name);
// A folder the media are made in, for a suite's own files; it lives as long as the process.
const TempDir& scratch();

struct MediaRecipe {
    std::string file;       // the file name, whose extension picks the container
    std::string arguments;  // ffmpeg arguments before the output file
    // When set, a second pass copies that file into the final one with these arguments (for
    // what the tool only writes while copying, such as a rotation tag).
    std::string copyArguments = {};
    // Arguments of that second pass before its input, such as a start time cutting the file
    // without re-encoding.
    std::string copyInputArguments = {};
};
using MediaRecipes = std::map<std::string, MediaRecipe>;

// The common clips (small synthetic ones with motion in every frame, so that a wrong frame never
// passes, in the formats, key-frame layouts, file names, orientations and pixel shapes both the
// decoder and the cache handle) and a test area's own, under names of their own.
class MediaCatalogue {
public:
    explicit MediaCatalogue(const MediaRecipes& areaClips);

    // Path of the medium of this name; throws for a name with no recipe.
    const std::string& path(const std::string& name);
    // The names of every medium the catalogue can make.
    std::vector<std::string> names() const;
    // The ffmpeg tool's decode of that medium.
    const ReferenceVideo& reference(const std::string& name);
    // The folder the media are made in; it lives as long as the catalogue.
    const TempDir& scratch() const { return scratch_; }

private:
    MediaRecipes recipes_;
    TempDir scratch_;
    std::map<std::string, std::string> made_;
    std::map<std::string, ReferenceVideo> decoded_;
};

}  // namespace testsupport
