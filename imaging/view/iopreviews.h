#pragma once
// TfIOPreviews: the modal "Parameters preview" form in which the user picks the settings for
// saving a picture as JPEG, TIFF, GIF, BMP, PCX, PNG, TGA or JPEG 2000 while seeing the
// compressed size and the decoded result. TZezudIdIO::DoPreviews opens it through
// IEPreviewsDialog (IOPreviewsExecute below, installed by the view library's start-up).
//
// The settings live in a working copy (TIEPreviewsState), one group per page. The rules that
// tie lists to parameter values are free functions over that copy so that they run without a
// window; the form only moves values between the copy and its controls.
//
// Files: iopreviews.cpp (the form's layout, language, pages), iopreviewsstate.cpp (the working
// copy and its rules), iopreviewsupdate.cpp (change handlers, the preview, OK and Apply).
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/classes/ComCtrls.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/StdCtrls.h"

class TIEBitmap;
class TZezudIdIO;
class TZezudIdView;

// Page-set bits of DoPreviews and SetPages.
constexpr Word iepAll = 1;
constexpr Word iepFileType = 2;
constexpr Word iepJPEG = 4;
constexpr Word iepTIFF = 8;
constexpr Word iepGIF = 16;
constexpr Word iepBMP = 32;
constexpr Word iepPCX = 64;
constexpr Word iepPNG = 128;
constexpr Word iepTGA = 256;
constexpr Word iepJ2000 = 512;

// The pages of the form, in tab order; the simplified JPEG, TIFF and GIF pages follow the full
// ones.
enum TIEPreviewsPage : Byte {
  ppgJPEG,
  ppgTIFF,
  ppgGIF,
  ppgBMP,
  ppgPCX,
  ppgPNG,
  ppgTGA,
  ppgJ2000,
  ppgJPEG2,
  ppgTIFF2,
  ppgGIF2,
};
constexpr Integer IEPreviewsPageCount = 11;

// The colour lists and the (samples, bits) of their entries.
enum TIEColorList : Byte {
  iclTIFF,        // B/W, 16, 256, 65536, 16M
  iclTIFFSimple,  // 2, 16, 256, 16777216
  iclBMP,         // B/W, 16, 256, 16M, 16M (32bit)
  iclPCX,         // B/W, 16, 256, 16M
  iclPNG,         // B/W, 256, 16M (the TGA list too)
};
Integer IEColorListCount(TIEColorList List);
void IEColorListEntry(TIEColorList List, Integer Index, Integer& Samples, Integer& Bits);
// The entry of (Samples, Bits); -1 when the list has none.
Integer IEColorListIndex(TIEColorList List, Integer Samples, Integer Bits);

// The TIFF compression list: "UNCOMPRESSED", "CCITT1D", "G3FAX1D", "G3FAX2D", "G4FAX", "LZW"
// (only with an LZW coder), "JPEG", "PACKBITS", "ZIP" for the values 0-5, 7, 8, 9.
void IETiffCompressionItems(bool WithLZW, TStrings* Items);

// The working copy of every page's settings.
struct TIEPreviewsState {
  // JPEG (both pages).
  Integer JpegQuality = 80;
  Byte JpegDCTMethod = 0;
  Integer JpegSmooth = 0;
  Byte JpegColorSpace = 2;  // 0 RGB, 1 grey, 2 YCbCr; 3 and 4 have no list entry
  bool JpegOptimalHuffman = false;
  bool JpegProgressive = false;
  // TIFF. Samples and bits are the ones the colour lists stand for.
  Integer TiffCompression = 0;
  Integer TiffImageIndex = 0;
  Byte TiffPhotometric = 2;
  Integer TiffSamples = 3;
  Integer TiffBits = 8;
  Integer TiffColors = 4;        // index in the full list
  Integer TiffSimpleColors = 3;  // index in the simplified list
  Integer TiffXPos = 0;
  Integer TiffYPos = 0;
  std::string TiffDocumentName;
  std::string TiffImageDescription;
  std::string TiffPageName;
  Integer TiffPageNumber = -1;
  Integer TiffPageCount = -1;
  TTiffLzwCompressProc TiffLzwCompressProc = nullptr;
  TTiffLzwDecompressProc TiffLzwDecompressProc = nullptr;
  // GIF: the colour list's index is BitsPerSample - 1.
  Integer GifImageIndex = 0;
  Integer GifBits = 8;
  bool GifTransparent = false;
  TIERGBTriple GifTransparentColor{};
  bool GifInterlaced = false;
  TIERGBTriple GifBackground{};
  Integer GifDelay = 0;
  Integer GifLeft = 0;
  Integer GifTop = 0;
  // BMP.
  bool BmpRunLength = false;
  Integer BmpColors = 3;
  // PCX.
  Byte PcxCompression = 1;
  Integer PcxColors = 3;
  // PNG.
  Integer PngColors = 2;
  TIERGBTriple PngBackground{};
  Byte PngFilter = 0;
  bool PngInterlaced = false;
  Integer PngCompression = 5;
  // TGA.
  Integer TgaColors = 2;
  TIERGBTriple TgaBackground{};
  bool TgaCompressed = true;
  std::string TgaName;
  std::string TgaDescription;
  // JPEG 2000.
  Double J2000Rate = 1.0;
  Byte J2000ColorSpace = 1;
};

