// TCustomEdit and TCustomMemo over the native EDIT control.
#include <algorithm>

#include "platform/classes/StdCtrls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

// ---- TCustomEdit ------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 25);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetAutoSize(true);
  AdjustHeight();
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      CNCommand(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_CTL3DCHANGED:
      CMCtl3DChanged(Message);
      break;
    // The window's own answer: it wants characters and arrows.
    case WM_GETDLGCODE:
      DefaultHandler(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
  if (FBorderStyle == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  if (FPasswordChar != 0) Params.Style |= ES_PASSWORD;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FCharCase == ecUpperCase)
    Params.Style |= ES_UPPERCASE;
  else if (FCharCase == ecLowerCase)
    Params.Style |= ES_LOWERCASE;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  {
    auto Cleanup = ScopeExit([&] { FCreating = false; });
    TWinControl::CreateWnd();
  }
  SendMessage(GetWindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  SendMessage(GetWindowHandle(), EM_SETMODIFY, FModified ? TRUE : FALSE, 0);
  if (FPasswordChar != 0 && FPasswordChar != '*')
    SendMessage(GetWindowHandle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
  AdjustHeight();
}

void TCustomEdit::DestroyWnd() {
  FModified = GetModified();
  TWinControl::DestroyWnd();
}

void TCustomEdit::AdjustHeight() {
  if (!GetAutoSize() || FBorderStyle != bsSingle || !FControlStyle.Contains(csFixedHeight)) return;
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, GetFont()->GetHandle());
  TEXTMETRICA Metrics;
  GetTextMetrics(DC, &Metrics);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  // The client edge (or the plain border) and the window's own margin above and below.
  SetHeight(Metrics.tmHeight + GetSystemMetrics(SM_CYBORDER) * (GetCtl3D() ? 8 : 6));
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  AdjustHeight();
}

void TCustomEdit::CMCtl3DChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (FBorderStyle == bsSingle) {
    RecreateWnd();
    AdjustHeight();
  }
}

void TCustomEdit::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating) Change();
}

