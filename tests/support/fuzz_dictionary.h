// Reads a libFuzzer dictionary (fuzz/*.dict), so tests can check it against
// the vocabulary of the code it serves.
#pragma once

#include <filesystem>
#include <set>
#include <string>

// The entries of the dictionary at Path, unescaped. Lines are blank, "#"
// comments, or an optional name= followed by a quoted value with \\, \" and
// \xHH escapes, as libFuzzer reads them. A malformed line (which would make
// libFuzzer reject the whole file) or a missing file throws std::runtime_error.
std::set<std::string> ReadFuzzDictionary(const std::filesystem::path& Path);

// The folder of the fuzz targets and their dictionaries in the source tree.
std::filesystem::path FuzzSourceDir();