// Every page's values from Params; list indices come from samples and bits where a list has
// the pair, else they stay as they were.
void IEPreviewsLoadState(const TIOParamsVals& Params, TIEPreviewsState& State);
// How the colour lists show the TIFF samples and bits before the page is shown: the pair picks
// the entry (65536 on the full list only), then on the full page the photometric value has its
// say; on the simplified page CCITT compressions stand for 1 bit and JPEG for 24 bits.
void IEPreviewsShowTiff(TIEPreviewsState& State, bool Simplified);
// The choice of a photometric value or a colour entry on the full TIFF page, with the value
// the other list takes; updates the samples and bits.
void IEPreviewsTiffPhotometricChosen(TIEPreviewsState& State, Byte Photometric);
void IEPreviewsTiffColorsChosen(TIEPreviewsState& State, Integer Index);
// The same on the simplified page: compression Value (a TIFF compression code) or an entry of
// the simplified colour list.
void IEPreviewsTiffSimpleCompressionChosen(TIEPreviewsState& State, Integer Value);
void IEPreviewsTiffSimpleColorsChosen(TIEPreviewsState& State, Integer Index);
// Writes the values of Page into Params and sets its file type.
void IEPreviewsStoreState(const TIEPreviewsState& State, TIEPreviewsPage Page, TIOParamsVals& Params);
// The file type a page saves.
TIEFileType IEPreviewsFileType(TIEPreviewsPage Page);

// The arrows beside a number field: the native up-down control with its buddy, which writes
// the position into the field as plain digits.
class TIEUpDown : public TWinControl {
 public:
  explicit TIEUpDown(TComponent* AOwner);
  TWinControl* GetAssociate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value) { FAssociate = Value; }
  Integer GetMin() const { return FMin; }
  Integer GetMax() const { return FMax; }
  void SetRange(Integer Min, Integer Max);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  TWinControl* FAssociate = nullptr;
  Integer FMin = 0;
  Integer FMax = 100;
};

class TfIOPreviews : public TForm {
 public:
  explicit TfIOPreviews(TComponent* AOwner);
  ~TfIOPreviews() override;

  // Stores the page set; with iepFileType the page of the parameters' file type joins it.
  // False when the set is exactly iepFileType (no page to show).
  bool SetPages(Word Pages);
  Word GetPages() const { return FPages; }
  void ApplyLanguage(TMsgLanguage Language);

  // The caller's parameters (not owned); OK and Apply write into them.
  void SetParams(TIOParamsVals* Params) { FParams = Params; }
  TIOParamsVals* GetParams() const { return FParams; }
  // Simplified pages; also sets the page control's and the form's height from the screen.
  void SetSimplified(bool Value);
  bool GetSimplified() const { return FSimplified; }
  void SetDefaultLockPreview(bool Value) { FDefaultLockPreview = Value; }
  void SetBlackWhiteConversion(Byte Mode) { FBlackWhiteConversion = Mode; }
  // The picture to save, shown (not owned) in ZezudId1 until ReleasePicture.
  void SetPicture(TIEBitmap* Picture);
  void ReleasePicture();

