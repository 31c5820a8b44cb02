#include "platform/system/IniFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "platform/system/DateTime.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"
#include "platform/system/Paths.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"

namespace {

// A written name or value ends at its first line break: it must stay on its own line.
std::string_view OneLine(std::string_view S) {
  return S.substr(0, S.find_first_of("\r\n"));
}

// Splits at CR LF, LF or CR; a final line break ends the last line.
std::vector<std::string> SplitLines(std::string_view Text) {
  if (Text.starts_with("\xEF\xBB\xBF")) Text.remove_prefix(3);
  std::vector<std::string> Lines;
  size_t P = 0;
  while (P < Text.size()) {
    const size_t E = Text.find_first_of("\r\n", P);
    if (E == std::string_view::npos) {
      Lines.emplace_back(Text.substr(P));
      break;
    }
    Lines.emplace_back(Text.substr(P, E - P));
    P = E + 1;
    if (Text[E] == '\r' && P < Text.size() && Text[P] == '\n') ++P;
  }
  return Lines;
}

// Adds Name unless a name equal but for letter case is there; true when added.
bool AddOnce(std::vector<std::string>& Names, const std::string& Name) {
  for (const std::string& N : Names)
    if (AnsiSameText(N, Name)) return false;
  Names.push_back(Name);
  return true;
}

// Replaces the lines of Strings, as one update.
void FillStrings(TStrings* Strings, const std::vector<std::string>& Lines) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const std::string& L : Lines) Strings->Add(L);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

// ---- The profile file behind TIniFile

// Reads and writes of profile files in this process take turns, so no reader sees a file
// half written by another thread.
std::mutex ProfileLock;

enum TLineKind { lkOther, lkSection, lkKey };

// What a profile line is: a section header (Name = the text inside the brackets), a key line
// (Name and Value = the trimmed texts around the first '='), or anything else.
struct TProfileLine {
  TLineKind Kind = lkOther;
  std::string Name, Value;
};

TProfileLine ParseLine(std::string_view Raw) {
  TProfileLine L;
  const std::string S = Trim(Raw);
  if (S.empty() || S[0] == ';') return L;
  if (S[0] == '[') {
    const size_t Close = S.find(']');
    L.Kind = lkSection;
    L.Name = Trim(std::string_view(S).substr(1, Close == std::string::npos ? std::string::npos : Close - 1));
    return L;
  }
  const size_t Eq = S.find('=');
  if (Eq == std::string::npos) return L;
  L.Kind = lkKey;
  L.Name = Trim(std::string_view(S).substr(0, Eq));
  L.Value = Trim(std::string_view(S).substr(Eq + 1));
  // The profile functions drop one pair of matching quotes around a value.
  if (L.Value.size() >= 2 && (L.Value[0] == '"' || L.Value[0] == '\'') && L.Value.back() == L.Value[0])
    L.Value = L.Value.substr(1, L.Value.size() - 2);
  return L;
}

class TProfile {
 public:
  explicit TProfile(const std::string& FileName) : FName(FileName), FNative(ToNativePath(FileName)) {}

  // False when the file exists but cannot be read; a missing file is an empty profile.
  bool Load() {
    FLines.clear();
    FParsed.clear();
    const int Fd = ::open(FNative.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) return errno == ENOENT || errno == ENOTDIR;
    std::string Text;
    char Buf[65536];
    bool Ok = true;
    for (;;) {
      const ssize_t N = ::read(Fd, Buf, sizeof Buf);
      if (N < 0 && errno == EINTR) continue;
      if (N < 0) Ok = false;
      if (N <= 0) break;
      Text.append(Buf, static_cast<size_t>(N));
    }
    ::close(Fd);
    if (!Ok) return false;
    FLines = SplitLines(Text);
    FParsed.reserve(FLines.size());
    for (const std::string& L : FLines) FParsed.push_back(ParseLine(L));
    return true;
  }

  // Loads for a change; raises when the file is there but cannot be read.
  void LoadForWrite() {
    if (!Load()) WriteError();
  }

