// A short text in a buffer of its own: what the core hands the glue to show,
// and what it takes from the dialogs' fields.  One fixed size for every text
// the program makes (the longest, a version line with a whole service-pack
// name, is about 170 characters); what would go beyond it is cut off.  Bytes
// are kept as they come, a NUL among them included, and c_str() is always
// terminated.  Platform-free, and nothing of the C++ library: the program that
// ships carries none of it.
#pragma once

#include <cstddef>
#include <cstdint>

class Text {
public:
    static constexpr size_t kCapacity = 256;  // the terminator included

    Text() { chars_[0] = '\0'; }
    Text(const char* chars) : Text() { *this += chars; }  // a literal is a Text
    Text(const char* chars, size_t count) : Text() { append(chars, count); }

    const char* c_str() const { return chars_; }
    size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }
    char operator[](size_t index) const { return chars_[index]; }

    Text& append(const char* chars, size_t count);
    Text& operator+=(const char* chars);  // up to its NUL; null adds nothing
    Text& operator+=(char c) { return append(&c, 1); }
    // The number in decimal with at least `digits` digits, zeros in front,
    // and a minus sign before them: what "%.2d" shows, "-05" for -5.
    Text& appendNumber(int32_t value, int digits = 1);
    // Shortens the text to `length` characters; never lengthens it.
    void resize(size_t length);

private:
    size_t length_ = 0;
    char chars_[kCapacity];
};

// The same characters, byte for byte.
bool operator==(const Text& a, const Text& b);
bool operator==(const Text& a, const char* b);
inline bool operator==(const char* a, const Text& b) { return b == a; }
inline bool operator!=(const Text& a, const Text& b) { return !(a == b); }
inline bool operator!=(const Text& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const Text& b) { return !(b == a); }
