// The settings file and the menu "Extra": languages, skins and the update interval.
#include <string_view>

#include "app/Languages.h"
#include "app/Main.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/Menus.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"
#include "raster/RS32_Image.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataProgramSkins.h"

Byte CodecIndex = 0;
Integer UpdateDays = 0;
std::string LastUpdateDate;
std::vector<std::string> LanguageNames;
Integer CurrentLanguage = 0;

namespace {
constexpr const char* SkinCaptions[8] = {"Bionix", "Gamestyle",   "iMetal dark", "IPX",
                                         "Optima", "Fine vector", "VisionEx",    "Cooller"};
constexpr const char* SkinItemNames[8] = {"Bionix1", "Gamestyle1",  "iMetaldark1", "IPX1",
                                          "Optima1", "Finevector1", "VisionEx1",   "Cooller1"};
constexpr Integer DefaultSkin = 2;
constexpr Integer IntervalDays[3] = {0, 7, 30};
constexpr const char* FirstUpdateDate = "01-01-2011";
// The settings name their languages one key each; a count beyond this is no real list.
constexpr Integer MaxLanguages = 1000;

constexpr const char* OwnLanguageText =
    "Hi.\r\n\r\nWould you like to have Tilvarok in your own language?\r\n"
    "Tilvarok is already multi-lingual: currently English, German and Dutch are available.\r\n"
    "We are looking for people who can support us to translate the interface.\r\n"
    "In the subfolder \"Languages\" you find the translation files. Just have a look.\r\n\r\n"
    "If you are available to support us, please let us know.\r\n\r\nThank you !";

}  // namespace

void WriteSetting(TForm1* Form, std::string_view Section, std::string_view Key, std::string_view Value,
                  bool Warn) {
  if (!SettingsFile) return;
  try {
    SettingsFile->WriteString(Section, Key, Value);
  } catch (const EIniFileException& E) {
    if (Warn) Form->ShowWarning(E.GetMessage());
  }
}

namespace {

// The program's skins fill the skin data's list once. The index is set before the list is
// attached, so attaching it loads the chosen skin and no other.
void AttachProgramSkins(TForm1* Form, Integer Index) {
  TbsSkinData* Data = Form->bsSkinData1;
  Data->SetSkinIndex(Index);
  if (Data->GetSkinList() != nullptr) return;
  auto* List = new TbsCompressedSkinList(Form);
  List->SetName("bsCompressedSkinList1");
  AddProgramSkins(List);
  Data->SetSkinList(List);
}

// The result and source views take the skin's button face; without a loaded skin the skinned
// controls draw in the system colours, and so do the views.
void ApplySkinColors(TForm1* Form) {
  TbsSkinData* Data = Form->bsSkinData1;
  const TColor Face = Data->Empty ? clBtnFace : Data->SkinColors->CBtnFace;
  Form->Image1->SetColor(Face);
  Form->Image2->SetColor(Face);
}

// The item's place among its siblings (-1 for no item).
Integer ItemIndex(TObject* Sender) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  return Item != nullptr ? Item->GetMenuIndex() : -1;
}
}  // namespace

void TForm1::CreateExtraMenu() {
  // The items the interface texts caption get their captions with the others' (ApplyInterfaceTexts).
  auto Item = [&](TMenuItem* Parent, const char* Name, const std::string& Caption = {}) {
    auto* M = new TMenuItem(this);
    M->SetName(Name);
    M->SetCaption(Caption);
    if (Parent != nullptr) Parent->Add(M);
    return M;
  };
  Extra1 = Item(nullptr, "Extra1");
  // The language items go before the line, as ReadSettings finds them.
  Language1 = Item(Extra1, "Language1");
  Item(Language1, "N1", "-");
  Otherlanguages1 = Item(Language1, "Otherlanguages1", "Other languages?");
  Otherlanguages1->OnClick = TNotifyEvent(this, &TForm1::MakeOwnLanguage);

  Skin1 = Item(Extra1, "Skin1");
  for (Integer K = 0; K < 8; ++K) {
    SkinItems[K] = Item(Skin1, SkinItemNames[K], SkinCaptions[K]);
    SkinItems[K]->SetRadioItem(true);
    SkinItems[K]->OnClick = TNotifyEvent(this, &TForm1::SelectSkin);
  }

  Update1 = Item(Extra1, "Update1");
  Off1 = Item(Update1, "Off1");
  Weekly1 = Item(Update1, "Weekly1");
  Monthly1 = Item(Update1, "Monthly1");
  for (TMenuItem* M : {Off1, Weekly1, Monthly1}) {
    M->SetRadioItem(true);
    M->OnClick = TNotifyEvent(this, &TForm1::SetUpdateFreq);
  }
  Item(Update1, "N2", "-");
  Updatenow1 = Item(Update1, "Updatenow1");
  MainMenu1->GetItems()->Add(Extra1);
}