  void Save() {
    std::string Text;
    for (const std::string& L : FLines) {
      Text += L;
      Text += "\r\n";
    }
    // Replaced whole: a write that fails part-way leaves the file as it was.
    try {
      TReplacingFileStream Stream(FName);
      Stream.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
      Stream.Commit();
    } catch (const Exception&) {
      WriteError();
    }
  }

  [[noreturn]] void WriteError() const { throw EIniFileException(Format("Unable to write to %s", {FName})); }

  size_t Count() const { return FLines.size(); }
  const TProfileLine& Line(size_t I) const { return FParsed[I]; }

  // Calls Visit(index, line) for every key line inside a section named Section.
  template <class F>
  void ForEachKey(std::string_view Section, F&& Visit) const {
    const std::string Wanted = Trim(Section);
    bool Inside = false;
    for (size_t I = 0; I < FParsed.size(); ++I) {
      const TProfileLine& L = FParsed[I];
      if (L.Kind == lkSection)
        Inside = AnsiSameText(L.Name, Wanted);
      else if (Inside && L.Kind == lkKey && !Visit(I, L))
        return;
    }
  }

  void Replace(size_t I, std::string Line) {
    FParsed[I] = ParseLine(Line);
    FLines[I] = std::move(Line);
  }
  void InsertAt(size_t I, std::string Line) {
    FParsed.insert(FParsed.begin() + static_cast<std::ptrdiff_t>(I), ParseLine(Line));
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(I), std::move(Line));
  }
  void Erase(size_t From, size_t To) {
    FParsed.erase(FParsed.begin() + static_cast<std::ptrdiff_t>(From),
                  FParsed.begin() + static_cast<std::ptrdiff_t>(To));
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(From),
                 FLines.begin() + static_cast<std::ptrdiff_t>(To));
  }
  // The first header of that section, or npos.
  size_t FindSection(std::string_view Section) const {
    const std::string Wanted = Trim(Section);
    for (size_t I = 0; I < FParsed.size(); ++I)
      if (FParsed[I].Kind == lkSection && AnsiSameText(FParsed[I].Name, Wanted)) return I;
    return std::string::npos;
  }
  bool LastLineBlank() const { return FLines.empty() || Trim(FLines.back()).empty(); }
  bool IsBlankOrComment(size_t I) const {
    const std::string S = Trim(FLines[I]);
    return S.empty() || S[0] == ';';
  }

 private:
  std::string FName, FNative;
  std::vector<std::string> FLines;
  std::vector<TProfileLine> FParsed;
};

}  // namespace

// ---- TCustomIniFile

bool TCustomIniFile::SectionExists(std::string_view Section) {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.GetCount() > 0;
}

bool TCustomIniFile::ValueExists(std::string_view Section, std::string_view Ident) {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.IndexOf(Ident) >= 0;
}

Integer TCustomIniFile::ReadInteger(std::string_view Section, std::string_view Ident, Integer Default) {
  return StrToIntDef(ReadString(Section, Ident, ""), Default);
}

