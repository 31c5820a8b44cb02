// Message forms: MessageBox, MessageDlg, ShowMessage and the application's exception box.
#include "platform/classes/Dialogs.h"

#include <algorithm>
#include <vector>

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Screen.h"
#include "platform/classes/StdCtrls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/WindowPaint.h"

namespace {

enum class TMessageIcon { None, Hand, Question, Exclamation, Asterisk };

struct TButtonSpec {
  const char* Name;
  const char* Caption;
  TModalResult Result;
};

// A message form: closing it (Escape, the close box) is refused when it has no button that
// cancels.
class TMessageForm : public TForm {
 public:
  explicit TMessageForm(TComponent* AOwner) : TForm(AOwner) {}
  bool CloseQuery() override { return FCancelable || GetModalResult() != mrCancel; }
  bool FCancelable = true;
};

// The classic 32 x 32 icons, drawn on the dialog's face colour.
void DrawMessageIcon(TCanvas* C, TMessageIcon Icon) {
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, 32, 32));
  C->GetPen()->SetColor(clBlack);
  C->GetPen()->SetWidth(1);
  switch (Icon) {
    case TMessageIcon::Hand:
      // A red disc with a white cross.
      C->GetBrush()->SetColor(clRed);
      C->Ellipse(1, 1, 31, 31);
      C->GetPen()->SetColor(clWhite);
      C->GetPen()->SetWidth(3);
      C->MoveTo(10, 10);
      C->LineTo(22, 22);
      C->MoveTo(22, 10);
      C->LineTo(10, 22);
      break;
    case TMessageIcon::Exclamation:
      // A yellow triangle with a black mark.
      C->GetBrush()->SetColor(clYellow);
      C->Polygon({Point(15, 1), Point(30, 29), Point(1, 29)});
      C->GetBrush()->SetColor(clBlack);
      C->FillRect(Rect(14, 9, 17, 21));
      C->FillRect(Rect(14, 23, 17, 26));
      break;
    case TMessageIcon::Question:
    case TMessageIcon::Asterisk: {
      // A white balloon with a blue sign.
      C->GetBrush()->SetColor(clWhite);
      C->Ellipse(1, 1, 31, 27);
      C->Polygon({Point(8, 23), Point(6, 31), Point(14, 25)});
      C->GetPen()->SetColor(clWhite);
      C->MoveTo(8, 24);
      C->LineTo(13, 24);
      C->GetBrush()->SetColor(clBlue);
      if (Icon == TMessageIcon::Asterisk) {
        C->FillRect(Rect(14, 5, 18, 9));
        C->FillRect(Rect(14, 11, 18, 23));
      } else {
        C->GetPen()->SetColor(clBlue);
        C->GetPen()->SetWidth(3);
        C->Arc(10, 4, 22, 15, 10, 10, 21, 12);
        C->MoveTo(20, 12);
        C->LineTo(16, 16);
        C->LineTo(16, 18);
        C->FillRect(Rect(15, 20, 18, 23));
      }
      break;
    }
    case TMessageIcon::None:
      break;
  }
}

// The width and height of the average letter (dialog units are a quarter and an eighth of it).
TSize AverageCharSize(HDC DC) {
  static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE Size{0, 0};
  GetTextExtentPoint32(DC, Letters, 52, &Size);
  return {Size.cx / 52, Size.cy};
}

