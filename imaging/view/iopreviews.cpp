// The save dialog's form: its controls and their layout, the language, the page set, the
// up-down arrows and the dialog DoPreviews opens.
#include "imaging/view/iopreviews.h"

#include <cmath>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iedrawutils.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/FontEngine.h"
#include "platform/system/Strings.h"
#include "platform/user/CommonControls.h"
#include "platform/user/WindowMessages.h"

// ---- The up-down arrows ---------------------------------------------------------------------

TIEUpDown::TIEUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  SetWidth(15);
  SetHeight(21);
}

void TIEUpDown::SetRange(Integer Min, Integer Max) {
  FMin = Min;
  FMax = Max;
  if (HandleAllocated()) SendMessage(GetWindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TIEUpDown::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, UPDOWN_CLASS);
  Params.Style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
}

void TIEUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  const HWND Wnd = GetWindowHandle();
  SendMessage(Wnd, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  if (FAssociate) SendMessage(Wnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->GetHandle()), 0);
}

// ---- Layout ---------------------------------------------------------------------------------

namespace {

constexpr Integer RowHeight = 26;
constexpr Integer InputLeft = 110;
constexpr const char* NoSize = "---";

}  // namespace

TLabel* TfIOPreviews::AddLabel(TWinControl* Parent, Integer Left, Integer Top, const std::string& Caption,
                               Byte Word, TCaptionKind Kind) {
  auto* L = new TLabel(this);
  L->SetParent(Parent);
  L->SetLeft(Left);
  L->SetTop(Top);
  L->SetCaption(Caption);
  if (Word != NoWord) FCaptions.push_back({L, Word, Kind});
  return L;
}

TComboBox* TfIOPreviews::AddCombo(TWinControl* Parent, Integer Left, Integer Top, Integer Width,
                                  std::initializer_list<const char*> Items) {
  auto* C = new TComboBox(this);
  C->SetParent(Parent);
  C->SetBounds(Left, Top, Width, 21);
  C->SetStyle(csDropDownList);
  for (const char* Item : Items) C->GetItems()->Add(Item);
  C->OnChange = TNotifyEvent(this, &TfIOPreviews::ControlChange);
  return C;
}

TEdit* TfIOPreviews::AddEdit(TWinControl* Parent, Integer Left, Integer Top, Integer Width) {
  auto* E = new TEdit(this);
  E->SetParent(Parent);
  E->SetBounds(Left, Top, Width, 21);
  E->OnChange = TNotifyEvent(this, &TfIOPreviews::ControlChange);
  return E;
}

TCheckBox* TfIOPreviews::AddCheck(TWinControl* Parent, Integer Left, Integer Top, const std::string& Caption,
                                  Byte Word, TCaptionKind Kind) {
  auto* C = new TCheckBox(this);
  C->SetParent(Parent);
  C->SetBounds(Left, Top, 130, 17);
  C->SetCaption(Caption);
  C->OnClick = TNotifyEvent(this, &TfIOPreviews::ControlChange);
  FCaptions.push_back({C, Word, Kind});
  return C;
}

TGroupBox* TfIOPreviews::AddGroup(TWinControl* Parent, TRect Bounds, const std::string& Caption, Byte Word) {
  auto* G = new TGroupBox(this);
  G->SetParent(Parent);
  G->SetBounds(Bounds.Left, Bounds.Top, Bounds.Right - Bounds.Left, Bounds.Bottom - Bounds.Top);
  G->SetCaption(Caption);
  FCaptions.push_back({G, Word, ckGroup});
  return G;
}

TPanel* TfIOPreviews::AddColorPanel(TWinControl* Parent, Integer Left, Integer Top) {
  auto* P = new TPanel(this);
  P->SetParent(Parent);
  P->SetBounds(Left, Top, 40, 20);
  P->SetBevelOuter(bvLowered);
  P->OnClick = TNotifyEvent(this, &TfIOPreviews::ColorPanelClick);
  return P;
}

TTrackBar* TfIOPreviews::AddTrackBar(TWinControl* Parent, Integer Left, Integer Top, Integer Max) {
  auto* T = new TTrackBar(this);
  T->SetParent(Parent);
  T->SetBounds(Left, Top, 160, 26);
  T->SetMax(Max);
  T->SetTickStyle(tsNone);
  T->OnChange = TNotifyEvent(this, &TfIOPreviews::ControlChange);
  return T;
}

