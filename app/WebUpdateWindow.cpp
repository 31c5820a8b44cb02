#include "app/WebUpdateWindow.h"

#include "app/Languages.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/SkinForm.h"

TForm* UpdateWindow = nullptr;
TbsSkinGroupBox* UpdateGroupBox = nullptr;
TbsSkinStdLabel* UpdateHeading = nullptr;
std::array<TbsSkinStdLabel*, 4> UpdateInfoCaptions{};
std::array<TbsSkinStdLabel*, 4> UpdateInfoValues{};
TbsSkinStdLabel* UpdateStatus1 = nullptr;
TbsSkinStdLabel* UpdateStatus2 = nullptr;
TbsSkinGauge* UpdateGauge = nullptr;
TbsSkinButton* UpdateDownloadButton = nullptr;
TbsSkinButton* UpdateCancelButton = nullptr;

namespace {

constexpr TColor HeadingColor = static_cast<TColor>(0x454545);
constexpr Integer InfoTops[4] = {24, 40, 78, 94};

TUpdateCallback Callback;
TForm1* CallbackForm = nullptr;

void ForgetWindow() {
  UpdateWindow = nullptr;
  UpdateGroupBox = nullptr;
  UpdateHeading = UpdateStatus1 = UpdateStatus2 = nullptr;
  UpdateInfoCaptions.fill(nullptr);
  UpdateInfoValues.fill(nullptr);
  UpdateGauge = nullptr;
  UpdateDownloadButton = UpdateCancelButton = nullptr;
}

// The window's own controls: it forgets the unit's references when the window goes, and its
// buttons' handlers live here.
class TUpdateForm : public TForm {
 public:
  using TForm::TForm;
  ~TUpdateForm() override {
    if (UpdateWindow == this) ForgetWindow();
  }
  void DownloadClick(TObject*) {
    if (Callback) Callback(CallbackForm);
  }
  void CancelClick(TObject*) { Hide(); }
};

TbsSkinStdLabel* MakeLabel(TForm* Form, TWinControl* Parent, TbsSkinData* SkinData, Integer Left,
                           Integer Top) {
  auto* Label = new TbsSkinStdLabel(Form);
  Label->SetParent(Parent);
  Label->SetSkinData(SkinData);
  Label->SetAutoSize(true);
  Label->SetLeft(Left);
  Label->SetTop(Top);
  return Label;
}

void MakeHeadingFont(TbsSkinStdLabel* Label, const char* FaceName) {
  TFont* Font = Label->GetFont();
  if (FaceName) Font->SetName(FaceName);
  Font->SetSize(10);
  Font->SetStyle({fsBold});
  Font->SetColor(HeadingColor);
}

TbsSkinButton* MakeButton(TForm* Form, TbsSkinData* SkinData, Integer Left, const std::string& Caption,
                          TNotifyEvent Click) {
  auto* Button = new TbsSkinButton(Form);
  Button->SetParent(Form);
  Button->SetSkinData(SkinData);
  Button->SetBounds(Left, 212, 90, 25);
  Button->SetCaption(Caption);
  Button->SetCursor(crHandPoint);
  Button->OnClick = Click;
  return Button;
}

}  // namespace

void ShowUpdateWindow(const std::string& Caption, TbsSkinData* SkinData) {
  // Owned by the application so that every window built is freed at the end.
  auto* Form = new TUpdateForm(Application);
  Form->SetCaption(Caption);
  Form->SetFormStyle(fsStayOnTop);
  Form->SetPosition(poScreenCenter);
  Form->SetClientWidth(360);
  Form->SetClientHeight(290);
  auto* Skin = new TbsSkinForm(Form);
  Skin->SetBorderIcons({});
  Skin->SetSkinData(SkinData);

  auto* Box = new TbsSkinGroupBox(Form);
  Box->SetParent(Form);
  Box->SetSkinData(SkinData);
  Box->SetBounds(8, 8, 333, 195);

  TbsSkinStdLabel* Heading = MakeLabel(Form, Box, SkinData, 11, 2);
  MakeHeadingFont(Heading, "Tahoma");
  Heading->SetCaption(" " + UpdateCaptions[17] + " ");
  std::array<TbsSkinStdLabel*, 4> Captions{};
  for (std::size_t I = 0; I < 4; ++I) {
    Captions[I] = MakeLabel(Form, Box, SkinData, 15, InfoTops[I]);
    Captions[I]->SetCaption(UpdateCaptions[10 + I] + ":");
  }
  TbsSkinStdLabel* Status1 = MakeLabel(Form, Box, SkinData, 15, 124);
  MakeHeadingFont(Status1, nullptr);
  TbsSkinStdLabel* Status2 = MakeLabel(Form, Box, SkinData, 15, 144);
  std::array<TbsSkinStdLabel*, 4> Values{};
  for (std::size_t I = 0; I < 4; ++I) Values[I] = MakeLabel(Form, Box, SkinData, 180, InfoTops[I]);

  auto* Gauge = new TbsSkinGauge(Form);
  Gauge->SetParent(Box);
  Gauge->SetSkinData(SkinData);
  Gauge->SetBounds(8, 165, 316, 16);
  Gauge->SetMaxValue(100);
  Gauge->SetValue(0);

  TbsSkinButton* Download =
      MakeButton(Form, SkinData, 83, UpdateCaptions[15], TNotifyEvent(Form, &TUpdateForm::DownloadClick));
  TbsSkinButton* Cancel =
      MakeButton(Form, SkinData, 183, UpdateCaptions[16], TNotifyEvent(Form, &TUpdateForm::CancelClick));

  UpdateWindow = Form;
  UpdateGroupBox = Box;
  UpdateHeading = Heading;
  UpdateInfoCaptions = Captions;
  UpdateInfoValues = Values;
  UpdateStatus1 = Status1;
  UpdateStatus2 = Status2;
  UpdateGauge = Gauge;
  UpdateDownloadButton = Download;
  UpdateCancelButton = Cancel;
  Form->Show();
}

void SetUpdateStatus(const std::string& Line1, const std::string& Line2) {
  if (!UpdateWindow) return;
  UpdateStatus1->SetCaption(Line1);
  UpdateStatus2->SetCaption(Line2);
}

void SetUpdateInfo(const std::string& Product, const std::string& FileName,
                   const std::string& InstalledVersion, const std::string& OfferedVersion) {
  if (!UpdateWindow) return;
  const std::string* Texts[4] = {&Product, &FileName, &InstalledVersion, &OfferedVersion};
  for (std::size_t I = 0; I < 4; ++I) UpdateInfoValues[I]->SetCaption(*Texts[I]);
}

void SetUpdateCallback(TUpdateCallback NewCallback, TForm1* Form) {
  Callback = std::move(NewCallback);
  CallbackForm = Form;
}