void TCustomEdit::Change() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
  // Tabbing into an edit selects its text; a click places the caret instead.
  if (FAutoSelect && !FControlState.Contains(csLButtonDown) && HandleAllocated() &&
      (GetWindowLongPtr(GetWindowHandle(), GWL_STYLE) & ES_MULTILINE) == 0)
    SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  if (HandleAllocated()) {
    // The window converts the text when it is made with the case style.
    RecreateWnd();
  } else if (Value == ecUpperCase) {
    FText = AnsiUpperCase(FText);
  } else if (Value == ecLowerCase) {
    FText = AnsiLowerCase(FText);
  }
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(Integer Value) {
  FMaxLength = std::max(0, Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

bool TCustomEdit::GetModified() {
  if (HandleAllocated()) return SendMessage(GetWindowHandle(), EM_GETMODIFY, 0, 0) != 0;
  return FModified;
}

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (HandleAllocated()) SendMessage(GetWindowHandle(), EM_SETMODIFY, Value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SendMessage(GetWindowHandle(), EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

Integer TCustomEdit::GetSelStart() {
  if (!HandleAllocated()) return 0;
  DWORD Start = 0, End = 0;
  SendMessage(GetWindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(Start);
}

void TCustomEdit::SetSelStart(Integer Value) {
  HandleNeeded();
  SendMessage(GetWindowHandle(), EM_SETSEL, static_cast<WPARAM>(Value), Value);
}

Integer TCustomEdit::GetSelLength() {
  if (!HandleAllocated()) return 0;
  DWORD Start = 0, End = 0;
  SendMessage(GetWindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(End - Start);
}

void TCustomEdit::SetSelLength(Integer Value) {
  HandleNeeded();
  const Integer Start = GetSelStart();
  SendMessage(GetWindowHandle(), EM_SETSEL, static_cast<WPARAM>(Start), Start + Value);
  SendMessage(GetWindowHandle(), EM_SCROLLCARET, 0, 0);
}

std::string TCustomEdit::GetSelText() {
  const std::u16string Text = Utf8ToUtf16(GetText());
  const auto Start =
      static_cast<std::size_t>(std::clamp<Integer>(GetSelStart(), 0, static_cast<Integer>(Text.size())));
  const auto Length = static_cast<std::size_t>(std::max(0, GetSelLength()));
  return Utf16ToUtf8(Text.substr(Start, Length));
}

void TCustomEdit::SetSelText(const std::string& Value) {
  HandleNeeded();
  SendMessage(GetWindowHandle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Undo() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), WM_UNDO, 0, 0);
}

bool TCustomEdit::GetCanUndo() {
  return HandleAllocated() && SendMessage(GetWindowHandle(), EM_CANUNDO, 0, 0) != 0;
}

void TCustomEdit::ClearUndo() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

// ---- TMemoStrings -----------------------------------------------------------------------------

// The memo's lines, read from and written to its text. Lines end in CR LF; the last one may end
// without it. Adding a line after a last line without a break puts the break before it.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}

  Integer GetCount() override {
    const std::string Text = FMemo->GetText();
    const std::vector<std::size_t> Starts = LineStarts(Text);
    return static_cast<Integer>(Starts.size()) - (Starts.back() == Text.size() ? 1 : 0);
  }
  void Clear() override { FMemo->SetText(""); }
  void Delete(Integer Index) override {
    std::string Text = FMemo->GetText();
    const std::vector<std::size_t> Starts = LineStarts(Text);
    CheckIndex(Index, Starts, Text);
    const std::size_t From = Starts[static_cast<std::size_t>(Index)];
    const std::size_t To = static_cast<std::size_t>(Index) + 1 < Starts.size()
                               ? Starts[static_cast<std::size_t>(Index) + 1]
                               : Text.size();
    Text.erase(From, To - From);
    FMemo->SetText(Text);
  }
  void Insert(Integer Index, std::string_view S) override {
    std::string Text = FMemo->GetText();
    const std::vector<std::size_t> Starts = LineStarts(Text);
    const Integer Count = static_cast<Integer>(Starts.size()) - (Starts.back() == Text.size() ? 1 : 0);
    if (Index < 0 || Index > Count) Error("List index out of bounds (%d)", Index);
    if (Index < Count) {
      Text.insert(Starts[static_cast<std::size_t>(Index)], std::string(S) + "\r\n");
    } else if (Text.empty() || Starts.back() == Text.size()) {
      Text += std::string(S) + "\r\n";
    } else {
      Text += "\r\n" + std::string(S);
    }
    FMemo->SetText(Text);
  }

 protected:
  std::string Get(Integer Index) override {
    const std::string Text = FMemo->GetText();
    const std::vector<std::size_t> Starts = LineStarts(Text);
    CheckIndex(Index, Starts, Text);
    const std::size_t From = Starts[static_cast<std::size_t>(Index)];
    std::size_t To = Text.find('\n', From);
    if (To == std::string::npos)
      To = Text.size();
    else if (To > From && Text[To - 1] == '\r')
      --To;
    return Text.substr(From, To - From);
  }
  void Put(Integer Index, std::string_view S) override {
    std::string Text = FMemo->GetText();
    const std::vector<std::size_t> Starts = LineStarts(Text);
    CheckIndex(Index, Starts, Text);
    const std::size_t From = Starts[static_cast<std::size_t>(Index)];
    std::size_t To = Text.find('\n', From);
    if (To == std::string::npos)
      To = Text.size();
    else if (To > From && Text[To - 1] == '\r')
      --To;
    Text.replace(From, To - From, S);
    FMemo->SetText(Text);
  }
  std::string GetTextStr() override { return FMemo->GetText(); }
  void SetTextStr(std::string_view Value) override {
    // Bare LF or CR breaks become CR LF, as the window shows them.
    std::string Text;
    Text.reserve(Value.size());
    for (std::size_t I = 0; I < Value.size(); ++I) {
      const char C = Value[I];
      if (C == '\r') {
        Text += "\r\n";
        if (I + 1 < Value.size() && Value[I + 1] == '\n') ++I;
      } else if (C == '\n') {
        Text += "\r\n";
      } else {
        Text += C;
      }
    }
    FMemo->SetText(Text);
  }

 private:
  // Byte offsets where the lines start; the last entry is the text's size when it ends with
  // a break (or is empty).
  static std::vector<std::size_t> LineStarts(const std::string& Text) {
    std::vector<std::size_t> Starts{0};
    for (std::size_t P = Text.find('\n'); P != std::string::npos; P = Text.find('\n', P + 1))
      Starts.push_back(P + 1);
    return Starts;
  }
  void CheckIndex(Integer Index, const std::vector<std::size_t>& Starts, const std::string& Text) {
    const Integer Count = static_cast<Integer>(Starts.size()) - (Starts.back() == Text.size() ? 1 : 0);
    if (Index < 0 || Index >= Count) Error("List index out of bounds (%d)", Index);
  }

  TCustomMemo* FMemo;
};

// ---- TCustomMemo ------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBounds(0, 0, 185, 89);
  SetAutoSize(false);
  FControlStyle.Exclude(csFixedHeight);
  FLines = std::make_unique<TMemoStrings>(this);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE)
    WMGetDlgCode(Message);
  else
    TCustomEdit::Dispatch(Message);
}

TStrings* TCustomMemo::GetLines() const {
  return FLines.get();
}

void TCustomMemo::SetLines(TStrings* Value) {
  FLines->Assign(Value);
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  // Without word wrap the lines scroll sideways.
  if (FWordWrap) Params.Style &= ~ES_AUTOHSCROLL;
  if (FAlignment == taRightJustify)
    Params.Style |= ES_RIGHT;
  else if (FAlignment == taCenter)
    Params.Style |= ES_CENTER;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
}

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

TPoint TCustomMemo::GetCaretPos() {
  if (!HandleAllocated()) return {0, 0};
  DWORD Start = 0, End = 0;
  SendMessage(GetWindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  const auto Line = static_cast<Integer>(SendMessage(GetWindowHandle(), EM_LINEFROMCHAR, End, 0));
  const auto LineStart =
      static_cast<Integer>(SendMessage(GetWindowHandle(), EM_LINEINDEX, static_cast<WPARAM>(Line), 0));
  return {static_cast<Integer>(End) - LineStart, Line};
}

void TCustomMemo::WMGetDlgCode(TMessage& Message) {
  DefaultHandler(Message);
  if (FWantTabs)
    Message.Result |= DLGC_WANTTAB;
  else
    Message.Result &= ~DLGC_WANTTAB;
  if (!FWantReturns) Message.Result &= ~DLGC_WANTALLKEYS;
}

void TCustomMemo::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == '\r' && !FWantReturns) Key = 0;
}
