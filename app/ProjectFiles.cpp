// Project files. The whole file is read once and written once (an INI file held in memory):
// a drawing of many thousand points would otherwise cost a pass over the file per key.
#include "app/ProjectFiles.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Drawing.h"
#include "app/Main.h"
#include "platform/classes/Dialogs.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"

namespace {
constexpr std::string_view ProjectSection = "Project";
constexpr std::string_view KaleidoSection = "Kaleidoscope";
// Far beyond any drawing square; keeps the arithmetic of the symmetric images in range.
constexpr Integer MaxPointCoordinate = 100'000'000;

// The nine options in file order.
struct TOptionKey {
  const char* Key;
  TbsSkinCheckRadioBox* TForm1::*Box;
  bool Default;
};
constexpr TOptionKey OptionKeys[] = {
    {"Grid", &TForm1::GridShow, false},
    {"White grid", &TForm1::WhiteGrid, false},
    {"No picture", &TForm1::FrameOnly, true},
    {"Keep shape", &TForm1::KeepShape, false},
    {"Blending", &TForm1::Blending, true},
    {"Clip edges", &TForm1::Edges, true},
    {"Glass FX", &TForm1::GlassFX, false},
    {"Apply shade", &TForm1::ApplyShade, false},
    {"Auto antialias", &TForm1::AutoAlias, false},
};

// The three effect strengths in file order.
struct TBarKey {
  const char* Key;
  TbsSkinTrackBar* TForm1::*Bar;
};
constexpr TBarKey BarKeys[] = {{"Blend amount", &TForm1::BlendBar},
                               {"Clip amount", &TForm1::ClipBar},
                               {"Glass FX amount", &TForm1::GlassBar}};

std::string ParamKey(Integer I) {
  return Format("Param %d", {I});
}

void Tell(const std::string& Text, TMsgDlgType Type) {
  Form1->bsSkinMessage1->MessageDlg(Text, Type, TMsgDlgButtons{mbOK}, 0);
}

// A point as stored: x and y, each a whole number, separated by blanks. The reader trims the
// value, so the six-character columns it was written in cannot be relied on.
bool ParsePoint(std::string_view S, TPoint& P) {
  Integer V[2];
  Integer Count = 0;
  std::size_t I = 0;
  while (I < S.size()) {
    if (S[I] == ' ' || S[I] == '\t') {
      ++I;
      continue;
    }
    const std::size_t End = std::min(S.find_first_of(" \t", I), S.size());
    if (Count == 2 || !TryStrToInt(S.substr(I, End - I), V[Count])) return false;
    if (V[Count] < -MaxPointCoordinate || V[Count] > MaxPointCoordinate) return false;
    ++Count;
    I = End;
  }
  if (Count != 2) return false;
  P = {V[0], V[1]};
  return true;
}

// Step by step as the window would set them by hand; builds are held back by the caller.
void SetControls(TForm1* Form, TCustomIniFile& Ini) {
  Integer Type = Ini.ReadInteger(ProjectSection, "Pattern", 0);
  // A type this program does not know reads as the default.
  if (Type < 0 || Type > 9) Type = 0;
  Form->PatternBox->SetItemIndex(Type);
  Form->SelectType(Form->PatternBox);
  for (Integer I = 1; I <= 6; ++I)
    Form->TrackBarP[I - 1]->SetValue(Ini.ReadInteger(ProjectSection, ParamKey(I), I == 1 ? 0 : 50));
  for (const TOptionKey& O : OptionKeys)
    (Form->*O.Box)->SetChecked(Ini.ReadBool(ProjectSection, O.Key, O.Default));
  for (const TBarKey& B : BarKeys) (Form->*B.Bar)->SetValue(Ini.ReadInteger(ProjectSection, B.Key, 0));
}

// The stored points become the drawing: one stroke through all of them. Only the points read
// before an invalid one are kept, so a later save writes no point the file did not hold.
// False when the file's points are invalid.
bool ReadPoints(TCustomIniFile& Ini) {
  const Integer N = Ini.ReadInteger(KaleidoSection, "Points", SeedCount);
  bool Valid = N >= 0 && N <= MaxProjectPoints;
  std::vector<TPoint> Points;
  for (Integer I = 1; Valid && I <= N; ++I) {
    TPoint P;
    Valid = ParsePoint(Ini.ReadString(KaleidoSection, IntToStr(I), ""), P);
    if (Valid) Points.push_back(P);
  }
  SeedCount = PointCount = static_cast<Integer>(Points.size());
  KaleidoPoints = Points;
  SetDrawingStroke(std::move(Points));
  return Valid;
}
}  // namespace

std::string ProjectName(const std::string& FileName) {
  const std::string Name = ExtractFileName(FileName);
  return Name.substr(0, Name.size() < 4 ? 0 : Name.size() - 4);
}

void SaveProjectFile(const std::string& FileName) {
  TForm1* Form = Form1;
  // Made in memory and written in one go: the file is replaced whole, and an old project
  // stays as it was when the new one cannot be written.
  TMemIniFile Ini("");
  // The type in use, not the box's item index, which a language switch refills.
  Ini.WriteInteger(ProjectSection, "Pattern", PatternType);
  for (Integer I = 1; I <= 6; ++I)
    Ini.WriteInteger(ProjectSection, ParamKey(I), Form->TrackBarP[I - 1]->GetValue());
  for (const TOptionKey& O : OptionKeys) Ini.WriteBool(ProjectSection, O.Key, (Form->*O.Box)->GetChecked());
  for (const TBarKey& B : BarKeys) Ini.WriteInteger(ProjectSection, B.Key, (Form->*B.Bar)->GetValue());
  if (PatternType == ptKaleidoscope) {
    const Integer N = Min(Max(PointCount, 0), static_cast<Integer>(KaleidoPoints.size()));
    Ini.WriteInteger(KaleidoSection, "Points", N);
    for (Integer I = 1; I <= N; ++I) {
      const TPoint P = KaleidoPoints[static_cast<std::size_t>(I) - 1];
      Ini.WriteString(KaleidoSection, IntToStr(I), Format("%6d %6d", {P.X, P.Y}));
    }
  }
  try {
    Ini.Rename(FileName, false);
    Ini.UpdateFile();
  } catch (const Exception&) {
    Tell("Project \"" + FileName + "\" could not be saved.", mtWarning);
    return;
  }
  Tell("Project \"" + FileName + "\" successfully saved", mtInformation);
}

void LoadProjectFile(const std::string& FileName) {
  TForm1* Form = Form1;
  const std::string Name = ProjectName(FileName);
  std::unique_ptr<TMemIniFile> Ini;
  try {
    Ini = std::make_unique<TMemIniFile>(FileName);
  } catch (const Exception&) {
    Tell("Project \"" + Name + "\" could not be opened.", mtWarning);
    return;
  }
  bool Valid = true;
  {
    // No build runs while the controls are set, and the window is ready again whatever
    // happens meanwhile.
    Ready = 0;
    const auto ReadyAgain = ScopeExit([] { Ready = 1; });
    SetControls(Form, *Ini);
    if (PatternType == ptKaleidoscope) {
      Valid = ReadPoints(*Ini);
      if (Valid)
        Form->DrawHistory();
      else
        Tell("Project \"" + Name + "\" could not be opened.", mtWarning);
    }
  }
  // The update button's build: the kaleidoscope builds too.
  Form->CreateMosaic(Form->UpdateBtn);
  if (Valid) Tell("Project \"" + Name + "\" successfully opened.", mtInformation);
}
