// TFontDialog: the font dialog, a form built in code.
#include <algorithm>
#include <cstdlib>

#include "platform/classes/Application.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/Screen.h"
#include "platform/classes/StdCtrls.h"
#include "platform/system/Format.h"
#include "platform/system/Strings.h"

namespace {

struct TNamedColor {
  TColor Color;
  const char* Name;
};

const TNamedColor StandardColors[] = {
    {clBlack, "Black"},   {clMaroon, "Maroon"},   {clGreen, "Green"}, {clOlive, "Olive"},
    {clNavy, "Navy"},     {clPurple, "Purple"},   {clTeal, "Teal"},   {clGray, "Gray"},
    {clSilver, "Silver"}, {clRed, "Red"},         {clLime, "Lime"},   {clYellow, "Yellow"},
    {clBlue, "Blue"},     {clFuchsia, "Fuchsia"}, {clAqua, "Aqua"},   {clWhite, "White"}};

const char* const StyleNames[] = {"Regular", "Italic", "Bold", "Bold Italic"};
const Integer ListSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// The dialog's form. Its controls are named FaceEdit, FaceList, StyleEdit, StyleList,
// SizeEdit, SizeList, Effects, StrikeOut, Underline, ColorCombo, SampleBox, Sample, OkButton
// and CancelButton.
class TFontDialogForm : public TForm {
 public:
  TFontDialogForm(TComponent* AOwner, TFontDialog* Dialog) : TForm(AOwner), FDialog(Dialog) {
    SetCaption("Font");
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetPosition(poScreenCenter);
    SetFont(MessageFont());
    const TFontDialogOptions Options = Dialog->GetOptions();
    const bool Effects = Options.Contains(fdEffects);
    SetClientWidth(438);
    SetClientHeight(Effects ? 262 : 200);

    NewLabel("FaceLabel", "&Font:", 8, 8);
    FaceEdit = New<TEdit>("FaceEdit", Bounds(8, 24, 160, 21));
    FaceList = New<TListBox>("FaceList", Bounds(8, 45, 160, 105));
    FaceList->SetSorted(true);
    FaceList->GetItems()->Assign(Screen->GetFonts());
    NewLabel("StyleLabel", "Font st&yle:", 176, 8);
    StyleEdit = New<TEdit>("StyleEdit", Bounds(176, 24, 110, 21));
    StyleEdit->SetReadOnly(true);
    StyleList = New<TListBox>("StyleList", Bounds(176, 45, 110, 105));
    for (const char* S : StyleNames) StyleList->GetItems()->Add(S);
    NewLabel("SizeLabel", "&Size:", 294, 8);
    SizeEdit = New<TEdit>("SizeEdit", Bounds(294, 24, 56, 21));
    SizeList = New<TListBox>("SizeList", Bounds(294, 45, 56, 105));
    for (Integer Size : ListSizes)
      if (SizeAllowed(Size)) SizeList->GetItems()->Add(std::to_string(Size));
    auto* Ok = New<TButton>("OkButton", Bounds(358, 24, 72, 25));
    Ok->SetCaption("OK");
    Ok->SetDefault(true);
    Ok->OnClick = TNotifyEvent(this, &TFontDialogForm::OkClick);
    auto* Cancel = New<TButton>("CancelButton", Bounds(358, 56, 72, 25));
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);

    const Integer SampleTop = 158;
    if (Effects) {
      auto* Group = New<TGroupBox>("Effects", Bounds(8, 158, 160, 96));
      Group->SetCaption("Effects");
      StrikeOut = New<TCheckBox>("StrikeOut", Bounds(10, 18, 140, 17), Group);
      StrikeOut->SetCaption("Stri&keout");
      Underline = New<TCheckBox>("Underline", Bounds(10, 38, 140, 17), Group);
      Underline->SetCaption("&Underline");
      auto* ColorLabel = new TLabel(this);
      ColorLabel->SetName("ColorLabel");
      ColorLabel->SetParent(Group);
      ColorLabel->SetCaption("&Color:");
      ColorLabel->SetBounds(10, 58, 40, 15);
      ColorCombo = New<TComboBox>("ColorCombo", Bounds(10, 72, 140, 21), Group);
      ColorCombo->SetStyle(csOwnerDrawFixed);
      for (const TNamedColor& C : StandardColors) ColorCombo->GetItems()->Add(C.Name);
      ColorCombo->OnDrawItem = TDrawItemEvent(this, &TFontDialogForm::DrawColor);
      StrikeOut->OnClick = TNotifyEvent(this, &TFontDialogForm::ChoiceChanged);
      Underline->OnClick = TNotifyEvent(this, &TFontDialogForm::ChoiceChanged);
      ColorCombo->OnChange = TNotifyEvent(this, &TFontDialogForm::ChoiceChanged);
    }
    auto* SampleBox = New<TGroupBox>("SampleBox", Bounds(176, SampleTop, 174, Effects ? 96 : 34));
    SampleBox->SetCaption("Sample");
    Sample = new TLabel(this);
    Sample->SetName("Sample");
    Sample->SetParent(SampleBox);
    Sample->SetAutoSize(false);
    Sample->SetCaption("AaBbYyZz");
    Sample->SetAlignment(taCenter);
    Sample->SetLayout(tlCenter);
    Sample->SetBounds(8, 16, 158, SampleBox->GetHeight() - 24);

