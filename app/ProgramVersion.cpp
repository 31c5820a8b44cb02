// The program's version: the text the build stamps into this file, and its parts.
#include <string>

#include "app/Functions.h"
#include "platform/system/Strings.h"

#ifndef TILVAROK_FILE_VERSION
#error "The build stamps TILVAROK_FILE_VERSION into this file"
#endif

const char* const ProgramFileVersion = TILVAROK_FILE_VERSION;
std::string VersionMajor, VersionMinor, VersionRelease, VersionBuild, VersionText;

bool ParseFileVersion(const std::string& Text) {
  // Positions of the first three points; a text without them leaves the version as it was.
  std::size_t Points[3];
  std::size_t From = 0;
  for (std::size_t& P : Points) {
    P = Text.find('.', From);
    if (P == std::string::npos || P == 0) return false;
    From = P + 1;
  }
  VersionMajor = Text.substr(0, 1);
  VersionMinor = Text.substr(Points[1] - 1, 1);
  VersionRelease = Text.substr(Points[2] - 1, 1);
  VersionBuild = Text.substr(Points[2] + 1, 3);
  VersionText = VersionMajor + "." + VersionMinor + "." + VersionBuild;
  return true;
}

void ReadFileVersion() {
  ParseFileVersion(ProgramFileVersion);
}
