#include "base/text.h"

Text& Text::append(const char* chars, size_t count) {
    for (size_t i = 0; i < count && length_ < kCapacity - 1; ++i) chars_[length_++] = chars[i];
    chars_[length_] = '\0';
    return *this;
}

Text& Text::operator+=(const char* chars) {
    if (chars == nullptr) return *this;
    size_t count = 0;
    while (chars[count] != '\0') ++count;
    return append(chars, count);
}

Text& Text::appendNumber(int32_t value, int digits) {
    // Unsigned, so that the most negative value has its magnitude too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char reversed[16];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (digits > 12) digits = 12;
    while (count < digits) reversed[count++] = '0';
    if (value < 0) *this += '-';
    while (count > 0) *this += reversed[--count];
    return *this;
}

void Text::resize(size_t length) {
    if (length >= length_) return;
    length_ = length;
    chars_[length_] = '\0';
}

bool operator==(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

bool operator==(const Text& a, const char* b) {
    if (b == nullptr) return a.empty();
    size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0' || a[i] != b[i]) return false;
    }
    return b[i] == '\0';
}
