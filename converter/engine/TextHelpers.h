#pragma once
// Small text helpers of the translator.

#include <string>

// text without one leading and one trailing occurrence of delimiter (each removed only where present).
// A text that is just the delimiter gives the empty text; an empty delimiter changes nothing.
std::string DELFIRSTEND(const std::string& text, const std::string& delimiter);
