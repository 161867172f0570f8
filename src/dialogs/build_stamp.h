// The build stamp of the About dialog: the build number compiled into the
// program joined with the first eight characters of bld_rm.tf in the data
// folder.
// Platform-free: the glue reads the file and passes in what it got.
#pragma once

#include <cstddef>

#include "base/text.h"

// How many characters of the file complete the stamp.
constexpr size_t kBuildStampSuffixLength = 8;

// The stamp line, "Build : 012201." followed by the suffix.  `chars` holds the
// `count` characters read from the file in text mode (at most eight are looked
// at; it may be null when `count` is 0).  The suffix is those eight characters,
// or "?" when the file did not open or ended before the eighth.
Text BuildStampFrom(const char* chars, size_t count, bool fileOpened);