    FaceList->OnClick = TNotifyEvent(this, &TFontDialogForm::FaceClick);
    FaceEdit->OnChange = TNotifyEvent(this, &TFontDialogForm::FaceTyped);
    StyleList->OnClick = TNotifyEvent(this, &TFontDialogForm::StyleClick);
    SizeList->OnClick = TNotifyEvent(this, &TFontDialogForm::SizeClick);
    SizeEdit->OnChange = TNotifyEvent(this, &TFontDialogForm::ChoiceChanged);
    LoadFont(Dialog->GetFont());
  }

  // The chosen font into Font (Execute calls it after OK).
  void StoreFont(TFont* Font) {
    Font->SetName(FaceEdit->GetText());
    Font->SetSize(std::atoi(SizeEdit->GetText().c_str()));
    TFontStyles Style;
    const Integer StyleIndex = std::max(0, StyleList->GetItemIndex());
    if (StyleIndex & 1) Style.Include(fsItalic);
    if (StyleIndex & 2) Style.Include(fsBold);
    if (StrikeOut != nullptr) {
      if (StrikeOut->GetChecked()) Style.Include(fsStrikeOut);
      if (Underline->GetChecked()) Style.Include(fsUnderline);
      if (ColorCombo->GetItemIndex() >= 0) Font->SetColor(StandardColors[ColorCombo->GetItemIndex()].Color);
    } else {
      // Without the effects the font keeps its own.
      Style += Font->GetStyle() * TFontStyles{fsStrikeOut, fsUnderline};
    }
    Font->SetStyle(Style);
  }

 private:
  template <class T>
  T* New(const std::string& Name, TRect R, TWinControl* Parent = nullptr) {
    auto* C = new T(this);
    C->SetName(Name);
    C->SetParent(Parent != nullptr ? Parent : this);
    C->SetBoundsRect(R);
    if constexpr (std::is_base_of_v<TCustomEdit, T>) C->SetText("");
    return C;
  }
  void NewLabel(const std::string& Name, const std::string& Caption, Integer X, Integer Y) {
    auto* L = new TLabel(this);
    L->SetName(Name);
    L->SetParent(this);
    L->SetCaption(Caption);
    L->SetLeft(X);
    L->SetTop(Y);
  }
  bool SizeAllowed(Integer Size) const {
    if (!FDialog->GetOptions().Contains(fdLimitSize)) return true;
    return (FDialog->GetMinFontSize() <= 0 || Size >= FDialog->GetMinFontSize()) &&
           (FDialog->GetMaxFontSize() <= 0 || Size <= FDialog->GetMaxFontSize());
  }

  void LoadFont(TFont* Font) {
    FLoading = true;
    FaceEdit->SetText(Font->GetName());
    const Integer Face = FaceList->GetItems()->IndexOf(Font->GetName());
    FaceList->SetItemIndex(Face);
    if (Face >= 0) FaceList->SetTopIndex(Face);
    const TFontStyles Style = Font->GetStyle();
    const Integer StyleIndex = (Style.Contains(fsItalic) ? 1 : 0) + (Style.Contains(fsBold) ? 2 : 0);
    StyleList->SetItemIndex(StyleIndex);
    StyleEdit->SetText(StyleNames[StyleIndex]);
    const std::string Size = std::to_string(Font->GetSize());
    SizeEdit->SetText(Size);
    SizeList->SetItemIndex(SizeList->GetItems()->IndexOf(Size));
    if (StrikeOut != nullptr) {
      StrikeOut->SetChecked(Style.Contains(fsStrikeOut));
      Underline->SetChecked(Style.Contains(fsUnderline));
      Integer Color = -1;
      for (Integer I = 0; I < 16; ++I)
        if (ColorToRGB(StandardColors[I].Color) == ColorToRGB(Font->GetColor())) Color = I;
      ColorCombo->SetItemIndex(Color);
    }
    FLoading = false;
    UpdateSample();
  }

