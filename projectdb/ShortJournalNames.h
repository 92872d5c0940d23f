#pragma once
// The engine names a database's journal after the database ("NAME-journal",
// "NAME-wal"), which passes the system's 255-byte name limit for a database
// whose own name is close to it: such a database could not be changed at all.
// This engine file layer, installed as the default, gives every file name
// whose last component is too long a short hashed name in the same folder
// (".q<hash>.journal") and hands all else unchanged to the system's layer.

#include <filesystem>
#include <string>
#include <string_view>

namespace qln {

// Installs the layer as the engine's default (once; later calls do nothing).
void InstallShortJournalNames();

// 16 hexadecimal digits of a 64-bit hash of `text`: stands in for a file
// name too long to be repeated in the name of a file beside it.
std::string NameHash(std::string_view text);

// The name the layer uses for `path`: itself while its last component fits.
std::string ShortJournalName(const std::string& path);

}  // namespace qln
