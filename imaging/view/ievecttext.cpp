// TZezudIdVect: in-place editing of text boxes (one-line editor) and multi-line boxes (the
// rich text control), the keys and the focus.
#include <cmath>

#include "imaging/view/ievect.h"
#include "platform/gdi/Text.h"
#include "platform/user/WinUser.h"

namespace {

Integer TruncD(Double V) {
  return static_cast<Integer>(std::trunc(V));
}

}  // namespace

void IEVFontFromLogFont(TFont* Font, const LOGFONTA* LogFont, Integer Height) {
  if (LogFont == nullptr) return;
  LOGFONTA LF = *LogFont;
  LF.lfHeight = Height;
  const TColor Color = Font->GetColor();
  Font->SetHandle(CreateFontIndirect(&LF));
  Font->SetColor(Color);
}

void TZezudIdVect::SetupTextControl(TIETextControl* Control, const TIEVObject& Record, Double Zoom) {
  Control->MarginLeft = Record.MemoMargins[0];
  Control->MarginTop = Record.MemoMargins[1];
  Control->MarginRight = Record.MemoMargins[2];
  Control->MarginBottom = Record.MemoMargins[3];
  TFont* Font = Control->GetDefaultFont();
  Font->SetColor(ColorToRGB(Record.PenColor));
  if (Record.LogFont) IEVFontFromLogFont(Font, Record.LogFont.get(), Record.LogFont->lfHeight);
  Font->SetColor(ColorToRGB(Record.PenColor));
  Control->GetTextBrush()->SetColor(Record.BrushColor);
  Control->GetTextBrush()->SetStyle(static_cast<TBrushStyle>(Record.MemoBackgroundStyle));
  Control->DefaultAlignment = Record.TextAlign;
  Control->GetBoxBrush()->SetColor(Record.BrushColor);
  Control->GetBoxBrush()->SetStyle(static_cast<TBrushStyle>(Record.BrushStyle));
  Control->SetUniformFormat(Record.MemoFixedFormat != 0);
  Control->AutoHeight = Record.TextAutoSize != 0;
  Control->LineSpacing = Record.MemoLineSpacing;
  Control->GetBorderPen()->SetColor(Record.MemoBorderColor);
  Control->GetBorderPen()->SetStyle(static_cast<TPenStyle>(Record.MemoBorderStyle));
  Control->FixedLineHeight = Record.MemoFixedLineHeight;
  Control->Zoom = Zoom;
}

TIEVObject* TZezudIdVect::EditedRecord() {
  return FEditingObject >= 0 ? ObjectRecord(FEditingObject) : nullptr;
}

void TZezudIdVect::StartTextEdit() {
  TIEVObject* Record = EditedRecord();
  if (Record == nullptr || !Record->TextEditable || (Record->Kind != ievoText && Record->Kind != ievoMemo)) {
    FEditingObject = -1;
    return;
  }
  if (Record->Kind == ievoText) {
    FTextEditor->SetParent(this);
    FTextEditor->SetAutoSize(false);
    FTextEditor->SetBorderStyle(bsNone);
    FTextEditor->SetCtl3D(false);
    PlaceTextEditor();
    if (FLocaleCharset != DEFAULT_CHARSET) FTextEditor->GetFont()->SetCharset(FLocaleCharset);
    FTextEditor->OnKeyDown = TKeyEvent(this, &TZezudIdVect::EditorKeyDown);
    FEditStartText = Record->Text;
    FTextEditor->SetText(Record->Text);
    FTextEditor->OnChange = TNotifyEvent(this, &TZezudIdVect::EditorChange);
    FTextEditor->SetVisible(true);
    if (FTextEditor->CanFocus()) FTextEditor->SetFocus();
  } else {
    FMemoEditor->BackgroundBitmap = GetBackBufferBitmap();
    FMemoEditor->SetParent(this);
    PlaceTextEditor();
    if (FLocaleCharset != DEFAULT_CHARSET) FMemoEditor->GetFont()->SetCharset(FLocaleCharset);
    FMemoEditor->OnKeyDown = TKeyEvent(this, &TZezudIdVect::MemoKeyDown);
    FMemoEditor->TextBuffer = std::move(Record->Text);
    FMemoEditor->FormatList = std::move(Record->MemoFormats);
    FMemoEditor->FormatIndex = std::move(Record->MemoCharFormats);
    Record->Text.clear();
    Record->MemoFormats.clear();
    Record->MemoCharFormats.clear();
    FMemoEditor->Reset();
    FMemoEditor->SetVisible(true);
    if (FMemoEditor->CanFocus()) FMemoEditor->SetFocus();
  }
  if (OnActivateTextEdit) OnActivateTextEdit(this);
}

void TZezudIdVect::PlaceTextEditor() {
  TIEVObject* Record = EditedRecord();
  if (Record == nullptr) return;
  const Integer X1 = XBmp2Scr(Record->X1), Y1 = YBmp2Scr(Record->Y1);
  const Integer X2 = XBmp2Scr(Record->X2), Y2 = YBmp2Scr(Record->Y2);
  if (Record->Kind == ievoText) {
    FTextEditor->SetBounds(X1, Y1, X2 - X1, Y2 - Y1);
    TFont* Font = FTextEditor->GetFont();
    const Integer Height = Record->LogFont && Record->LogFont->lfHeight != 0
                               ? TruncD(Record->LogFont->lfHeight * GetZoomY() / 100)
                               : Y2 - Y1;
    if (Record->LogFont) IEVFontFromLogFont(Font, Record->LogFont.get(), Height);
    Font->SetHeight(Height);
    Font->SetColor(ColorToRGB(Record->PenColor));
    FTextEditor->SetColor(Record->BrushStyle != bsSolid ? GetBackground()
                                                        : static_cast<TColor>(Record->BrushColor));
  } else if (Record->Kind == ievoMemo) {
    FMemoEditor->SetBounds(X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1);
    SetupTextControl(FMemoEditor, *Record, GetZoomY() / 100);
  }
}

