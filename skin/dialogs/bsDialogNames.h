#pragma once
// The dialogs' text rules on names, free of any control: filter texts, file masks and typed
// paths. Paths come back with '/' only; a typed '\' is a separator too.
#include <string>
#include <vector>

// The description and mask pairs of a filter text ("description|mask|..."), in order; a
// trailing description without a "|" after it is dropped.
struct TbsFilterEntry {
  std::string Description;
  std::string Mask;
};
std::vector<TbsFilterEntry> ParseFilter(const std::string& Filter);

// The file mask test of the shell list: patterns end at ";" or "|" (spaces around them
// dropped); one with "." matches by the platform's wildcards (letter case ignored, "*.*" also
// matches names without a dot), one without "." admits only as "*". No pattern admits nothing.
bool MatchesFileMask(const std::string& Mask, const std::string& FileName);

// '\' turned into '/'.
std::string SlashedPath(std::string Path);
// A typed name as a full path: absolute as typed, else taken from Folder; "." and ".." are
// resolved by the text.
std::string ResolveTypedPath(const std::string& Folder, const std::string& Typed);
