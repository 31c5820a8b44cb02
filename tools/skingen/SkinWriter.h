#pragma once
// Writing a built skin: its text and pictures into a folder, then the stored skin packed from
// them with the skin library's own packer.
#include <string>

class TSkinBuilder;

// Writes "skin.ini" and the pictures it names into Folder (created when missing); returns the
// skin text's path.
std::string WriteSkinFolder(TSkinBuilder& Builder, const std::string& Folder);
// Packs the skin text and its pictures into a stored skin file (envelope and zlib stream).
void PackStoredSkin(const std::string& IniPath, const std::string& StoredPath);
// Loads the stored skin and checks that every record reads back as Builder wrote it; raises
// with the first difference.
void VerifyStoredSkin(TSkinBuilder& Builder, const std::string& StoredPath);