void TZezudIdVect::EndTextEdit() {
  TIEVObject* Record = EditedRecord();
  if (Record == nullptr) return;
  if (Record->Kind == ievoText) {
    Record->Text = FTextEditor->GetText();
    if (!FDestroying && Record->TextAutoSize) {
      GetCanvas()->SetFont(FTextEditor->GetFont());
      Record->X2 = Record->X1 + TruncD(GetCanvas()->TextWidth(Record->Text) / (GetZoomX() / 100));
    }
    FTextEditor->OnChange = nullptr;
    FTextEditor->SetVisible(false);
  } else if (Record->Kind == ievoMemo) {
    FMemoEditor->RemoveUnusedFormats();
    if (!FDestroying && Record->TextAutoSize)
      Record->Y2 = Record->Y1 + TruncD(FMemoEditor->GetClientHeight() / (GetZoomY() / 100));
    Record->Text = std::move(FMemoEditor->TextBuffer);
    Record->MemoFormats = std::move(FMemoEditor->FormatList);
    Record->MemoCharFormats = std::move(FMemoEditor->FormatIndex);
    FMemoEditor->TextBuffer.clear();
    FMemoEditor->FormatList.clear();
    FMemoEditor->FormatIndex.clear();
    FMemoEditor->SetVisible(false);
  }
  if (OnDeactivateTextEdit) OnDeactivateTextEdit(this);
  if (FDestroying) return;
  if (CanFocus()) SetFocus();
  DoVectorialChanged();
}

void TZezudIdVect::EditorKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
  if (OnTextKeyDown) OnTextKeyDown(Sender, Key, Shift);
  if (Key == VK_RETURN) {
    Key = 0;
    CancelInteraction();
    DoVectorialChanged();
  } else if (Key == VK_ESCAPE) {
    Key = 0;
    // The text shown when editing began comes back and is kept.
    FTextEditor->OnChange = nullptr;
    FTextEditor->SetText(FEditStartText);
    CancelInteraction();
  }
}

void TZezudIdVect::EditorChange(TObject*) {
  TIEVObject* Record = EditedRecord();
  if (Record == nullptr || Record->Kind != ievoText || !Record->TextAutoSize) return;
  GetCanvas()->SetFont(FTextEditor->GetFont());
  const std::string Text = FTextEditor->GetText();
  const Integer Width = GetCanvas()->TextWidth(Text);
  FTextEditor->SetWidth(Width + GetCanvas()->TextWidth("M"));
  Record->X2 = Record->X1 + TruncD((Width + GetCanvas()->TextWidth("M")) / (GetZoomX() / 100));
  Update();
}

void TZezudIdVect::MemoKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
  if (OnTextKeyDown) OnTextKeyDown(Sender, Key, Shift);
  if (Key == VK_ESCAPE) {
    Key = 0;
    CancelInteraction();
  }
}

TNotifyEvent TZezudIdVect::GetOnTextEditCursorMoved() {
  return FMemoEditor->OnCursorMoved;
}

void TZezudIdVect::SetOnTextEditCursorMoved(TNotifyEvent Value) {
  FMemoEditor->OnCursorMoved = Value;
}

void TZezudIdVect::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) {
    if (FEditingObject >= 0) EndTextEdit();
    FEditingObject = -1;
  } else if (Key == VK_F2 && !FSelected.empty()) {
    const TIEVObject* First = ObjectRecord(FSelected[0]);
    if (First != nullptr && (First->Kind == ievoText || First->Kind == ievoMemo)) {
      FEditingObject = FSelected[0];
      StartTextEdit();
    }
  }
  TZezudIdView::KeyDown(Key, Shift);
}

void TZezudIdVect::WMKeyDown(TMessage& Message) {
  TZezudIdView::Dispatch(Message);
  if (FSelected.size() != 1) return;
  TIEVObject* Record = ObjectRecord(FSelected[0]);
  if (Record != nullptr && Record->Kind == ievoExtension && Record->Extension)
    Record->Extension->KeyDown(static_cast<Word>(Message.WParam),
                               KeyDataToShiftState(static_cast<Integer>(Message.LParam)));
}

void TZezudIdVect::WMSetFocus(TMessage& Message) {
  TZezudIdView::Dispatch(Message);
  if (const TIEVObject* Record = EditedRecord()) {
    TWinControl* Editor = Record->Kind == ievoMemo ? static_cast<TWinControl*>(FMemoEditor) : FTextEditor;
    if (Editor->GetVisible() && Editor->CanFocus()) Editor->SetFocus();
  }
  Invalidate();
}

void TZezudIdVect::WMKillFocus(TMessage& Message) {
  TZezudIdView::Dispatch(Message);
  Invalidate();
}

void TZezudIdVect::WMGetDlgCode(TMessage& Message) {
  Message.Result = 129;  // arrows and characters
}
