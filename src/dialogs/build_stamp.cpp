#include "dialogs/build_stamp.h"

namespace {

const char kBuildNumber[] = "012201";

}  // namespace

Text BuildStampFrom(const char* chars, size_t count, bool fileOpened) {
    Text stamp = "Build : ";
    stamp += kBuildNumber;
    stamp += '.';
    // A short file drops what it gave; a partial suffix is never shown.
    if (!fileOpened || chars == nullptr || count < kBuildStampSuffixLength) {
        stamp += '?';
    } else {
        stamp.append(chars, kBuildStampSuffixLength);
    }
    return stamp;
}
