#include "app/command_line.h"

namespace {

// Bytes compare unsigned: as a signed char every Windows-1250 letter beyond
// ASCII would count as a blank.
bool IsBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

}  // namespace

char* ArgumentsOf(char* line) {
    if (line == nullptr) return nullptr;
    bool quoted = false;
    while (*line != '\0' && (quoted || !IsBlank(*line))) {
        if (*line == '"') quoted = !quoted;
        ++line;
    }
    while (IsBlank(*line)) ++line;
    return line;
}