TIEUpDown* TfIOPreviews::AddUpDown(TWinControl* Parent, TEdit* Buddy, Integer Max) {
  auto* U = new TIEUpDown(this);
  U->SetParent(Parent);
  U->SetLeft(Buddy->GetLeft() + Buddy->GetWidth());
  U->SetTop(Buddy->GetTop());
  U->SetAssociate(Buddy);
  U->SetRange(0, Max);
  return U;
}

TTabSheet* TfIOPreviews::AddSheet(TIEPreviewsPage Page, const std::string& Caption) {
  auto* S = new TTabSheet(this);
  S->SetPageControl(PageControl1);
  S->SetCaption(Caption);
  Sheets[Page] = S;
  return S;
}

void TfIOPreviews::BuildSizeLabels(TIEPreviewsPage Page, Integer Left, Integer Top) {
  TTabSheet* S = Sheets[Page];
  TSizeLabels& L = SizeLabels[Page];
  L.OriginalCaption = AddLabel(S, Left, Top, "Original size:", 43, ckLabel);
  L.Original = AddLabel(S, Left, Top + 16, NoSize, NoWord, ckPlain);
  L.CompressedCaption = AddLabel(S, Left, Top + 36, "Compressed size:", 44, ckLabel);
  L.Compressed = AddLabel(S, Left, Top + 52, NoSize, NoWord, ckPlain);
}

TfIOPreviews::TfIOPreviews(TComponent* AOwner) : TForm(AOwner) {
  BeginFormLoad();
  SetCaption("Parameters preview");
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  SetPosition(poScreenCenter);
  SetClientWidth(527);
  SetClientHeight(425);
  FCaptions.push_back({this, 37, ckPlain});

  Image1 = new TImage(this);
  Image1->SetParent(this);
  Image1->SetAlign(alClient);

  LabelSource = AddLabel(this, 8, 6, "Source:", 1, ckLabel);
  LabelResult = AddLabel(this, 268, 6, "Result:", 2, ckLabel);
  ZezudId1 = new TZezudIdView(this);
  ZezudId1->SetParent(this);
  ZezudId1->SetBounds(8, 22, 251, 184);
  ZezudId2 = new TZezudIdView(this);
  ZezudId2->SetParent(this);
  ZezudId2->SetBounds(268, 22, 251, 184);
  ProgressBar1 = new TProgressBar(this);
  ProgressBar1->SetParent(this);
  ProgressBar1->SetBounds(8, 210, 511, 8);

  PageControl1 = new TPageControl(this);
  PageControl1->SetParent(this);
  PageControl1->SetBounds(8, 224, 416, 193);
  PageControl1->OnChange = TNotifyEvent(this, &TfIOPreviews::PageControl1Change);

  BuildPages();

  Button1 = new TButton(this);
  Button1->SetParent(this);
  Button1->SetBounds(432, 232, 87, 25);
  Button1->SetCaption("OK");
  Button1->SetDefault(true);
  Button1->SetModalResult(mrOk);
  Button1->OnClick = TNotifyEvent(this, &TfIOPreviews::Button1Click);
  FCaptions.push_back({Button1, 3, ckPlain});
  Button2 = new TButton(this);
  Button2->SetParent(this);
  Button2->SetBounds(432, 262, 87, 25);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  FCaptions.push_back({Button2, 4, ckPlain});
  Button3 = new TButton(this);
  Button3->SetParent(this);
  Button3->SetBounds(432, 292, 87, 25);
  Button3->SetCaption("&Preview");
  Button3->OnClick = TNotifyEvent(this, &TfIOPreviews::Button3Click);
  FCaptions.push_back({Button3, 0, ckPlain});
  Button4 = new TButton(this);
  Button4->SetParent(this);
  Button4->SetBounds(432, 352, 87, 25);
  Button4->SetCaption("&Apply");
  Button4->OnClick = TNotifyEvent(this, &TfIOPreviews::Button4Click);
  FCaptions.push_back({Button4, 120, ckPlain});
  chkLockPreview = new TCheckBox(this);
  chkLockPreview->SetParent(this);
  chkLockPreview->SetBounds(432, 326, 90, 17);
  chkLockPreview->SetCaption("Lock Preview");
  chkLockPreview->SetHint("Automatically updates your preview with the changes you have selected");
  chkLockPreview->SetShowHint(true);
  chkLockPreview->OnClick = TNotifyEvent(this, &TfIOPreviews::chkLockPreviewClick);
  FCaptions.push_back({chkLockPreview, 5, ckPlain});

  OnCreate = TNotifyEvent(this, &TfIOPreviews::FormCreate);
  OnActivate = TNotifyEvent(this, &TfIOPreviews::FormActivate);
  OnResize = TNotifyEvent(this, &TfIOPreviews::FormResize);
  EndFormLoad();
}

