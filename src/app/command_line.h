// Where the arguments begin on the command line the system hands a process.
// Platform-free.
#pragma once

// What follows the program's own name on `line`, as Windows' runtime hands it
// to WinMain: the name ends at the first blank (a byte from 1 to 32) outside
// quotes, and the blanks after it are skipped.  Every byte of 128 and above is
// text, part of the name or of the arguments: a folder or an argument with a
// Czech letter is read whole.  nullptr for nullptr.
char* ArgumentsOf(char* line);
