// The core's Text beside std::string in tests: compared byte for byte, shown.
#pragma once
#include <ostream>
#include <string>

#include "base/text.h"

inline std::string Str(const Text& text) { return std::string(text.c_str(), text.size()); }
inline bool operator==(const Text& a, const std::string& b) { return Str(a) == b; }
inline bool operator==(const std::string& a, const Text& b) { return a == Str(b); }
inline std::ostream& operator<<(std::ostream& out, const Text& text) { return out << Str(text); }