  // The working values and the page they are shown on.
  TIEPreviewsState& GetState() { return FState; }
  TIEPreviewsPage GetActivePreviewsPage();
  bool GetActivated() const { return FActivated; }

  // Working copy <-> controls.
  void LoadState();
  void ShowState();
  // Writes the active page into the caller's parameters.
  void StoreState();
  void UpdatePreview();
  static Integer CompressionToIndex(Integer Compression, bool WithLZW);
  static Integer IndexToCompression(Integer Index, bool WithLZW);

  // Controls, under their resource names.
  TImage* Image1 = nullptr;
  TLabel* LabelSource = nullptr;
  TLabel* LabelResult = nullptr;
  TZezudIdView* ZezudId1 = nullptr;
  TZezudIdView* ZezudId2 = nullptr;
  TButton* Button1 = nullptr;  // OK
  TButton* Button2 = nullptr;  // Cancel
  TButton* Button3 = nullptr;  // Preview
  TButton* Button4 = nullptr;  // Apply
  TCheckBox* chkLockPreview = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheetJPEG1 = nullptr;
  TTabSheet* TabSheetJPEG2 = nullptr;
  TTabSheet* TabSheetTIFF1 = nullptr;
  TTabSheet* TabSheetTIFF2 = nullptr;
  TTabSheet* TabSheetGIF1 = nullptr;
  TTabSheet* TabSheetGIF2 = nullptr;
  TTabSheet* TabSheetBMP1 = nullptr;
  TTabSheet* TabSheetPCX1 = nullptr;
  TTabSheet* TabSheetPNG1 = nullptr;
  TTabSheet* TabSheetTGA1 = nullptr;
  TTabSheet* TabSheetJ20001 = nullptr;
  // JPEG.
  TEdit* Edit22 = nullptr;
  TTrackBar* TrackBar13 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TEdit* Edit23 = nullptr;
  TIEUpDown* UpDown11 = nullptr;
  TComboBox* ComboBox13 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TCheckBox* CheckBox3 = nullptr;
  TGroupBox* GroupJPEGAdvanced = nullptr;
  TEdit* Edit16 = nullptr;
  TTrackBar* TrackBar2 = nullptr;
  // TIFF.
  TComboBox* ComboBox2 = nullptr;
  TEdit* Edit1 = nullptr;
  TIEUpDown* UpDown1 = nullptr;
  TComboBox* ComboBox3 = nullptr;
  TComboBox* ComboBox4 = nullptr;
  TGroupBox* GroupTIFFDocument = nullptr;
  TEdit* Edit2 = nullptr;
  TEdit* Edit3 = nullptr;
  TEdit* Edit4 = nullptr;
  TEdit* Edit5 = nullptr;
  TEdit* Edit6 = nullptr;
  TEdit* Edit7 = nullptr;
  TEdit* Edit8 = nullptr;
  TComboBox* ComboBox16 = nullptr;
  TComboBox* ComboBox17 = nullptr;
  // GIF.
  TEdit* Edit9 = nullptr;
  TIEUpDown* UpDown2 = nullptr;
  TComboBox* ComboBox5 = nullptr;
  TCheckBox* CheckBox4 = nullptr;
  TLabel* LabelGifTransparentColor = nullptr;
  TPanel* Panel3 = nullptr;
  TCheckBox* CheckBox5 = nullptr;
  TPanel* Panel4 = nullptr;
  TGroupBox* GroupGIFAdvanced = nullptr;
  TEdit* Edit12 = nullptr;
  TEdit* Edit10 = nullptr;
  TEdit* Edit11 = nullptr;
  TComboBox* ComboBox18 = nullptr;
  // BMP and PCX.
  TComboBox* ComboBox6 = nullptr;
  TComboBox* ComboBox7 = nullptr;
  TComboBox* ComboBox8 = nullptr;
  TComboBox* ComboBox9 = nullptr;
  // PNG.
  TComboBox* ComboBox10 = nullptr;
  TLabel* LabelPngBackground = nullptr;
  TPanel* Panel1 = nullptr;
  TGroupBox* GroupPNGAdvanced = nullptr;
  TComboBox* ComboBox11 = nullptr;
  TCheckBox* CheckBox6 = nullptr;
  TComboBox* ComboBox12 = nullptr;
  // TGA.
  TComboBox* ComboBox14 = nullptr;
  TLabel* LabelTgaBackground = nullptr;
  TPanel* Panel5 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TLabel* LabelTgaName = nullptr;
  TEdit* Edit13 = nullptr;
  TLabel* LabelTgaDescription = nullptr;
  TEdit* Edit14 = nullptr;
  // JPEG 2000.
  TEdit* Edit15 = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TLabel* LabelJ2000Photometric = nullptr;
  TComboBox* ComboBox15 = nullptr;

