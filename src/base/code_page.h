// Windows-1250, the code page every text of the program is stored in, turned
// into UTF-16 for the system's "W" functions, so that a Windows of any other
// ANSI code page (an English or German one: 1252) shows the Czech letters
// right.  The table is built in: nothing depends on which code pages the
// system has installed.  Platform-free.
#pragma once

// The UTF-16 value of one Windows-1250 byte.  The five bytes the code page
// leaves unassigned (81, 83, 88, 90, 98) stand for the control characters of
// the same number, as Windows' own table has them.
char16_t Cp1250Char(unsigned char byte);

// Converts the 0-terminated `text` into `out`, which holds `capacity` units
// and is always 0-terminated (nothing is written when capacity is 0); a text
// that does not fit is cut.  Returns the units written, the 0 left out.
int Cp1250ToUtf16(const char* text, char16_t* out, int capacity);