TfIOPreviews::~TfIOPreviews() {
  // The caller's picture is never freed with the view.
  ReleasePicture();
}

void TfIOPreviews::BuildPages() {
  constexpr Integer Sizes = 290;  // left of the size labels on the full pages
  // JPEG.
  TTabSheet* S = AddSheet(ppgJPEG, "JPEG");
  TabSheetJPEG1 = S;
  AddLabel(S, 8, 8, "&Quality:", 38, ckLabel);
  Edit22 = AddEdit(S, 70, 4, 40);
  Edit22->OnChange = TNotifyEvent(this, &TfIOPreviews::JpegQualityTextChange);
  TrackBar13 = AddTrackBar(S, 114, 2, 100);
  GroupJPEGAdvanced = AddGroup(S, {8, 32, 280, 160}, " Advanced ", 45);
  AddLabel(GroupJPEGAdvanced, 8, 20, "&DCT method:", 39, ckLabel);
  ComboBox1 = AddCombo(GroupJPEGAdvanced, InputLeft, 16, 100, {"ISLOW", "IFAST", "FLOAT"});
  AddLabel(GroupJPEGAdvanced, 8, 20 + RowHeight, "&Smoothing factor:", 40, ckLabel);
  Edit23 = AddEdit(GroupJPEGAdvanced, InputLeft, 16 + RowHeight, 50);
  UpDown11 = AddUpDown(GroupJPEGAdvanced, Edit23, 100);
  AddLabel(GroupJPEGAdvanced, 8, 20 + 2 * RowHeight, "P&hotometric:", 49, ckLabel);
  ComboBox13 = AddCombo(GroupJPEGAdvanced, InputLeft, 16 + 2 * RowHeight, 100,
                        {"RGB", "GrayScale", "YCbCr", "CMYK", "YCbCrK"});
  CheckBox2 = AddCheck(GroupJPEGAdvanced, 8, 20 + 3 * RowHeight, "&Optimal Huffman", 42, ckPlain);
  CheckBox3 = AddCheck(GroupJPEGAdvanced, 140, 20 + 3 * RowHeight, "P&rogressive", 46, ckPlain);
  BuildSizeLabels(ppgJPEG, Sizes, 8);

  // TIFF.
  S = AddSheet(ppgTIFF, "TIFF");
  TabSheetTIFF1 = S;
  AddLabel(S, 8, 8, "&Compression:", 47, ckLabel);
  ComboBox2 = AddCombo(S, 86, 4, 110, {});
  AddLabel(S, 8, 8 + RowHeight, "&Image index:", 48, ckLabel);
  Edit1 = AddEdit(S, 86, 4 + RowHeight, 50);
  UpDown1 = AddUpDown(S, Edit1, 1000);
  AddLabel(S, 8, 8 + 2 * RowHeight, "P&hotometric:", 49, ckLabel);
  ComboBox3 = AddCombo(
      S, 86, 4 + 2 * RowHeight, 110,
      {"WHITEISZERO/Gray", "BLACKISZERO/Gray", "RGB", "RGBPALETTE", "TRANSPMASK", "CMYK", "YCBCR", "CIELAB"});
  AddLabel(S, 8, 8 + 3 * RowHeight, "C&olors:", 58, ckLabel);
  ComboBox4 = AddCombo(S, 86, 4 + 3 * RowHeight, 110, {"B/W", "16", "256", "65536", "16M"});
  GroupTIFFDocument = AddGroup(S, {202, 0, 404, 162}, " Scanned document info ", 50);
  TGroupBox* G = GroupTIFFDocument;
  AddLabel(G, 6, 18, "H&oriz. Position (inch):", 56, ckLabel);
  Edit2 = AddEdit(G, 136, 14, 56);
  AddLabel(G, 6, 40, "&Vert. Position (inch):", 57, ckLabel);
  Edit3 = AddEdit(G, 136, 36, 56);
  AddLabel(G, 6, 62, "&Name:", 51, ckLabel);
  Edit4 = AddEdit(G, 76, 58, 116);
  AddLabel(G, 6, 84, "&Description:", 52, ckLabel);
  Edit5 = AddEdit(G, 76, 80, 116);
  AddLabel(G, 6, 106, "P&age name:", 53, ckLabel);
  Edit6 = AddEdit(G, 76, 102, 116);
  AddLabel(G, 6, 132, "Page N&umber:", 54, ckLabel);
  Edit7 = AddEdit(G, 76, 128, 40);
  AddLabel(G, 122, 132, "o&f", 55, ckPlain);
  Edit8 = AddEdit(G, 142, 128, 40);
  BuildSizeLabels(ppgTIFF, 8, 110);

  // GIF.
  S = AddSheet(ppgGIF, "GIF");
  TabSheetGIF1 = S;
  AddLabel(S, 8, 8, "&Image index:", 48, ckLabel);
  Edit9 = AddEdit(S, 96, 4, 50);
  UpDown2 = AddUpDown(S, Edit9, 1000);
  AddLabel(S, 8, 8 + RowHeight, "&Colors:", 58, ckLabel);
  ComboBox5 = AddCombo(S, 96, 4 + RowHeight, 80, {"B/W", "4", "8", "16", "32", "64", "128", "256"});
  CheckBox4 = AddCheck(S, 8, 8 + 2 * RowHeight, "&Transparent:", 59, ckLabel);
  LabelGifTransparentColor = AddLabel(S, 8, 8 + 3 * RowHeight, "T&ransparent color:", 60, ckLabel);
  Panel3 = AddColorPanel(S, 120, 4 + 3 * RowHeight);
  CheckBox5 = AddCheck(S, 8, 8 + 4 * RowHeight, "I&nterlaced:", 61, ckLabel);
  AddLabel(S, 8, 8 + 5 * RowHeight, "&Background:", 62, ckLabel);
  Panel4 = AddColorPanel(S, 120, 4 + 5 * RowHeight);
  GroupGIFAdvanced = AddGroup(S, {196, 0, 404, 96}, " Advanced ", 45);
  G = GroupGIFAdvanced;
  AddLabel(G, 8, 20, "&Delay time:", 65, ckLabel);
  Edit12 = AddEdit(G, 100, 16, 50);
  AddLabel(G, 156, 20, "1/100 s", NoWord, ckPlain);
  AddLabel(G, 8, 20 + 24, "&Horiz. Position:", 63, ckLabel);
  Edit10 = AddEdit(G, 100, 16 + 24, 50);
  AddLabel(G, 8, 20 + 48, "&Vert. Position:", 64, ckLabel);
  Edit11 = AddEdit(G, 100, 16 + 48, 50);
  BuildSizeLabels(ppgGIF, 200, 100);

  // BMP and PCX.
  S = AddSheet(ppgBMP, "BMP");
  TabSheetBMP1 = S;
  AddLabel(S, 8, 8, "&Compression:", 47, ckLabel);
  ComboBox6 = AddCombo(S, InputLeft, 4, 120, {"UNCOMPRESSED", "RLE"});
  AddLabel(S, 8, 8 + RowHeight, "C&olors:", 58, ckLabel);
  ComboBox7 = AddCombo(S, InputLeft, 4 + RowHeight, 120, {"B/W", "16", "256", "16M", "16M (32bit)"});
  BuildSizeLabels(ppgBMP, Sizes, 8);
  S = AddSheet(ppgPCX, "PCX");
  TabSheetPCX1 = S;
  AddLabel(S, 8, 8, "&Compression:", 47, ckLabel);
  ComboBox8 = AddCombo(S, InputLeft, 4, 120, {"UNCOMPRESSED", "RLE"});
  AddLabel(S, 8, 8 + RowHeight, "C&olors:", 58, ckLabel);
  ComboBox9 = AddCombo(S, InputLeft, 4 + RowHeight, 120, {"B/W", "16", "256", "16M"});
  BuildSizeLabels(ppgPCX, Sizes, 8);

  // PNG.
  S = AddSheet(ppgPNG, "PNG");
  TabSheetPNG1 = S;
  AddLabel(S, 8, 8, "C&olors:", 58, ckLabel);
  ComboBox10 = AddCombo(S, InputLeft, 4, 100, {"B/W", "256", "16M"});
  LabelPngBackground = AddLabel(S, 8, 8 + RowHeight, "&Background:", 62, ckLabel);
  Panel1 = AddColorPanel(S, InputLeft, 4 + RowHeight);
  GroupPNGAdvanced = AddGroup(S, {8, 58, 280, 160}, " Advanced ", 45);
  G = GroupPNGAdvanced;
  AddLabel(G, 8, 20, "&Filter", 66, ckLabel);
  ComboBox11 = AddCombo(G, 100, 16, 100, {"None", "Sub", "Paeth"});
  CheckBox6 = AddCheck(G, 8, 20 + RowHeight, "I&nterlaced", 61, ckPlain);
  AddLabel(G, 8, 20 + 2 * RowHeight, "Co&mpression", 47, ckLabel);
  ComboBox12 =
      AddCombo(G, 100, 16 + 2 * RowHeight, 100, {"None", "1", "2", "3", "4", "5", "6", "7", "8", "Max"});
  BuildSizeLabels(ppgPNG, Sizes, 8);

  // TGA.
  S = AddSheet(ppgTGA, "TGA");
  TabSheetTGA1 = S;
  AddLabel(S, 8, 8, "C&olors:", 58, ckLabel);
  ComboBox14 = AddCombo(S, InputLeft, 4, 100, {"B/W", "256", "16M"});
  CheckBox1 = AddCheck(S, 8, 8 + RowHeight, "Compression:", 47, ckLabel);
  LabelTgaBackground = AddLabel(S, 8, 8 + 2 * RowHeight, "&Background:", 62, ckLabel);
  Panel5 = AddColorPanel(S, InputLeft, 4 + 2 * RowHeight);
  LabelTgaName = AddLabel(S, 8, 8 + 3 * RowHeight, "&Name:", 51, ckLabel);
  Edit13 = AddEdit(S, InputLeft, 4 + 3 * RowHeight, 160);
  LabelTgaDescription = AddLabel(S, 8, 8 + 4 * RowHeight, "&Description:", 52, ckLabel);
  Edit14 = AddEdit(S, InputLeft, 4 + 4 * RowHeight, 160);
  BuildSizeLabels(ppgTGA, Sizes, 8);

  // JPEG 2000.
  S = AddSheet(ppgJ2000, "JPEG2000");
  TabSheetJ20001 = S;
  AddLabel(S, 8, 8, "&Rate:", 123, ckLabel);
  Edit15 = AddEdit(S, 70, 4, 50);
  Edit15->OnChange = TNotifyEvent(this, &TfIOPreviews::J2000RateTextChange);
  TrackBar1 = AddTrackBar(S, 124, 2, 1000);
  LabelJ2000Photometric = AddLabel(S, 8, 8 + RowHeight + 8, "P&hotometric:", 49, ckLabel);
  ComboBox15 = AddCombo(S, InputLeft, 4 + RowHeight + 8, 100, {"GrayScale", "RGB", "YCbCr"});
  BuildSizeLabels(ppgJ2000, Sizes, 8);

  // The simplified pages.
  S = AddSheet(ppgJPEG2, "JPEG");
  TabSheetJPEG2 = S;
  AddLabel(S, 8, 8, "&Quality:", 38, ckLabel);
  Edit16 = AddEdit(S, 70, 4, 40);
  Edit16->OnChange = TNotifyEvent(this, &TfIOPreviews::JpegQualityTextChange);
  TrackBar2 = AddTrackBar(S, 114, 2, 100);
  BuildSizeLabels(ppgJPEG2, Sizes, 8);
  S = AddSheet(ppgTIFF2, "TIFF");
  TabSheetTIFF2 = S;
  AddLabel(S, 8, 8, "&Compression:", 47, ckLabel);
  ComboBox16 = AddCombo(S, 86, 4, 110, {});
  AddLabel(S, 8, 8 + RowHeight, "C&olors:", 58, ckLabel);
  ComboBox17 = AddCombo(S, 86, 4 + RowHeight, 110, {"2", "16", "256", "16777216"});
  BuildSizeLabels(ppgTIFF2, Sizes, 8);
  S = AddSheet(ppgGIF2, "GIF");
  TabSheetGIF2 = S;
  AddLabel(S, 8, 8, "&Colors:", 58, ckLabel);
  ComboBox18 = AddCombo(S, 86, 4, 80, {"B/W", "4", "8", "16", "32", "64", "128", "256"});
  BuildSizeLabels(ppgGIF2, Sizes, 8);
}

