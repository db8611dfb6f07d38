#pragma once

#include "Media.h"

#include <string>
#include <vector>

// The media the decoding tests share, each made once per test run on first use.
namespace decodetest {

// Path of a generated medium, by name (the common clips and those in DecodeMedia.cpp).
const std::string& mediaPath(const std::string& name);
// The names of every medium the decoding tests can make.
std::vector<std::string> mediaNames();
// The ffmpeg tool's decode of that medium.
const testsupport::ReferenceVideo& reference(const std::string& name);
// A scratch folder that lives as long as the test binary.
const testsupport::TempDir& scratch();

}  // namespace decodetest
