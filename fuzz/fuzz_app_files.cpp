// The program's settings, project and language files. Their readers set the main window's
// controls, which is too heavy for a harness; this reads the file as they do, through the same
// INI classes and the same keys: a project through TMemIniFile (the options, strengths and the
// kaleidoscope's points, each split into whole numbers), a language through TIniFile (text
// keys of both sections).
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Strings.h"

namespace {
// The program's own limit on read points is far higher; a harness run stays short.
constexpr Integer PointsRead = 1000;

void ReadProject(const std::string& FileName) {
  TMemIniFile Ini(FileName);
  (void)Ini.ReadInteger("Project", "Pattern", 0);
  for (Integer I = 1; I <= 6; ++I) (void)Ini.ReadInteger("Project", "Param " + IntToStr(I), 50);
  for (const char* Key : {"Grid", "White grid", "No picture", "Keep shape", "Blending", "Clip edges",
                          "Glass FX", "Apply shade", "Auto antialias"})
    (void)Ini.ReadBool("Project", Key, false);
  const Integer N = Ini.ReadInteger("Kaleidoscope", "Points", 0);
  for (Integer I = 1; I <= N && I <= PointsRead; ++I) {
    const std::string Point = Ini.ReadString("Kaleidoscope", IntToStr(I), "");
    Integer Value;
    for (std::size_t At = 0; At < Point.size();) {
      const std::size_t End = std::min(Point.find(' ', At), Point.size());
      (void)TryStrToInt(std::string_view(Point).substr(At, End - At), Value);
      At = End + 1;
    }
  }
}

// The reader reads keys "1".."100"; each read parses the whole file again, so a few keys
// reach every path while the harness stays fast.
void ReadLanguage(const std::string& FileName) {
  TIniFile Ini(FileName);
  for (const char* Key : {"1", "2", "100"}) {
    (void)Ini.ReadString("Interface", Key, "");
    (void)Ini.ReadString("Variables", Key, "");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static fuzz::TInputFile Input;
  const std::string& FileName = Input.Write(Data, Size);
  fuzz::Refusable([&] { ReadProject(FileName); });
  fuzz::Refusable([&] { ReadLanguage(FileName); });
  return 0;
}