void TfIOPreviews::FormCreate(TObject*) {
  TFont Font;
  Font.SetName("MS Sans Serif");
  Font.SetHeight(-11);
  Font.SetCharset(DEFAULT_CHARSET);
  Font.SetColor(clWindowText);
  Font.SetStyle({});
  ZezudId1->GetIO()->SetPreviewFont(&Font);
  ZezudId2->GetIO()->SetPreviewFont(&Font);
  CancelCaption = "&Cancel";
  for (TTrackBar* T : {TrackBar13, TrackBar2, TrackBar1}) T->SetThumbLength(10);
  for (TPanel* P : {Panel1, Panel3, Panel4, Panel5}) P->SetParentBackground(false);
  Button4->SetEnabled(false);
  ZezudId1->SetOnProgress(TIEProgressEvent(this, &TfIOPreviews::ViewProgress));
  ZezudId2->SetOnProgress(TIEProgressEvent(this, &TfIOPreviews::ViewProgress));
  ZezudId1->OnViewChange = TViewChangeEvent(this, &TfIOPreviews::SourceViewChange);
}

void TfIOPreviews::ApplyLanguage(TMsgLanguage Language) {
  for (const TCaptionEntry& E : FCaptions) {
    const std::string Text = Utf16ToUtf8(GetWord(E.Word, Language));
    switch (E.Kind) {
      case ckLabel:
        E.Control->SetText(Text + ":");
        break;
      case ckGroup:
        E.Control->SetText(" " + Text + " ");
        break;
      case ckPlain:
        E.Control->SetText(Text);
        break;
    }
  }
  CancelCaption = "&" + Utf16ToUtf8(GetWord(4, Language));
}

