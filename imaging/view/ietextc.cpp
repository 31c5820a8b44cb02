// TIETextControl: attachment, format bookkeeping, editing operations, keys and mouse; and
// TIEEdit. Layout, drawing and painting are in ietextcdraw.cpp, the clipboard in
// ietextcclip.cpp.
#include "imaging/view/ietextc.h"

#include <algorithm>

#include "platform/classes/ControlMessages.h"
#include "platform/classes/Dialogs.h"
#include "platform/user/Caret.h"
#include "platform/user/WinUser.h"

std::array<TShortCut, 12> IETextShortCuts{};
TIEChooseColorProc IEChooseBackColor = nullptr;

namespace {

constexpr char LF = 10;

// Order of the shortcut table.
enum {
  scLeft,
  scCentre,
  scRight,
  scJustify,
  scCopy,
  scCut,
  scPaste,
  scFont,
  scBold,
  scItalic,
  scUnderline,
  scBack
};

}  // namespace

// ---- Construction ---------------------------------------------------------------------------

TIETextControl::TIETextControl(TComponent* AOwner)
    : TCustomControl(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FTextBrush(std::make_unique<TBrush>()),
      FBoxBrush(std::make_unique<TBrush>()),
      FBorderPen(std::make_unique<TPen>()),
      FBackBuffer(std::make_unique<TBitmap>()) {
  FControlStyle.Include(csOpaque);
  FBackBuffer->SetPixelFormat(pf24bit);
  if (AOwner != nullptr) SetCursor(crIBeam);
  FCurrentFormat = DefaultFormat();
  FLayout.resize(1);
}

TIETextControl::~TIETextControl() = default;

void TIETextControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

TIECharFormat TIETextControl::DefaultFormat() const {
  TIECharFormat F;
  IECharFormatSetName(F, FDefaultFont->GetName());
  F.Height = FDefaultFont->GetHeight();
  F.Style = IEFontStylesToByte(FDefaultFont->GetStyle());
  F.Color = FDefaultFont->GetColor();
  F.BackColor = FTextBrush->GetColor();
  F.BackStyle = static_cast<Byte>(FTextBrush->GetStyle());
  F.Alignment = static_cast<Byte>(DefaultAlignment);
  return F;
}

void TIETextControl::Reset() {
  FCaret = 0;
  FSelStart = FSelEnd = 0;
  const auto Len = TextBuffer.size();
  // Index arrays that disagree with the text (damaged files) are cut or padded with format 0.
  FormatIndex.resize(Len, 0);
  if (FormatList.empty() && Len > 0) {
    FormatList.push_back(DefaultFormat());
    FormatList.back().RefCount = static_cast<Integer>(Len);
  }
  const auto Count = static_cast<Integer>(FormatList.size());
  for (Integer& I : FormatIndex)
    if (I < 0 || I >= Count) I = 0;
  FCurrentFormat = DefaultFormat();
  FLayout.assign(Len + 1, TIETextCharLayout{});
  FLayoutValid = false;
  PaintBackground();
}

void TIETextControl::SetUniformFormat(bool Value) {
  FUniformFormat = Value;
  Update();
}

void TIETextControl::Update() {
  ClearCaches(0);
  Invalidate();
}

void TIETextControl::ClearCaches(Integer From) {
  FLayout.resize(TextBuffer.size() + 1);
  for (std::size_t I = static_cast<std::size_t>(std::max(From, 0)); I < FLayout.size(); ++I) FLayout[I] = {};
  FLayoutValid = false;
}

void TIETextControl::GrowCaches() {
  FLayout.resize(TextBuffer.size() + 1);
}

// ---- Format bookkeeping ---------------------------------------------------------------------

Integer TIETextControl::FormatOf(Integer Index) const {
  if (Index < 0 || Index >= static_cast<Integer>(FormatIndex.size())) return -1;
  const Integer F = FormatIndex[static_cast<std::size_t>(Index)];
  return F >= 0 && F < static_cast<Integer>(FormatList.size()) ? F : -1;
}

const TIECharFormat& TIETextControl::CharFormat(Integer Index) const {
  const Integer F = FormatOf(Index);
  return F < 0 ? FCurrentFormat : FormatList[static_cast<std::size_t>(F)];
}

void TIETextControl::SetCharFormat(Integer Index, const TIECharFormat& Format) {
  auto It = std::find_if(FormatList.begin(), FormatList.end(),
                         [&](const TIECharFormat& F) { return IECharFormatEqual(F, Format); });
  if (It == FormatList.end()) {
    FormatList.push_back(Format);
    FormatList.back().RefCount = 0;
    It = FormatList.end() - 1;
  }
  FormatIndex[static_cast<std::size_t>(Index)] = static_cast<Integer>(It - FormatList.begin());
  ++It->RefCount;
}

void TIETextControl::RemoveUnusedFormats() {
  std::vector<Integer> NewIndex(FormatList.size(), 0);
  TIECharFormatList Kept;
  for (std::size_t I = 0; I < FormatList.size(); ++I) {
    NewIndex[I] = static_cast<Integer>(Kept.size());
    if (FormatList[I].RefCount != 0) Kept.push_back(FormatList[I]);
  }
  for (Integer& I : FormatIndex)
    if (I >= 0 && I < static_cast<Integer>(NewIndex.size())) I = NewIndex[static_cast<std::size_t>(I)];
  FormatList = std::move(Kept);
}

// ---- Editing --------------------------------------------------------------------------------

void TIETextControl::InsertChar(char C) {
  FCaret = std::clamp(FCaret, 0, GetTextLength());
  const auto At = static_cast<std::size_t>(FCaret);
  TextBuffer.insert(At, 1, C);
  FormatIndex.insert(FormatIndex.begin() + static_cast<std::ptrdiff_t>(At), 0);
  SetCharFormat(FCaret, FCurrentFormat);
  GrowCaches();
  ClearCaches(FCaret);
  ++FCaret;
}

void TIETextControl::DeleteChar(Integer Index) {
  if (Index < 0 || Index >= GetTextLength()) return;
  const Integer F = FormatOf(Index);
  if (F >= 0) {
    Integer& Count = FormatList[static_cast<std::size_t>(F)].RefCount;
    Count = std::max(Count - 1, 0);
  }
  TextBuffer.erase(static_cast<std::size_t>(Index), 1);
  FormatIndex.erase(FormatIndex.begin() + Index);
  ClearCaches(Index);
}

void TIETextControl::DeleteSelection() {
  for (Integer I = FSelEnd - 1; I >= FSelStart; --I) DeleteChar(I);
  if (FSelStart < FSelEnd) FCaret = FSelStart;
  FSelStart = FSelEnd = 0;
}

template <class TChange>
void TIETextControl::ChangeSelectedFormats(TChange Change) {
  const Integer Last = std::min(FSelEnd, GetTextLength());
  for (Integer I = FSelStart; I < Last; ++I) {
    TIECharFormat F = CharFormat(I);
    Change(F);
    SetCharFormat(I, F);
  }
  ClearCaches(FSelStart);
}

void TIETextControl::ApplyFont(TFont* Font) {
  auto Change = [Font](TIECharFormat& F) {
    IECharFormatSetName(F, Font->GetName());
    F.Height = Font->GetHeight();
    F.Style = IEFontStylesToByte(Font->GetStyle());
    F.Color = Font->GetColor();
  };
  ChangeSelectedFormats(Change);
  Change(FCurrentFormat);
  Update();
}

void TIETextControl::ApplyBackColor(TColor Color) {
  auto Change = [Color](TIECharFormat& F) { F.BackColor = Color; };
  ChangeSelectedFormats(Change);
  Change(FCurrentFormat);
  Update();
}

void TIETextControl::ToggleStyle(Integer Bit) {
  const auto Mask = static_cast<Byte>(1 << Bit);
  if (FSelStart < FSelEnd && FSelStart < GetTextLength()) {
    const bool Had = (CharFormat(FSelStart).Style & Mask) != 0;
    ChangeSelectedFormats(
        [&](TIECharFormat& F) { F.Style = static_cast<Byte>(Had ? F.Style & ~Mask : F.Style | Mask); });
  } else {
    FCurrentFormat.Style ^= Mask;
  }
  Update();
}

namespace {
Integer GrownHeight(Integer H) {
  return H < 0 ? H - 1 : H + 1;
}
Integer ShrunkHeight(Integer H) {
  if (H == 0) return 1;
  const Integer R = H < 0 ? H + 1 : H - 1;
  return R == 0 ? 1 : R;
}
}  // namespace

void TIETextControl::GrowFont() {
  auto Change = [](TIECharFormat& F) { F.Height = GrownHeight(F.Height); };
  ChangeSelectedFormats(Change);
  Change(FCurrentFormat);
  Update();
}

void TIETextControl::ShrinkFont() {
  auto Change = [](TIECharFormat& F) { F.Height = ShrunkHeight(F.Height); };
  ChangeSelectedFormats(Change);
  Change(FCurrentFormat);
  Update();
}

void TIETextControl::SetAlignment(Integer Alignment) {
  const Integer Len = GetTextLength();
  Integer Start = std::clamp(FCaret, 0, Len);
  while (Start > 0 && TextBuffer[static_cast<std::size_t>(Start - 1)] != LF) --Start;
  Integer End = std::clamp(FCaret, 0, Len);
  while (End < Len && TextBuffer[static_cast<std::size_t>(End)] != LF) ++End;
  for (Integer I = Start; I < End; ++I) {
    TIECharFormat F = CharFormat(I);
    F.Alignment = static_cast<Byte>(Alignment);
    SetCharFormat(I, F);
  }
  FCurrentFormat.Alignment = static_cast<Byte>(Alignment);
  ClearCaches(Start);
  Update();
}

void TIETextControl::SetCaret(Integer Value) {
  FCaret = std::clamp(Value, 0, GetTextLength());
  FLayoutValid = false;
  Invalidate();
}

void TIETextControl::SetSelection(Integer Start, Integer End) {
  const Integer Len = GetTextLength();
  FSelStart = std::clamp(std::min(Start, End), 0, Len);
  FSelEnd = std::clamp(std::max(Start, End), 0, Len);
  ClearCaches(0);
  Invalidate();
}

// ---- Caret movement -------------------------------------------------------------------------

void TIETextControl::MoveCaret(Word Key, TShiftState Shift) {
  EnsureLayout();
  const Integer Len = GetTextLength();
  const Integer Old = FCaret;
  const bool Ctrl = Shift.Contains(ssCtrl);
  auto Ch = [&](Integer I) { return static_cast<Byte>(TextBuffer[static_cast<std::size_t>(I)]); };
  auto Y = [&](Integer I) { return FLayout[static_cast<std::size_t>(I)].Y; };
  auto X = [&](Integer I) { return FLayout[static_cast<std::size_t>(I)].X; };
  const Integer CaretX = FCaretPos.X;
  const Integer CaretY = FCaretPos.Y;
  Integer C = FCaret;
  switch (Key) {
    case VK_LEFT:
      if (Ctrl) {
        C = std::min(std::max(C - 1, 0), std::max(Len - 1, 0));
        while (C > 0 && Ch(C) <= 32) --C;
        while (C > 0 && Ch(C - 1) > 32) --C;
      } else {
        C = std::max(C - 1, 0);
      }
      break;
    case VK_RIGHT:
      if (Ctrl) {
        C = std::min(C + 1, Len);
        while (C < Len && Ch(C) < 33) ++C;
        while (C < Len && Ch(C) > 32) ++C;
        C = std::clamp(C, 0, std::max(Len - 1, 0));
      } else {
        C = std::min(C + 1, Len);
      }
      break;
    case VK_HOME:
      if (Ctrl) {
        C = 0;
      } else {
        while (C >= 0 && Y(C) >= CaretY) --C;
        ++C;
      }
      break;
    case VK_END:
      if (Ctrl) {
        C = Len;
      } else {
        while (C < Len && Y(C) == CaretY) ++C;
        if (C < Len) --C;
      }
      break;
    case VK_UP: {
      Integer J = std::min(C, Len) - 1;
      while (J >= 0 && !(Y(J) >= 0 && Y(J) < CaretY)) --J;
      if (J < 0) break;
      const Integer LineEnd = J;
      const Integer LineY = Y(J);
      while (J > 0 && X(J) > CaretX) --J;
      if (Y(J) != LineY) {
        J = LineEnd;
      } else if (J + 1 <= LineEnd && std::abs(X(J + 1) - CaretX) < std::abs(X(J) - CaretX)) {
        ++J;
      }
      C = J;
      break;
    }
    case VK_DOWN: {
      Integer J = C + 1;
      while (J <= Len && Y(J) == CaretY) ++J;
      if (J > Len || Y(J) < 0) break;
      const Integer LineStart = J;
      const Integer LineY = Y(J);
      while (J < Len && X(J) < CaretX) ++J;
      if (Y(J) != LineY) {
        J = LineStart;
      } else if (J - 1 >= LineStart && std::abs(X(J - 1) - CaretX) < std::abs(X(J) - CaretX)) {
        --J;
      }
      C = J;
      break;
    }
    default:
      return;
  }
  FCaret = std::clamp(C, 0, Len);
  AfterCaretMove(Old, Shift);
}

void TIETextControl::AfterCaretMove(Integer Old, TShiftState Shift) {
  if (FCaret == Old) return;
  const Integer Len = GetTextLength();
  if (Len > 0) FCurrentFormat = CharFormat(std::clamp(FCaret - 1, 0, Len - 1));
  if (Shift.Contains(ssShift)) {
    if (FSelEnd == 0) {
      FSelStart = Old;
      FSelEnd = FCaret;
    } else if (FCaret > FSelEnd) {
      FSelEnd = FCaret;
    } else if (FCaret < FSelStart) {
      FSelStart = FCaret;
    } else if (FCaret > Old) {
      FSelStart = FCaret;
    } else {
      FSelEnd = FCaret;
    }
    if (FSelStart > FSelEnd) std::swap(FSelStart, FSelEnd);
  } else {
    FSelStart = FSelEnd = 0;
  }
  ClearCaches(0);
  Invalidate();
}

Integer TIETextControl::CaretFromPoint(Integer X, Integer Y) {
  EnsureLayout();
  const Integer Len = GetTextLength();
  Integer J = -1;
  for (Integer I = 0; I <= Len; ++I) {
    const TIETextCharLayout& L = FLayout[static_cast<std::size_t>(I)];
    if (L.Y >= 0 && L.Y <= Y) J = I;
  }
  if (J < 0) J = 0;
  while (J > 0 && X < FLayout[static_cast<std::size_t>(J)].X - 1) --J;
  if (Len > 0) FCurrentFormat = CharFormat(std::clamp(J - 1, 0, Len - 1));
  return J;
}

// ---- Keys -----------------------------------------------------------------------------------

void TIETextControl::KeyDown(Word& Key, TShiftState Shift) {
  switch (Key) {
    case VK_BACK:
      if (FSelStart < FSelEnd) {
        DeleteSelection();
      } else if (FCaret > 0) {
        --FCaret;
        DeleteChar(FCaret);
      }
      Update();
      break;
    case VK_RETURN:
      if (FSelStart < FSelEnd) DeleteSelection();
      InsertChar(LF);
      Update();
      break;
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      MoveCaret(Key, Shift);
      break;
    case VK_INSERT:
      FInsertMode = !FInsertMode;
      break;
    case VK_DELETE:
      if (FSelStart < FSelEnd)
        DeleteSelection();
      else
        DeleteChar(FCaret);
      Update();
      break;
    case VK_F1:
      if (Shift.Contains(ssShift)) ShrinkFont();
      break;
    case VK_F2:
      if (Shift.Contains(ssShift)) GrowFont();
      break;
    default:
      break;
  }
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  TShiftState Keys;
  for (TShiftStateItem I : {ssShift, ssAlt, ssCtrl})
    if (Shift.Contains(I)) Keys.Include(I);
  const TShortCut Pressed = ShortCut(Key, Keys);
  for (std::size_t I = 0; I < IETextShortCuts.size(); ++I)
    if (IETextShortCuts[I] != scNone && IETextShortCuts[I] == Pressed) {
      RunShortCut(static_cast<Integer>(I));
      break;
    }
}

void TIETextControl::RunShortCut(Integer Index) {
  switch (Index) {
    case scLeft:
      SetAlignment(0);
      break;
    case scCentre:
      SetAlignment(2);
      break;
    case scRight:
      SetAlignment(1);
      break;
    case scJustify:
      SetAlignment(3);
      break;
    case scCopy:
      CopyToClipboard();
      break;
    case scCut:
      CopyToClipboard();
      DeleteSelection();
      Update();
      break;
    case scPaste:
      DeleteSelection();
      PasteFromClipboard();
      Update();
      break;
    case scFont:
      if (!FUniformFormat) {
        TFontDialog Dialog(this);
        TFont* F = Dialog.GetFont();
        F->SetName(IECharFormatGetName(FCurrentFormat));
        F->SetHeight(FCurrentFormat.Height);
        F->SetStyle(IECharFormatGetStyles(FCurrentFormat));
        F->SetColor(FCurrentFormat.Color);
        if (Dialog.Execute()) ApplyFont(F);
      }
      break;
    case scBold:
    case scItalic:
    case scUnderline:
      ToggleStyle(Index - scBold);
      break;
    case scBack:
      if (!FUniformFormat && IEChooseBackColor != nullptr) {
        TColor Color = FCurrentFormat.BackColor;
        if (IEChooseBackColor(Color)) ApplyBackColor(Color);
      }
      break;
    default:
      break;
  }
}

void TIETextControl::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  const auto K = static_cast<Byte>(Key);
  if (K < 32 || K == 127) return;
  if (FSelStart < FSelEnd) DeleteSelection();
  if (!FInsertMode) DeleteChar(FCaret);
  InsertChar(Key);
  Update();
}

