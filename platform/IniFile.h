#pragma once

#include <string>

// Reads a key of a profile (INI) file as Windows does: section and key names
// match in any letter case, the first of duplicate keys counts, comments
// (";") and blank lines are skipped, lines end in CRLF or LF, blanks around
// names and values and quotes around a value are dropped, and lines without
// "=" or "]" are ignored. Only the first megabyte of the file is read. A
// missing file, section or key reads as empty text.
std::string ReadProfileString(const std::string& Path, const std::string& Section, const std::string& Key);