bool TfIOPreviews::SetPages(Word Pages) {
  FPages = Pages;
  if (Pages & iepFileType) {
    switch (FParams ? FParams->FileType : ioUnknown) {
      case ioTIFF:
        FPages |= iepTIFF;
        break;
      case ioGIF:
        FPages |= iepGIF;
        break;
      case ioJPEG:
        FPages |= iepJPEG;
        break;
      case ioPCX:
        FPages |= iepPCX;
        break;
      case ioBMP:
        FPages |= iepBMP;
        break;
      case ioPNG:
        FPages |= iepPNG;
        break;
      case ioTGA:
        FPages |= iepTGA;
        break;
      case ioJP2:
      case ioJ2K:
        FPages |= iepJ2000;
        break;
      default:
        break;
    }
  }
  // A set without any page would open an empty dialog.
  return (FPages & ~iepFileType) != 0;
}

void TfIOPreviews::SetSimplified(bool Value) {
  FSimplified = Value;
  if (!Value) return;
  const Integer PPI = Screen->GetPixelsPerInch();
  PageControl1->SetHeight(static_cast<Integer>(std::trunc(1.2708333 * PPI)));
  SetHeight(static_cast<Integer>(std::trunc(3.75 * PPI)));
}

void TfIOPreviews::SetPicture(TIEBitmap* Picture) {
  ZezudId1->AssignExternalBitmap(Picture);
  FShowsPicture = Picture != nullptr;
}

