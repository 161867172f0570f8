#include "dialogs/build_stamp.h"

namespace {

const char kBuildNumber[] = "012201";

}  // namespace

std::string BuildStampFrom(const char* chars, size_t count, bool fileOpened) {
    std::string stamp = "Build : ";
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
