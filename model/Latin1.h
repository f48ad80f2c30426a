#pragma once
// Labels are single-byte Latin-1 text; these compare them as people read them.

#include <string>

namespace Latin1 {

// The lower-case form of one Latin-1 character (A-Z and the accented capitals).
unsigned char ToLower(unsigned char c);

// True when the two texts differ at most in the case of their letters.
bool EqualNoCase(const std::string& a, const std::string& b);

} // namespace Latin1