void TfIOPreviews::ReleasePicture() {
  // Only once: the view makes a new picture of its own each time it is asked.
  if (!FShowsPicture) return;
  FShowsPicture = false;
  ZezudId1->AssignExternalBitmap(nullptr);
}

TIEPreviewsPage TfIOPreviews::GetActivePreviewsPage() {
  TTabSheet* Active = PageControl1->GetActivePage();
  for (Integer I = 0; I < IEPreviewsPageCount; ++I)
    if (Sheets[I] == Active) return static_cast<TIEPreviewsPage>(I);
  return ppgJPEG;
}

// Page bit of each page, in TIEPreviewsPage order.
static constexpr Word PageBits[IEPreviewsPageCount] = {iepJPEG, iepTIFF,  iepGIF,  iepBMP,  iepPCX, iepPNG,
                                                       iepTGA,  iepJ2000, iepJPEG, iepTIFF, iepGIF};

void TfIOPreviews::ShowPages() {
  PageControl1->SetVisible(false);
  for (TTabSheet* S : Sheets) S->SetTabVisible(false);
  for (Integer I = 0; I < IEPreviewsPageCount; ++I) {
    const bool Simple = I >= ppgJPEG2;
    const bool HasSimple = I == ppgJPEG || I == ppgTIFF || I == ppgGIF;
    if (Simple != FSimplified && (Simple || HasSimple)) continue;
    Sheets[I]->SetTabVisible((FPages & iepAll) != 0 || (FPages & PageBits[I]) != 0);
  }
  if (FSimplified) ShowSimplifiedLayout();
  // The page of the parameters' file type comes first; else the first page shown.
  const TIEFileFormatInfo* Info = FParams ? FindFileFormatInfo(FParams->FileType) : nullptr;
  TTabSheet* Active = nullptr;
  for (Integer I = 0; I < IEPreviewsPageCount && !Active; ++I)
    if (Sheets[I]->GetTabVisible() && Info && (Info->DialogPage & PageBits[I])) Active = Sheets[I];
  if (!Active) Active = PageControl1->FindNextPage(nullptr, true, true);
  PageControl1->SetActivePage(Active);
}