// The message form: icon, text and buttons laid out as the platform's message dialogs are.
TMessageForm* BuildMessageForm(const std::string& Title, const std::string& Text, TMessageIcon Icon,
                               const std::vector<TButtonSpec>& Buttons, Integer DefaultIndex,
                               Integer CancelIndex) {
  auto* Form = new TMessageForm(Application);
  auto Undo = ScopeExit([&] { delete Form; });
  Form->SetBorderStyle(bsDialog);
  Form->SetBorderIcons(TBorderIcons{biSystemMenu});
  Form->SetFont(MessageFont());
  Form->SetCaption(Title);
  Form->SetPosition(poScreenCenter);

  HDC DC = GetDC(nullptr);
  HGDIOBJ OldFont = SelectObject(DC, MessageFont()->GetHandle());
  const TSize Units = AverageCharSize(DC);
  const Integer HorzMargin = MulDiv(8, Units.cx, 4), VertMargin = MulDiv(8, Units.cy, 8);
  const Integer HorzSpacing = MulDiv(10, Units.cx, 4), VertSpacing = MulDiv(10, Units.cy, 8);
  const Integer ButtonHeight = MulDiv(14, Units.cy, 8), ButtonSpacing = MulDiv(4, Units.cx, 4);
  Integer ButtonWidth = MulDiv(50, Units.cx, 4);
  for (const TButtonSpec& B : Buttons) {
    RECT R{0, 0, 0, 0};
    DrawText(DC, B.Caption, -1, &R, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
    ButtonWidth = std::max(ButtonWidth, R.Right - R.Left + 8);
  }
  // The text wraps at half the screen's width.
  RECT TextRect{0, 0, Screen->GetWidth() / 2, 0};
  DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), &TextRect,
           DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(DC, OldFont);
  ReleaseDC(nullptr, DC);
  if (TextRect.Bottom == 0) TextRect.Bottom = Units.cy;

  Integer IconTextWidth = TextRect.Right, IconTextHeight = TextRect.Bottom;
  if (Icon != TMessageIcon::None) {
    IconTextWidth += 32 + HorzSpacing;
    IconTextHeight = std::max(IconTextHeight, 32);
  }
  const auto Count = static_cast<Integer>(Buttons.size());
  const Integer GroupWidth = Count > 0 ? ButtonWidth * Count + ButtonSpacing * (Count - 1) : 0;
  Form->SetClientWidth(std::max(IconTextWidth, GroupWidth) + HorzMargin * 2);
  Form->SetClientHeight(IconTextHeight + ButtonHeight + VertSpacing + VertMargin * 2);

  if (Icon != TMessageIcon::None) {
    auto* Image = new TImage(Form);
    Image->SetName("Image");
    Image->SetParent(Form);
    TBitmap Picture;
    Picture.SetSize(32, 32);
    DrawMessageIcon(Picture.GetCanvas(), Icon);
    Image->GetPicture()->SetBitmap(&Picture);
    Image->SetBounds(HorzMargin, VertMargin, 32, 32);
  }
  auto* Message = new TLabel(Form);
  Message->SetName("Message");
  Message->SetParent(Form);
  Message->SetShowAccelChar(false);
  Message->SetWordWrap(true);
  Message->SetAutoSize(false);
  Message->SetCaption(Text);
  Message->SetBounds(IconTextWidth - TextRect.Right + HorzMargin, VertMargin, TextRect.Right,
                     TextRect.Bottom);

  Integer X = (Form->GetClientWidth() - GroupWidth) / 2;
  for (Integer I = 0; I < Count; ++I) {
    const TButtonSpec& Spec = Buttons[static_cast<std::size_t>(I)];
    auto* B = new TButton(Form);
    B->SetName(Spec.Name);
    B->SetParent(Form);
    B->SetCaption(Spec.Caption);
    B->SetModalResult(Spec.Result);
    if (I == DefaultIndex) {
      B->SetDefault(true);
      Form->SetActiveControl(B);
    }
    if (I == CancelIndex) B->SetCancel(true);
    B->SetBounds(X, IconTextHeight + VertMargin + VertSpacing, ButtonWidth, ButtonHeight);
    X += ButtonWidth + ButtonSpacing;
  }
  Form->FCancelable = CancelIndex >= 0;
  Undo.Release();
  return Form;
}

// The application's error box: a message box with the stop icon over the application.
void ExceptionMessageBox(const std::string& Title, const std::string& Text) {
  MessageBox(Application != nullptr ? Application->GetHandle() : nullptr, Text, Title, MB_OK | MB_ICONSTOP);
}

struct TExceptionBoxInstaller {
  TExceptionBoxInstaller() { ShowExceptionBox = &ExceptionMessageBox; }
} ExceptionBoxInstaller;

}  // namespace

TFont* MessageFont() {
  static const std::unique_ptr<TFont> Font = std::make_unique<TFont>();
  return Font.get();
}

// ---- MessageBox -------------------------------------------------------------------------------