void TCustomIniFile::WriteInteger(std::string_view Section, std::string_view Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(std::string_view Section, std::string_view Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view Section, std::string_view Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

Double TCustomIniFile::ReadFloat(std::string_view Section, std::string_view Ident, Double Default) {
  Extended Value;
  return TryStrToFloat(ReadString(Section, Ident, ""), Value) ? static_cast<Double>(Value) : Default;
}

void TCustomIniFile::WriteFloat(std::string_view Section, std::string_view Ident, Double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

TDateTime TCustomIniFile::ReadDate(std::string_view Section, std::string_view Ident, TDateTime Default) {
  TDateTime Value;
  return TryStrToDate(ReadString(Section, Ident, ""), Value) ? Value : Default;
}

TDateTime TCustomIniFile::ReadDateTime(std::string_view Section, std::string_view Ident, TDateTime Default) {
  TDateTime Value;
  return TryStrToDateTime(ReadString(Section, Ident, ""), Value) ? Value : Default;
}

TDateTime TCustomIniFile::ReadTime(std::string_view Section, std::string_view Ident, TDateTime Default) {
  TDateTime Value;
  return TryStrToTime(ReadString(Section, Ident, ""), Value) ? Value : Default;
}

void TCustomIniFile::WriteDate(std::string_view Section, std::string_view Ident, TDateTime Value) {
  WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteDateTime(std::string_view Section, std::string_view Ident, TDateTime Value) {
  WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteTime(std::string_view Section, std::string_view Ident, TDateTime Value) {
  WriteString(Section, Ident, TimeToStr(Value));
}

// ---- TIniFile

std::string TIniFile::ReadString(std::string_view Section, std::string_view Ident, std::string_view Default) {
  std::lock_guard<std::mutex> Guard(ProfileLock);
  TProfile P(FFileName);
  if (!P.Load()) return std::string(Default);
  const std::string Key = Trim(Ident);
  std::string Result(Default);
  P.ForEachKey(Section, [&](size_t, const TProfileLine& L) {
    if (!AnsiSameText(L.Name, Key)) return true;
    Result = L.Value;
    return false;
  });
  return Result;
}

void TIniFile::WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) {
  const std::string Sect = Trim(OneLine(Section)), Key = Trim(OneLine(Ident));
  const std::string_view Val = OneLine(Value);
  std::lock_guard<std::mutex> Guard(ProfileLock);
  TProfile P(FFileName);
  P.LoadForWrite();
  bool Done = false;
  P.ForEachKey(Sect, [&](size_t I, const TProfileLine& L) {
    if (!AnsiSameText(L.Name, Key)) return true;
    P.Replace(I, L.Name + "=" + std::string(Val));
    Done = true;
    return false;
  });
  if (!Done) {
    const size_t Header = P.FindSection(Sect);
    if (Header == std::string::npos) {
      if (!P.LastLineBlank()) P.InsertAt(P.Count(), "");
      P.InsertAt(P.Count(), "[" + Sect + "]");
      P.InsertAt(P.Count(), Key + "=" + std::string(Val));
    } else {
      // After the last entry of the section: blank lines and comments before the next
      // section stay with that one.
      size_t Place = Header + 1;
      for (size_t J = Header + 1; J < P.Count() && P.Line(J).Kind != lkSection; ++J)
        if (!P.IsBlankOrComment(J)) Place = J + 1;
      P.InsertAt(Place, Key + "=" + std::string(Val));
    }
  }
  P.Save();
}

void TIniFile::ReadSection(std::string_view Section, TStrings* Strings) {
  std::vector<std::string> Keys;
  {
    std::lock_guard<std::mutex> Guard(ProfileLock);
    TProfile P(FFileName);
    if (P.Load())
      P.ForEachKey(Section, [&](size_t, const TProfileLine& L) {
        AddOnce(Keys, L.Name);
        return true;
      });
  }
  FillStrings(Strings, Keys);
}

void TIniFile::ReadSections(TStrings* Strings) {
  std::vector<std::string> Names;
  {
    std::lock_guard<std::mutex> Guard(ProfileLock);
    TProfile P(FFileName);
    if (P.Load())
      for (size_t I = 0; I < P.Count(); ++I)
        if (P.Line(I).Kind == lkSection) AddOnce(Names, P.Line(I).Name);
  }
  FillStrings(Strings, Names);
}

void TIniFile::ReadSectionValues(std::string_view Section, TStrings* Strings) {
  std::vector<std::string> Lines;
  {
    std::lock_guard<std::mutex> Guard(ProfileLock);
    TProfile P(FFileName);
    std::vector<std::string> Keys;
    if (P.Load())
      P.ForEachKey(Section, [&](size_t, const TProfileLine& L) {
        if (AddOnce(Keys, L.Name)) Lines.push_back(L.Name + "=" + L.Value);
        return true;
      });
  }
  FillStrings(Strings, Lines);
}

void TIniFile::EraseSection(std::string_view Section) {
  std::lock_guard<std::mutex> Guard(ProfileLock);
  TProfile P(FFileName);
  P.LoadForWrite();
  bool Changed = false;
  for (size_t Header; (Header = P.FindSection(Section)) != std::string::npos;) {
    size_t End = Header + 1;
    while (End < P.Count() && P.Line(End).Kind != lkSection) ++End;
    P.Erase(Header, End);
    Changed = true;
  }
  if (Changed) P.Save();
}

void TIniFile::DeleteKey(std::string_view Section, std::string_view Ident) {
  std::lock_guard<std::mutex> Guard(ProfileLock);
  TProfile P(FFileName);
  if (!P.Load()) return;
  const std::string Key = Trim(Ident);
  std::vector<size_t> Found;
  P.ForEachKey(Section, [&](size_t I, const TProfileLine& L) {
    if (AnsiSameText(L.Name, Key)) Found.push_back(I);
    return true;
  });
  for (auto It = Found.rbegin(); It != Found.rend(); ++It) P.Erase(*It, *It + 1);
  // Like the platform, a key that cannot be deleted is not reported.
  if (!Found.empty()) try {
      P.Save();
    } catch (const EIniFileException&) {
    }
}

// ---- TMemIniFile

struct TMemIniFile::TSection {
  std::string Name;
  std::vector<std::string> Lines;
  // Folded key -> first line of that key; rebuilt after lines move.
  std::unordered_map<std::string, size_t> Keys;
  bool KeysValid = false;
};

namespace {

// The key of a "key=value" line, or nothing for a line without '='.
bool KeyOf(const std::string& Line, std::string_view& Key) {
  const size_t Eq = Line.find('=');
  if (Eq == std::string::npos) return false;
  Key = std::string_view(Line).substr(0, Eq);
  return true;
}

}  // namespace

TMemIniFile::TMemIniFile(std::string_view FileName) : TCustomIniFile(FileName) {
  LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

std::string TMemIniFile::Fold(std::string_view S) const {
  return FCaseSensitive ? std::string(S) : AnsiUpperCase(S);
}

void TMemIniFile::IndexSections() {
  FSectionIndex.clear();
  for (size_t I = 0; I < FSections.size(); ++I) {
    FSectionIndex.emplace(Fold(FSections[I]->Name), I);
    FSections[I]->KeysValid = false;
  }
}

TMemIniFile::TSection* TMemIniFile::FindSection(std::string_view Section) {
  const auto It = FSectionIndex.find(Fold(Section));
  return It == FSectionIndex.end() ? nullptr : FSections[It->second].get();
}

TMemIniFile::TSection* TMemIniFile::AddSection(std::string_view Section) {
  if (TSection* S = FindSection(Section)) return S;
  auto S = std::make_unique<TSection>();
  S->Name = Section;
  FSectionIndex.emplace(Fold(Section), FSections.size());
  FSections.push_back(std::move(S));
  return FSections.back().get();
}

namespace {

// The line of Key in Section, or npos.
template <class TSectionT, class FoldF>
size_t FindKey(TSectionT& Section, std::string_view Key, FoldF&& Fold) {
  if (!Section.KeysValid) {
    Section.Keys.clear();
    std::string_view K;
    for (size_t I = 0; I < Section.Lines.size(); ++I)
      if (KeyOf(Section.Lines[I], K)) Section.Keys.emplace(Fold(K), I);
    Section.KeysValid = true;
  }
  const auto It = Section.Keys.find(Fold(Key));
  return It == Section.Keys.end() ? std::string::npos : It->second;
}

}  // namespace

std::string TMemIniFile::ReadString(std::string_view Section, std::string_view Ident,
                                    std::string_view Default) {
  TSection* S = FindSection(Section);
  if (!S) return std::string(Default);
  const size_t I = FindKey(*S, Ident, [this](std::string_view K) { return Fold(K); });
  if (I == std::string::npos) return std::string(Default);
  const std::string& Line = S->Lines[I];
  return Line.substr(Line.find('=') + 1);
}

void TMemIniFile::WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) {
  TSection* S = AddSection(OneLine(Section));
  const std::string_view Key = OneLine(Ident);
  std::string Line = std::string(Key) + "=" + std::string(OneLine(Value));
  const size_t I = FindKey(*S, Key, [this](std::string_view K) { return Fold(K); });
  if (I != std::string::npos) {
    S->Lines[I] = std::move(Line);
    S->KeysValid = false;  // the key may be spelt differently now
  } else {
    S->Lines.push_back(std::move(Line));
    S->Keys.emplace(Fold(Key), S->Lines.size() - 1);
  }
}

void TMemIniFile::ReadSection(std::string_view Section, TStrings* Strings) {
  std::vector<std::string> Keys;
  if (TSection* S = FindSection(Section)) {
    std::string_view K;
    for (const std::string& Line : S->Lines)
      if (KeyOf(Line, K)) Keys.emplace_back(K);
  }
  FillStrings(Strings, Keys);
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  std::vector<std::string> Names;
  for (const auto& S : FSections) Names.push_back(S->Name);
  FillStrings(Strings, Names);
}

void TMemIniFile::ReadSectionValues(std::string_view Section, TStrings* Strings) {
  TSection* S = FindSection(Section);
  FillStrings(Strings, S ? S->Lines : std::vector<std::string>());
}

void TMemIniFile::EraseSection(std::string_view Section) {
  const auto It = FSectionIndex.find(Fold(Section));
  if (It == FSectionIndex.end()) return;
  FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(It->second));
  IndexSections();
}

void TMemIniFile::DeleteKey(std::string_view Section, std::string_view Ident) {
  TSection* S = FindSection(Section);
  if (!S) return;
  const std::string Key = Fold(Ident);
  std::string_view K;
  std::erase_if(S->Lines, [&](const std::string& Line) { return KeyOf(Line, K) && Fold(K) == Key; });
  S->KeysValid = false;
}

void TMemIniFile::UpdateFile() {
  if (FFileName.empty()) return;
  TStringList List;
  GetStrings(&List);
  List.SaveToFile(FFileName);
}

void TMemIniFile::Clear() {
  FSections.clear();
  FSectionIndex.clear();
}

void TMemIniFile::GetStrings(TStrings* List) {
  std::vector<std::string> Lines;
  for (const auto& S : FSections) {
    Lines.push_back("[" + S->Name + "]");
    Lines.insert(Lines.end(), S->Lines.begin(), S->Lines.end());
    Lines.emplace_back();
  }
  FillStrings(List, Lines);
}

void TMemIniFile::SetStrings(TStrings* List) {
  Clear();
  TSection* Current = nullptr;
  const Integer Count = List->GetCount();
  for (Integer I = 0; I < Count; ++I) {
    std::string S = Trim(List->GetStrings(I));
    if (S.empty() || S[0] == ';') continue;
    if (S[0] == '[' && S.back() == ']') {
      Current = AddSection(Trim(std::string_view(S).substr(1, S.size() - 2)));
    } else if (Current) {
      const size_t Eq = S.find('=');
      if (Eq != std::string::npos)
        S = Trim(std::string_view(S).substr(0, Eq)) + "=" + Trim(std::string_view(S).substr(Eq + 1));
      Current->Lines.push_back(std::move(S));
      Current->KeysValid = false;
    }
  }
}

void TMemIniFile::LoadValues() {
  struct stat St;
  if (FFileName.empty() || ::stat(ToNativePath(FFileName).c_str(), &St) != 0) {
    Clear();
    return;
  }
  TStringList List;
  List.LoadFromFile(FFileName);
  SetStrings(&List);
}

void TMemIniFile::Rename(std::string_view FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues();
}

void TMemIniFile::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  IndexSections();
}