void TForm1::ReadSettings() {
  GlassFXFileName = SettingsFile->ReadString("Directories", "GlassFX File", "");
  const Integer Codec = SettingsFile->ReadInteger("Settings", "Codec", 0);
  CodecIndex = static_cast<Byte>(Codec >= 0 && Codec <= 255 ? Codec : 0);

  Integer Interval = SettingsFile->ReadInteger("Settings", "UpdateInterval", 0);
  if (Interval < 0 || Interval > 2) Interval = 0;
  (Interval == 0 ? Off1 : Interval == 1 ? Weekly1 : Monthly1)->SetChecked(true);
  LastUpdateDate = SettingsFile->ReadString("Settings", "Updated", "");
  if (LastUpdateDate.empty()) {
    LastUpdateDate = FirstUpdateDate;
    WriteSetting(this, "Settings", "Updated", LastUpdateDate, false);
  }
  UpdateDays = IntervalDays[Interval];

  Integer Skin = SettingsFile->ReadInteger("Settings", "Skin", DefaultSkin);
  if (Skin < 0 || Skin > 7) Skin = DefaultSkin;
  SkinItems[Skin]->SetChecked(true);
  AttachProgramSkins(this, Skin);
  ApplySkinColors(this);

  const Integer Count =
      EnsureRange(SettingsFile->ReadInteger("Languages", "Number of languages", 0), 0, MaxLanguages);
  CurrentLanguage = SettingsFile->ReadInteger("Languages", "Current language", 0);
  LanguageNames.clear();
  for (Integer I = 1; I <= Count; ++I) {
    LanguageNames.push_back(SettingsFile->ReadString("Languages", IntToStr(I), ""));
    auto* M = new TMenuItem(this);
    M->SetCaption(Format("%d.  %s", {I, LanguageNames.back()}));
    M->SetRadioItem(true);
    M->OnClick = TNotifyEvent(this, &TForm1::SelectLanguage);
    Language1->Insert(I - 1, M);
    LanguageItems.push_back(M);
  }
  // A language outside the list leaves the English texts in force.
  if (CurrentLanguage < 1 || CurrentLanguage > Count) {
    CurrentLanguage = 0;
  } else {
    LanguageItems[CurrentLanguage - 1]->SetChecked(true);
    LoadLanguageFile(LanguagesDir + "/" + LanguageNames[CurrentLanguage - 1] + ".lan");
  }
  Invalidate();
}

void TForm1::SelectSkin(TObject* Sender) {
  const Integer Index = ItemIndex(Sender);
  if (Index < 0 || Index > 7) return;
  bsSkinData1->SetSkinIndex(Index);
  ApplySkinColors(this);
  WriteSetting(this, "Settings", "Skin", IntToStr(Index), true);
  SkinItems[Index]->SetChecked(true);
}

void TForm1::SetUpdateFreq(TObject* Sender) {
  const Integer Index = ItemIndex(Sender);
  if (Index < 0 || Index > 2) return;
  for (TMenuItem* M : {Off1, Weekly1, Monthly1}) M->SetChecked(false);
  static_cast<TMenuItem*>(Sender)->SetChecked(true);
  UpdateDays = IntervalDays[Index];
  WriteSetting(this, "Settings", "UpdateInterval", IntToStr(Index), true);
}

void TForm1::SelectLanguage(TObject* Sender) {
  const Integer Index = ItemIndex(Sender) + 1;
  if (Index < 1 || Index > static_cast<Integer>(LanguageNames.size())) return;
  const std::string FileName = LanguagesDir + "/" + LanguageNames[Index - 1] + ".lan";
  if (FileExists(FileName)) {
    CurrentLanguage = Index;
    LoadLanguageFile(FileName);
    LanguageItems[Index - 1]->SetChecked(true);
  } else {
    MessageDlg(LanguageNotFoundText, mtWarning, TMsgDlgButtons{mbOK}, 0);
    CurrentLanguage = 1;
  }
  WriteSetting(this, "Languages", "Current language", IntToStr(CurrentLanguage), true);
}

void TForm1::MakeOwnLanguage(TObject*) {
  MessageDlg(OwnLanguageText, mtInformation, TMsgDlgButtons{mbOK}, 0);
}