// ---- Mouse ----------------------------------------------------------------------------------

void TIETextControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CanFocus()) SetFocus();
  if (Shift.Contains(ssShift)) {
    const Integer A = CaretFromPoint(FMouseDownPos.X, FMouseDownPos.Y);
    const Integer B = CaretFromPoint(X, Y);
    FSelStart = std::min(A, B);
    FSelEnd = std::max(A, B);
    FCaret = B;
  } else if (!Shift.Contains(ssDouble)) {
    FSelStart = FSelEnd = 0;
    FCaret = CaretFromPoint(X, Y);
  }
  FMouseDownPos = TPoint{X, Y};
  Update();
  if (OnCursorMoved) OnCursorMoved(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TIETextControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (Shift.Contains(ssLeft)) {
    const Integer A = CaretFromPoint(FMouseDownPos.X, FMouseDownPos.Y);
    const Integer B = CaretFromPoint(X, Y);
    FSelStart = std::min(A, B);
    FSelEnd = std::max(A, B);
    FCaret = B;
    Update();
    if (OnCursorMoved) OnCursorMoved(this);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TIETextControl::DblClick() {
  const Integer Len = GetTextLength();
  auto Ch = [&](Integer I) { return static_cast<Byte>(TextBuffer[static_cast<std::size_t>(I)]); };
  Integer Start = std::clamp(FCaret, 0, Len);
  while (Start > 0 && Ch(Start - 1) > 32) --Start;
  Integer End = std::clamp(FCaret, 0, Len);
  while (End < Len && Ch(End) > 32) ++End;
  FSelStart = Start;
  FSelEnd = End;
  Update();
  TCustomControl::DblClick();
}

// ---- Messages -------------------------------------------------------------------------------

void TIETextControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_CUT:
      RunShortCut(scCut);
      break;
    case WM_COPY:
      RunShortCut(scCopy);
      break;
    case WM_PASTE:
      RunShortCut(scPaste);
      break;
    case CM_WANTSPECIALKEY:
      CMWantSpecialKey(Message);
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TIETextControl::WMKillFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  HideCaret(GetWindowHandle());
  DestroyCaret();
}

void TIETextControl::WMSize(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  Update();
}

namespace {
// Tab and the navigation keys 33..40 (page up .. down) stay with the editor.
bool IsClaimedKey(WPARAM Key) {
  return Key == VK_TAB || (Key >= 33 && Key <= 40);
}
}  // namespace

void TIETextControl::CMWantSpecialKey(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (IsClaimedKey(Message.WParam)) {
    Message.Result = 1;
    Word Key = static_cast<Word>(Message.WParam);
    KeyUp(Key, KeyDataToShiftState(0));
  }
}

void TIEEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      TEdit::Dispatch(Message);
      if (IsClaimedKey(Message.WParam)) {
        Message.Result = 1;
        Word Key = static_cast<Word>(Message.WParam);
        KeyUp(Key, KeyDataToShiftState(0));
      }
      break;
    case WM_CHAR:
      if (Message.WParam == VK_TAB) break;  // swallowed: no tab characters in a one-line text
      TEdit::Dispatch(Message);
      break;
    default:
      TEdit::Dispatch(Message);
      break;
  }
}
