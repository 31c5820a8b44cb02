#pragma once
// The in-place rich text editor of the vector layer: TIETextControl edits and draws multi-line
// text whose every character carries its own format, wrapped at word boundaries inside a box
// with margins; TIEEdit is the one-line editor of text boxes.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Controls.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/Menus.h"
#include "platform/classes/StdCtrls.h"

class TIECanvas;

// One character format. On disk and on the clipboard it is a 280-byte little-endian record
// (IECharFormatSize); the padding and reserved bytes are carried unchanged.
struct TIECharFormat {
  Integer RefCount = 0;            // characters using the record
  std::array<Byte, 256> Name{};    // face as a counted string (Name[0] = length)
  Integer Height = 0;              // negative: character height
  Byte Style = 0;                  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  std::array<Byte, 3> Pad{};       // bytes 265..267
  TColor Color = 0;                // font colour
  TColor BackColor = 0;            // background colour
  Byte BackStyle = 0;              // TBrushStyle of the background
  Byte Alignment = 0;              // 0 left, 1 right, 2 centre, 3 justified
  std::array<Byte, 2> Reserved{};  // never set here
};

constexpr Integer IECharFormatSize = 280;
TIECharFormat IECharFormatRead(const Byte* Data);
void IECharFormatWrite(const TIECharFormat& Format, Byte* Data);
// Equal when every byte after the reference count is equal.
bool IECharFormatEqual(const TIECharFormat& A, const TIECharFormat& B);
std::string IECharFormatGetName(const TIECharFormat& Format);
// Longer names are cut at 255 characters.
void IECharFormatSetName(TIECharFormat& Format, const std::string& Name);
TFontStyles IECharFormatGetStyles(const TIECharFormat& Format);
Byte IEFontStylesToByte(TFontStyles Styles);

using TIECharFormatList = std::vector<TIECharFormat>;

// The twelve text shortcuts (left, centre, right, justify, copy, cut, paste, font dialog, bold,
// italic, underline, background colour), filled by the vector layer's start-up.
extern std::array<TShortCut, 12> IETextShortCuts;
// Number of the private clipboard format "ZEZUDID TEXTMEMO" (0 before start-up).
extern UINT IETextMemoClipboardFormat;
void IETextControlInitialize();
void IETextControlFinalize();

// The platform has no colour dialog: Ctrl+G asks this chooser, which returns true with Color
// set when a colour was chosen; without one Ctrl+G does nothing.
using TIEChooseColorProc = bool (*)(TColor& Color);
extern TIEChooseColorProc IEChooseBackColor;

// Layout cache of one character (one more entry for the text's end).
struct TIETextCharLayout {
  SmallInt Height = 0;
  SmallInt Width = 0;
  Byte Leading = 0;
  Byte Descent = 0;
  Integer X = -1;
  Integer Y = -1;
};

class TIETextControl : public TCustomControl {
 public:
  explicit TIETextControl(TComponent* AOwner);
  ~TIETextControl() override;
  void Dispatch(TMessage& Message) override;
  // Clears the layout caches and invalidates the window.
  void Update() override;

  // Attached by the owner before Reset (moved in) and taken back after editing (moved out).
  // An empty index array means "every character uses format 0"; an empty list gets one
  // format made from the defaults.
  std::string TextBuffer;
  TIECharFormatList FormatList;
  std::vector<Integer> FormatIndex;

  void Reset();
  // Lays out and draws the text into the box at unzoomed Width x Height.
  void DrawText(TIECanvas* Canvas, Integer Left, Integer Top, Integer Width, Integer Height);
  void RemoveUnusedFormats();
  bool GetUniformFormat() const { return FUniformFormat; }
  void SetUniformFormat(bool Value);

