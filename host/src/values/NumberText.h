#pragma once

#include <string>

namespace values {

// Shortest decimal text that reads back as the same value; whole numbers as plain digits.
std::string formatDouble(double value);
std::string formatFloat(float value);

// Whole text (surrounding blanks allowed) parsed as a number; false when anything else is left.
bool parseLong(const std::string& text, long& value);
bool parseDouble(const std::string& text, double& value);

}  // namespace values