Integer MessageBox(HWND, const std::string& Text, const std::string& Caption, UINT Type) {
  static const TButtonSpec Ok{"OK", "OK", mrOk}, Cancel{"Cancel", "Cancel", mrCancel},
      Abort{"Abort", "&Abort", mrAbort}, Retry{"Retry", "&Retry", mrRetry},
      Ignore{"Ignore", "&Ignore", mrIgnore}, Yes{"Yes", "&Yes", mrYes}, No{"No", "&No", mrNo};
  std::vector<TButtonSpec> Buttons;
  switch (Type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      Buttons = {Ok, Cancel};
      break;
    case MB_ABORTRETRYIGNORE:
      Buttons = {Abort, Retry, Ignore};
      break;
    case MB_YESNOCANCEL:
      Buttons = {Yes, No, Cancel};
      break;
    case MB_YESNO:
      Buttons = {Yes, No};
      break;
    case MB_RETRYCANCEL:
      Buttons = {Retry, Cancel};
      break;
    default:
      Buttons = {Ok};
      break;
  }
  TMessageIcon Icon = TMessageIcon::None;
  switch (Type & MB_ICONMASK) {
    case MB_ICONHAND:
      Icon = TMessageIcon::Hand;
      break;
    case MB_ICONQUESTION:
      Icon = TMessageIcon::Question;
      break;
    case MB_ICONEXCLAMATION:
      Icon = TMessageIcon::Exclamation;
      break;
    case MB_ICONASTERISK:
      Icon = TMessageIcon::Asterisk;
      break;
    default:
      break;
  }
  const auto Count = static_cast<Integer>(Buttons.size());
  Integer Default = static_cast<Integer>((Type & MB_DEFMASK) >> 8);
  if (Default >= Count) Default = 0;
  // Escape: Cancel, or a lone OK.
  Integer CancelIndex = -1;
  for (Integer I = 0; I < Count; ++I)
    if (Buttons[static_cast<std::size_t>(I)].Result == mrCancel) CancelIndex = I;
  if (CancelIndex < 0 && Count == 1) CancelIndex = 0;
  std::unique_ptr<TMessageForm> Form(
      BuildMessageForm(Caption.empty() ? "Error" : Caption, Text, Icon, Buttons, Default, CancelIndex));
  const TModalResult Result = Form->ShowModal();
  // Closed by other means than a button: the cancelling button's answer.
  if (Result == mrCancel && CancelIndex >= 0)
    return static_cast<Integer>(Buttons[static_cast<std::size_t>(CancelIndex)].Result);
  return static_cast<Integer>(Result);
}

// ---- MessageDlg -------------------------------------------------------------------------------

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  static const TButtonSpec Specs[] = {{"Yes", "&Yes", mrYes},
                                      {"No", "&No", mrNo},
                                      {"OK", "OK", mrOk},
                                      {"Cancel", "Cancel", mrCancel},
                                      {"Abort", "&Abort", mrAbort},
                                      {"Retry", "&Retry", mrRetry},
                                      {"Ignore", "&Ignore", mrIgnore},
                                      {"All", "&All", mrAll},
                                      {"NoToAll", "N&o to All", mrNoToAll},
                                      {"YesToAll", "Yes to &All", mrYesToAll},
                                      {"Help", "&Help", mrNone}};
  static const char* const Titles[] = {"Warning", "Error", "Information", "Confirm"};
  static const TMessageIcon Icons[] = {TMessageIcon::Exclamation, TMessageIcon::Hand, TMessageIcon::Asterisk,
                                       TMessageIcon::Question, TMessageIcon::None};
  std::vector<TButtonSpec> List;
  std::vector<TMsgDlgBtn> Kinds;
  for (Integer B = mbYes; B <= mbHelp; ++B)
    if (Buttons.Contains(static_cast<TMsgDlgBtn>(B))) {
      List.push_back(Specs[B]);
      Kinds.push_back(static_cast<TMsgDlgBtn>(B));
    }
  const TMsgDlgBtn DefaultKind = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : mbRetry;
  const TMsgDlgBtn CancelKind = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;
  auto IndexOf = [&](TMsgDlgBtn Kind) {
    auto It = std::find(Kinds.begin(), Kinds.end(), Kind);
    return It == Kinds.end() ? -1 : static_cast<Integer>(It - Kinds.begin());
  };
  const std::string Title = DlgType == mtCustom
                                ? (Application != nullptr ? Application->GetTitle() : std::string())
                                : std::string(Titles[DlgType]);
  return BuildMessageForm(Title, Msg, Icons[DlgType], List, IndexOf(DefaultKind), IndexOf(CancelKind));
}

Integer MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer, Integer X,
                      Integer Y) {
  std::unique_ptr<TForm> Form(CreateMessageDialog(Msg, DlgType, Buttons));
  // A closed dialog answers mrCancel whichever buttons it has.
  static_cast<TMessageForm*>(Form.get())->FCancelable = true;
  if (X >= 0 || Y >= 0) {
    Form->SetPosition(poDesigned);
    if (X >= 0) Form->SetLeft(X);
    if (Y >= 0) Form->SetTop(Y);
  }
  return Form->ShowModal();
}

Integer MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx) {
  return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void ShowMessage(const std::string& Msg) {
  MessageDlgPos(Msg, mtCustom, TMsgDlgButtons{mbOK}, 0, -1, -1);
}
