#pragma once

#include "Media.h"

#include <string>

// The media the cache tests share, each made once per test run on first use.
namespace cachetest {

// Path of a generated medium, by name (the common clips and those in CacheMedia.cpp).
const std::string& mediaPath(const std::string& name);
// The ffmpeg tool's decode of that medium.
const testsupport::ReferenceVideo& reference(const std::string& name);
// A scratch folder that lives as long as the test binary.
const testsupport::TempDir& scratch();

}  // namespace cachetest