  // The size captions and values of a page.
  struct TSizeLabels {
    TLabel* OriginalCaption = nullptr;
    TLabel* Original = nullptr;
    TLabel* CompressedCaption = nullptr;
    TLabel* Compressed = nullptr;
  };
  TSizeLabels SizeLabels[IEPreviewsPageCount];
  TTabSheet* Sheets[IEPreviewsPageCount] = {};

  // The cancel caption of the palette dialogs.
  std::string CancelCaption = "&Cancel";

  // Handlers (public so that tests can drive them as the controls would).
  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormResize(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button3Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void chkLockPreviewClick(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void ControlChange(TObject* Sender);
  void JpegQualityTextChange(TObject* Sender);
  void J2000RateTextChange(TObject* Sender);
  void ColorPanelClick(TObject* Sender);
  void ViewProgress(TObject* Sender, Integer Percent);
  void SourceViewChange(TObject* Sender, Integer Change);

 private:
  // How ApplyLanguage dresses a word: a label takes a colon, a group a space on each side.
  enum TCaptionKind : Byte { ckPlain, ckLabel, ckGroup };
  static constexpr Byte NoWord = 255;
  struct TCaptionEntry {
    TControl* Control;
    Byte Word;
    TCaptionKind Kind;
  };

  TLabel* AddLabel(TWinControl* Parent, Integer Left, Integer Top, const std::string& Caption, Byte Word,
                   TCaptionKind Kind);
  TComboBox* AddCombo(TWinControl* Parent, Integer Left, Integer Top, Integer Width,
                      std::initializer_list<const char*> Items);
  TEdit* AddEdit(TWinControl* Parent, Integer Left, Integer Top, Integer Width);
  TCheckBox* AddCheck(TWinControl* Parent, Integer Left, Integer Top, const std::string& Caption, Byte Word,
                      TCaptionKind Kind);
  TGroupBox* AddGroup(TWinControl* Parent, TRect Bounds, const std::string& Caption, Byte Word);
  TPanel* AddColorPanel(TWinControl* Parent, Integer Left, Integer Top);
  TTrackBar* AddTrackBar(TWinControl* Parent, Integer Left, Integer Top, Integer Max);
  TIEUpDown* AddUpDown(TWinControl* Parent, TEdit* Buddy, Integer Max);
  TTabSheet* AddSheet(TIEPreviewsPage Page, const std::string& Caption);
  void BuildPages();
  void BuildSizeLabels(TIEPreviewsPage Page, Integer Left, Integer Top);
  void ShowPages();
  void ShowSimplifiedLayout();
  void ReadControl(TObject* Sender);
  void ParamsChanged();
  void PreviewJpeg(bool J2000);
  void PreviewOther(TIEPreviewsPage Page);
  void ReduceResult(TIEPreviewsPage Page);
  void FollowSourceView();
  void SetCompressedSize(TIEPreviewsPage Page, Int64 Size);
  bool ChooseColor(TPanel* Panel, bool FromPalette, Integer PaletteColors, TIERGBTriple& Color);

  std::vector<TCaptionEntry> FCaptions;
  TIOParamsVals* FParams = nullptr;
  TIEPreviewsState FState;
  Word FPages = iepAll;
  bool FSimplified = false;
  bool FDefaultLockPreview = false;
  Byte FBlackWhiteConversion = 0;
  bool FFilling = false;  // the controls are being filled: the change handlers stay quiet
  bool FActivated = false;
  bool FShowsPicture = false;  // ZezudId1 shows the caller's picture
  Integer FProgressOffset = 0;
  Integer FProgressDivisor = 1;
};

// DoPreviews' dialog: creates the form, hands it IO's settings and picture, shows it when
// the page set allows, and answers whether it was closed with OK.
bool IOPreviewsExecute(TZezudIdIO* IO, Word Pages);