void TfIOPreviews::ShowSimplifiedLayout() {
  for (TControl* C : std::initializer_list<TControl*>{
           LabelPngBackground, Panel1, GroupPNGAdvanced, LabelTgaBackground, Panel5, LabelTgaName, Edit13,
           LabelTgaDescription, Edit14, LabelJ2000Photometric, ComboBox15})
    C->SetVisible(false);
  for (TSizeLabels& L : SizeLabels) {
    L.OriginalCaption->SetLeft(8);
    L.OriginalCaption->SetTop(61);
    L.Original->SetLeft(8);
    L.Original->SetTop(77);
    L.CompressedCaption->SetLeft(150);
    L.CompressedCaption->SetTop(61);
    L.Compressed->SetLeft(150);
    L.Compressed->SetTop(77);
  }
  chkLockPreview->SetTop(static_cast<Integer>(std::trunc(3.1458333 * Screen->GetPixelsPerInch())));
}

void TfIOPreviews::FormActivate(TObject*) {
  // The form is activated again whenever a palette or colour window closes: the working
  // values must survive that.
  if (FActivated) return;
  FFilling = true;
  chkLockPreview->SetChecked(FDefaultLockPreview);
  Button3->SetEnabled(!chkLockPreview->GetChecked());
  ShowPages();
  const bool WithLZW = IETiffLzwCompressProc != nullptr;
  IETiffCompressionItems(WithLZW, ComboBox2->GetItems());
  IETiffCompressionItems(WithLZW, ComboBox16->GetItems());
  for (TZezudIdView* V : {ZezudId1, ZezudId2}) {
    V->SetChessboardStyle(12, bsSolid);
    V->SetBackgroundStyle(iebsChessboard);
  }
  PageControl1->SetVisible(true);
  LoadState();
  ShowState();
  ZezudId1->Fit();
  Application->ProcessMessages();
  PageControl1Change(PageControl1);
  FFilling = false;
  FActivated = true;
  UpdatePreview();
}

void TfIOPreviews::FormResize(TObject*) {
  if (IEDialogBackgroundStyle != 1 && IEDialogBackgroundStyle != 2) return;
  TBitmap* B = Image1->GetPicture()->GetBitmap();
  if (IEDialogBackgroundStyle == 1)
    IEMakeStripeBitmap(B, Image1->GetWidth(), Image1->GetHeight());
  else
    IEMakeNoiseBitmap(B, Image1->GetWidth(), Image1->GetHeight());
  Image1->Invalidate();
}

bool IOPreviewsExecute(TZezudIdIO* IO, Word Pages) {
  auto Form = std::make_unique<TfIOPreviews>(nullptr);
  const TIOPreviewsParams Options = IO->GetPreviewsParams();
  Form->SetDefaultLockPreview(Options.Contains(ioppDefaultLockPreview));
  Form->Button4->SetVisible(Options.Contains(ioppApplyButton));
  Form->SetParams(IO->GetParams());
  Form->SetSimplified(IO->GetSimplifiedParamsDialogs());
  Form->SetBlackWhiteConversion(IO->GetBlackWhiteConversion());
  Form->ApplyLanguage(IO->GetMsgLanguage());
  Form->SetFont(IO->GetPreviewFont());
  Form->SetPicture(IO->GetIEBitmap());
  bool Confirmed = false;
  if (Form->SetPages(Pages)) {
    if (IO->GetOnIOPreview()) IO->GetOnIOPreview()(IO, Form.get());
    Confirmed = Form->ShowModal() == mrOk;
  }
  Form->ReleasePicture();
  return Confirmed;
}
