// Where the data files are read and written: the data folder of the current
// directory, as ever, or, where the current directory has none, the one
// beside the program's own file.  Started from the registry's Run key, from a
// shortcut that starts in another folder or from a prompt elsewhere, the
// program would otherwise find neither its settings nor its pictures.  The
// rule is platform-free; the glue (data_folder_win32.cpp) asks the system
// once, at start-up, and keeps the answer.
#pragma once

#include <cstddef>

// The room of a data file's path, the terminator included: MAX_PATH.
constexpr size_t kDataPathCapacity = 260;
// The longest name of a data file: "settings.sf.new".
constexpr size_t kMaxDataNameLength = 15;

// Tells whether a byte of the ANSI code page starts a two-byte character, in
// whose second byte a backslash may stand (Japanese, Chinese, Korean).
using LeadBytePredicate = bool (*)(unsigned char byte);

// What comes before "data\" in the data files' paths: ".\" while the current
// directory has a data folder, else the program's own folder, all of
// `modulePath` up to its last backslash.  ".\" also where that path names no
// folder, or one so long that a data file's path would not fit.
void ChooseDataPrefix(bool currentHasDataFolder, const char* modulePath,
                      LeadBytePredicate isLeadByte, char (&prefix)[kDataPathCapacity]);

// `prefix`, "data\" and `name` in `path`; ".\data\" and the name where they
// would not fit (never with a prefix from ChooseDataPrefix and a data file's name).
void JoinDataPath(const char* prefix, const char* name, char (&path)[kDataPathCapacity]);

// Glue: chooses the data folder once, at start-up.
void ChooseDataFolder();

// The path of the data file `name` ("settings.sf") in the chosen folder, made
// in `path` and returned; relative to the current directory until
// ChooseDataFolder has run.
const char* DataFilePath(const char* name, char (&path)[kDataPathCapacity]);
