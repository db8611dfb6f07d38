#pragma once

#include <string>

// The text as a MEL string literal, quoted and escaped, for commands the plug-in builds.
std::string melString(const std::string& text);