  void UpdateSample() {
    if (FLoading) return;
    TFont Font;
    Font.Assign(FDialog->GetFont());
    StoreFont(&Font);
    if (Font.GetSize() <= 0) Font.SetSize(FDialog->GetFont()->GetSize());
    Sample->SetFont(&Font);
  }

  void FaceClick(TObject*) {
    const Integer I = FaceList->GetItemIndex();
    if (I >= 0) FaceEdit->SetText(FaceList->GetItems()->GetStrings(I));
    UpdateSample();
  }
  void FaceTyped(TObject*) {
    // The list follows what is typed (the first family starting with it).
    const std::string Typed = FaceEdit->GetText();
    if (!Typed.empty()) {
      TStrings* Items = FaceList->GetItems();
      for (Integer I = 0; I < Items->GetCount(); ++I)
        if (AnsiCompareText(Items->GetStrings(I).substr(0, Typed.size()), Typed) == 0) {
          FaceList->SetItemIndex(I);
          break;
        }
    }
    UpdateSample();
  }
  void StyleClick(TObject*) {
    const Integer I = StyleList->GetItemIndex();
    if (I >= 0) StyleEdit->SetText(StyleNames[I]);
    UpdateSample();
  }
  void SizeClick(TObject*) {
    const Integer I = SizeList->GetItemIndex();
    if (I >= 0) SizeEdit->SetText(SizeList->GetItems()->GetStrings(I));
    UpdateSample();
  }
  void ChoiceChanged(TObject*) { UpdateSample(); }

  void DrawColor(TWinControl*, Integer Index, TRect Rect, TOwnerDrawState) {
    TCanvas* C = ColorCombo->GetCanvas();
    C->FillRect(Rect);
    if (Index < 0 || Index >= 16) return;
    // A swatch with a frame, then the name.
    const TColor Text = C->GetFont()->GetColor();
    const TRect Swatch = ::Rect(Rect.Left + 2, Rect.Top + 2, Rect.Left + 24, Rect.Bottom - 2);
    C->GetBrush()->SetColor(StandardColors[Index].Color);
    C->FillRect(Swatch);
    C->GetBrush()->SetColor(Text);
    C->FrameRect(Swatch);
    C->GetBrush()->SetStyle(bsClear);
    C->TextOut(Rect.Left + 28, Rect.Top + 1, StandardColors[Index].Name);
    C->GetBrush()->SetStyle(bsSolid);
  }

  void OkClick(TObject*) {
    const std::string Face = Trim(FaceEdit->GetText());
    if (Face.empty() ||
        (FDialog->GetOptions().Contains(fdForceFontExist) && FaceList->GetItems()->IndexOf(Face) < 0)) {
      MessageBox(GetHandle(), "There is no font with that name.\nChoose a font from the list of fonts.",
                 "Font", MB_OK | MB_ICONEXCLAMATION);
      FaceEdit->SetFocus();
      return;
    }
    const std::string SizeText = Trim(SizeEdit->GetText());
    char* End = nullptr;
    const long Size = std::strtol(SizeText.c_str(), &End, 10);
    if (SizeText.empty() || *End != 0 || Size <= 0 || Size > 1638) {
      MessageBox(GetHandle(), "Size must be a number.", "Font", MB_OK | MB_ICONEXCLAMATION);
      SizeEdit->SetFocus();
      return;
    }
    if (!SizeAllowed(static_cast<Integer>(Size))) {
      MessageBox(GetHandle(),
                 Format("Size must be between %d and %d points.",
                        {FDialog->GetMinFontSize(), FDialog->GetMaxFontSize()}),
                 "Font", MB_OK | MB_ICONEXCLAMATION);
      SizeEdit->SetFocus();
      return;
    }
    FaceEdit->SetText(Face);
    SizeEdit->SetText(SizeText);
    SetModalResult(mrOk);
  }

  TFontDialog* FDialog;
  TEdit* FaceEdit = nullptr;
  TListBox* FaceList = nullptr;
  TEdit* StyleEdit = nullptr;
  TListBox* StyleList = nullptr;
  TEdit* SizeEdit = nullptr;
  TListBox* SizeList = nullptr;
  TCheckBox* StrikeOut = nullptr;
  TCheckBox* Underline = nullptr;
  TComboBox* ColorCombo = nullptr;
  TLabel* Sample = nullptr;
  bool FLoading = false;
};

}  // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  std::unique_ptr<TFontDialogForm> Form = std::make_unique<TFontDialogForm>(Application, this);
  if (OnShow) OnShow(this);
  const bool Ok = Form->ShowModal() == mrOk;
  if (Ok) Form->StoreFont(FFont.get());
  if (OnClose) OnClose(this);
  return Ok;
}
