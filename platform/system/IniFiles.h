#pragma once
// INI files: sections in brackets, "key=value" lines, ';' comment lines.
//
// TIniFile works as the platform's profile functions do: every read looks at the file as it
// is now and every write goes to the file at once, so two objects on one file always agree.
// Sections and keys are found without regard to letter case, keys and values are read
// trimmed (a value wrapped in matching quotes loses them), the first '=' splits, lines
// before the first section are ignored, and a missing file or key reads as the default.
//
// TMemIniFile reads the whole file once, works in memory and writes it back on UpdateFile.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/StringList.h"
#include "platform/system/Types.h"

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(std::string_view FileName) : FFileName(FileName) {}
  const std::string& GetFileName() const { return FFileName; }

  // True when the section holds at least one key.
  virtual bool SectionExists(std::string_view Section);
  virtual std::string ReadString(std::string_view Section, std::string_view Ident,
                                 std::string_view Default) = 0;
  virtual void WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) = 0;
  // Decimal or hexadecimal ("$" or "0x"); the default when the text is no integer.
  Integer ReadInteger(std::string_view Section, std::string_view Ident, Integer Default);
  void WriteInteger(std::string_view Section, std::string_view Ident, Integer Value);
  // An integer: 0 is false, any other number true; the default when the text is no integer.
  bool ReadBool(std::string_view Section, std::string_view Ident, bool Default);
  // Writes "1" or "0".
  void WriteBool(std::string_view Section, std::string_view Ident, bool Value);
  // '.' is the decimal separator; the default when the text is no number.
  Double ReadFloat(std::string_view Section, std::string_view Ident, Double Default);
  void WriteFloat(std::string_view Section, std::string_view Ident, Double Value);
  // Dates and times in the platform's short formats; the default when the text is none.
  TDateTime ReadDate(std::string_view Section, std::string_view Ident, TDateTime Default);
  TDateTime ReadDateTime(std::string_view Section, std::string_view Ident, TDateTime Default);
  TDateTime ReadTime(std::string_view Section, std::string_view Ident, TDateTime Default);
  void WriteDate(std::string_view Section, std::string_view Ident, TDateTime Value);
  void WriteDateTime(std::string_view Section, std::string_view Ident, TDateTime Value);
  void WriteTime(std::string_view Section, std::string_view Ident, TDateTime Value);

  // Each list is emptied first. ReadSection gives the keys, ReadSections the section names
  // (each once), ReadSectionValues the "key=value" lines.
  virtual void ReadSection(std::string_view Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(std::string_view Section, TStrings* Strings) = 0;
  virtual void EraseSection(std::string_view Section) = 0;
  virtual void DeleteKey(std::string_view Section, std::string_view Ident) = 0;
  virtual void UpdateFile() = 0;
  bool ValueExists(std::string_view Section, std::string_view Ident);

 protected:
  std::string FFileName;
};

// The file is created by the first write; a write that cannot reach the file raises
// EIniFileException "Unable to write to <file name>". Line breaks in a written name or value
// end it, so a value can never add lines of its own to the file.
class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(std::string_view FileName) : TCustomIniFile(FileName) {}
  std::string ReadString(std::string_view Section, std::string_view Ident, std::string_view Default) override;
  void WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) override;
  void ReadSection(std::string_view Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(std::string_view Section, TStrings* Strings) override;
  void EraseSection(std::string_view Section) override;
  void DeleteKey(std::string_view Section, std::string_view Ident) override;
  // Writes already reached the file: nothing to do.
  void UpdateFile() override {}
};

// Lines are trimmed; empty lines, comments and lines before the first section are dropped;
// a repeated section adds to the first of its name. Values read back as written.
class TMemIniFile : public TCustomIniFile {
 public:
  // Loads the file when it exists; an empty name gives an empty INI that UpdateFile keeps.
  explicit TMemIniFile(std::string_view FileName);
  ~TMemIniFile() override;
  std::string ReadString(std::string_view Section, std::string_view Ident, std::string_view Default) override;
  void WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) override;
  void ReadSection(std::string_view Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(std::string_view Section, TStrings* Strings) override;
  void EraseSection(std::string_view Section) override;
  void DeleteKey(std::string_view Section, std::string_view Ident) override;
  // Writes every section as "[name]", its lines and an empty line (CR LF line ends).
  void UpdateFile() override;

  void Clear();
  // The INI as the lines UpdateFile would write, and the INI made from such lines.
  void GetStrings(TStrings* List);
  void SetStrings(TStrings* List);
  // Another file name; Reload reads that file (an INI without sections when it is missing).
  void Rename(std::string_view FileName, bool Reload);
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

 private:
  struct TSection;
  std::string Fold(std::string_view S) const;
  TSection* FindSection(std::string_view Section);
  TSection* AddSection(std::string_view Section);
  void IndexSections();
  void LoadValues();
  // Sections in file order; the index maps a folded name to its place (lookups stay fast
  // for large texts such as skins).
  std::vector<std::unique_ptr<TSection>> FSections;
  std::unordered_map<std::string, size_t> FSectionIndex;
  bool FCaseSensitive = false;
};
