// Opening the engine's input files ("plansza1.txt", "k2.txt") safely.
//
// The engine reads both files whole, character by character, from the
// working directory, where anything may stand under those names: a FIFO
// (opening it would wait for a writer that never comes), a device such as
// /dev/zero (an endless stream of bytes), a folder.  Only a regular file is
// ever read, and opening never waits.
#pragma once

#include <cstdio>
#include <string>

namespace morvelak {

// Opens `name` for reading in binary mode when it is a regular file.
// Otherwise returns null and, when `why` is given, says what stood in the
// way: "not found", "it is a folder", "it is not a regular file", or the
// system's own reason ("Permission denied").
std::FILE* open_regular_file(const char* name, std::string* why = nullptr);

}  // namespace morvelak
