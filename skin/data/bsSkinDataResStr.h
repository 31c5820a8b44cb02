#pragma once
// The user-interface texts of the skin library as "KEY=text" lines, so that an application can
// translate them in one place. Callers whose skin data has no such component use their own
// built-in texts.
#include <memory>
#include <string>

#include "platform/system/Component.h"
#include "platform/system/StringList.h"

class TbsResourceStrData : public TComponent {
 public:
  explicit TbsResourceStrData(TComponent* AOwner);
  ~TbsResourceStrData() override;

  TStrings* GetResStrings() const { return FResStrings.get(); }
  // Copies the lines.
  void SetResStrings(TStrings* Value) { FResStrings->Assign(Value); }
  Byte GetCharSet() const { return FCharSet; }
  void SetCharSet(Byte Value) { FCharSet = Value; }

  // The text after the first "=" of the first line whose key matches without regard to
  // letter case; empty when none does.
  std::string LookupResString(const std::string& Key) const;

 private:
  std::unique_ptr<TStringList> FResStrings;
  Byte FCharSet = 1;
};