  // Editing.
  void InsertChar(char C);
  void DeleteChar(Integer Index);
  void DeleteSelection();
  void ApplyFont(TFont* Font);
  void ApplyBackColor(TColor Color);
  void ToggleStyle(Integer Bit);
  void GrowFont();
  void ShrinkFont();
  void SetAlignment(Integer Alignment);
  Integer CaretFromPoint(Integer X, Integer Y);
  void CopyToClipboard();
  void PasteFromClipboard();
  // Caret movement for a navigation key (VK_HOME .. VK_DOWN), with its selection rule.
  void MoveCaret(Word Key, TShiftState Shift);

  Integer GetTextLength() const { return static_cast<Integer>(TextBuffer.size()); }
  Integer GetCaret() const { return FCaret; }
  void SetCaret(Integer Value);
  Integer GetSelStart() const { return FSelStart; }
  Integer GetSelEnd() const { return FSelEnd; }
  // Start .. End - 1 selected; put in order.
  void SetSelection(Integer Start, Integer End);
  bool GetInsertMode() const { return FInsertMode; }
  void SetInsertMode(bool Value) { FInsertMode = Value; }
  const TIECharFormat& GetCurrentFormat() const { return FCurrentFormat; }
  void SetCurrentFormat(const TIECharFormat& Value) { FCurrentFormat = Value; }
  // Layout of character Index as laid out by the last DrawText (Index may be the length).
  const TIETextCharLayout& GetCharLayout(Integer Index) const { return FLayout[Index]; }
  TPoint GetCaretPos() const { return FCaretPos; }
  Integer GetCaretHeight() const { return FCaretHeight; }

  // Settings written by the owner.
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  TBrush* GetTextBrush() const { return FTextBrush.get(); }
  TBrush* GetBoxBrush() const { return FBoxBrush.get(); }
  TPen* GetBorderPen() const { return FBorderPen.get(); }
  Integer DefaultAlignment = 0;
  double Zoom = 1.0;
  double MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;  // percent
  bool AutoHeight = false;
  Integer LineSpacing = 0;
  Integer FixedLineHeight = 0;
  bool KeepCanvasColors = false;
  bool CollectText = false;
  std::string VisibleText;
  TBitmap* BackgroundBitmap = nullptr;  // the owner's
  TNotifyEvent OnCursorMoved;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void DblClick() override;

 private:
  struct TDrawRecord;
  void ClearCaches(Integer From);
  void GrowCaches();
  // Gives character Index the format (shared with an equal one when present).
  void SetCharFormat(Integer Index, const TIECharFormat& Format);
  Integer FormatOf(Integer Index) const;
  const TIECharFormat& CharFormat(Integer Index) const;
  TIECharFormat DefaultFormat() const;
  template <class TChange>
  void ChangeSelectedFormats(TChange Change);
  void AfterCaretMove(Integer OldCaret, TShiftState Shift);
  void PaintBackground();
  // Lays the text out into the back buffer when the caches are stale (keys need positions).
  void EnsureLayout();
  void RunShortCut(Integer Index);
  void WMKillFocus(TMessage& Message);
  void WMSize(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);

  bool FUniformFormat = false;
  TIECharFormat FCurrentFormat;
  std::vector<TIETextCharLayout> FLayout;
  bool FLayoutValid = false;
  Integer FCaret = 0;
  TPoint FCaretPos{0, 0};
  Integer FCaretHeight = 0;
  Integer FSelStart = 0;
  Integer FSelEnd = 0;
  TPoint FMouseDownPos{0, 0};
  bool FInsertMode = true;
  std::unique_ptr<TFont> FDefaultFont;
  std::unique_ptr<TBrush> FTextBrush;
  std::unique_ptr<TBrush> FBoxBrush;
  std::unique_ptr<TPen> FBorderPen;
  std::unique_ptr<TBitmap> FBackBuffer;
};

// The one-line editor of text boxes: a plain edit that keeps Tab and the navigation keys.
class TIEEdit : public TEdit {
 public:
  explicit TIEEdit(TComponent* AOwner) : TEdit(AOwner) {}
  void Dispatch(TMessage& Message) override;
};
