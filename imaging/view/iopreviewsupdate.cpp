// The save dialog at work: the working copy shown in and read from the controls, the change
// handlers, the preview of the compressed result, the colour panels, OK and Apply.
#include <algorithm>
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iepalettedialog.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/view/iopreviews.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Screen.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"

namespace {

constexpr const char* ResultFailed = "Result can not be shown but parameters may be entered";

// Takes what is written and keeps only its extent: the size of a file without the file.
class TIENullStream : public TStream {
 public:
  Integer Read(void*, Integer) override { return 0; }
  Integer Write(const void*, Integer Count) override {
    if (Count <= 0) return 0;
    FPosition += Count;
    FSize = std::max(FSize, FPosition);
    return Count;
  }
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override {
    const Int64 Base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : FSize;
    if (Base + Offset < 0) return -1;
    FPosition = Base + Offset;
    return FPosition;
  }
  Int64 GetSize() override { return FSize; }
  void SetSize(Int64 NewSize) override {
    FSize = std::max<Int64>(NewSize, 0);
    FPosition = std::min(FPosition, FSize);
  }

 private:
  Int64 FPosition = 0;
  Int64 FSize = 0;
};

// Silences the change handlers for a scope.
class TFillingScope {
 public:
  explicit TFillingScope(bool& Flag) : FFlag(Flag), FWas(Flag) { Flag = true; }
  ~TFillingScope() { FFlag = FWas; }

 private:
  bool& FFlag;
  bool FWas;
};

TColor ColorOf(const TIERGBTriple& C) {
  return static_cast<TColor>(C.rgbtRed | (C.rgbtGreen << 8) | (C.rgbtBlue << 16));
}

std::string Bytes(Int64 Count) {
  return IntToStr(Count) + " bytes";
}

Integer Number(TEdit* Edit, Integer Default = 0) {
  return StrToIntDef(Edit->GetText(), Default);
}

void SetNumber(TEdit* Edit, Integer Value) {
  if (StrToIntDef(Edit->GetText(), Value == -1 ? 0 : -1) != Value) Edit->SetText(IntToStr(Value));
}

// The colours the stand-in for the platform's colour dialog offers.
constexpr TColor BasicColors[] = {
    0x8080FF, 0x80FFFF, 0x80FF80, 0x80FF00, 0xFFFF80, 0xFF8000, 0xC080FF, 0xFF80FF, 0x0000FF, 0x00FFFF,
    0x00FF80, 0x40FF00, 0xFFFF00, 0xC08000, 0xC08080, 0xFF00FF, 0x404080, 0x4080FF, 0x00FF00, 0x808000,
    0x804000, 0xFF8080, 0x400080, 0x8000FF, 0x000080, 0x0080FF, 0x008000, 0x408000, 0xFF0000, 0xA00000,
    0x800080, 0xFF0080, 0x000040, 0x004080, 0x004000, 0x404000, 0x800000, 0x400000, 0x400040, 0x800040,
    0x000000, 0x008080, 0x408080, 0x808080, 0x808040, 0xC0C0C0, 0x400040, 0xFFFFFF,
};

}  // namespace

// ---- Working copy and controls --------------------------------------------------------------

void TfIOPreviews::LoadState() {
  if (FParams) IEPreviewsLoadState(*FParams, FState);
}

void TfIOPreviews::ShowState() {
  TFillingScope Quiet(FFilling);
  TIEPreviewsState& S = FState;
  const bool WithLZW = IETiffLzwCompressProc != nullptr;
  for (TEdit* E : {Edit22, Edit16}) SetNumber(E, S.JpegQuality);
  for (TTrackBar* T : {TrackBar13, TrackBar2}) T->SetPosition(S.JpegQuality);
  ComboBox1->SetItemIndex(S.JpegDCTMethod);
  SetNumber(Edit23, S.JpegSmooth);
  ComboBox13->SetItemIndex(S.JpegColorSpace <= 2 ? S.JpegColorSpace : -1);
  CheckBox2->SetChecked(S.JpegOptimalHuffman);
  CheckBox3->SetChecked(S.JpegProgressive);

  IEPreviewsShowTiff(S, FSimplified);
  ComboBox2->SetItemIndex(CompressionToIndex(S.TiffCompression, WithLZW));
  ComboBox16->SetItemIndex(CompressionToIndex(S.TiffCompression, WithLZW));
  SetNumber(Edit1, S.TiffImageIndex);
  ComboBox3->SetItemIndex(S.TiffPhotometric <= 7 ? S.TiffPhotometric : -1);
  ComboBox4->SetItemIndex(S.TiffColors);
  ComboBox17->SetItemIndex(S.TiffSimpleColors);
  SetNumber(Edit2, S.TiffXPos);
  SetNumber(Edit3, S.TiffYPos);
  Edit4->SetText(S.TiffDocumentName);
  Edit5->SetText(S.TiffImageDescription);
  Edit6->SetText(S.TiffPageName);
  SetNumber(Edit7, S.TiffPageNumber);
  SetNumber(Edit8, S.TiffPageCount);

  SetNumber(Edit9, S.GifImageIndex);
  ComboBox5->SetItemIndex(S.GifBits - 1);
  ComboBox18->SetItemIndex(S.GifBits - 1);
  CheckBox4->SetChecked(S.GifTransparent);
  LabelGifTransparentColor->SetEnabled(S.GifTransparent);
  Panel3->SetEnabled(S.GifTransparent);
  Panel3->SetColor(ColorOf(S.GifTransparentColor));
  CheckBox5->SetChecked(S.GifInterlaced);
  Panel4->SetColor(ColorOf(S.GifBackground));
  SetNumber(Edit12, S.GifDelay);
  SetNumber(Edit10, S.GifLeft);
  SetNumber(Edit11, S.GifTop);

  ComboBox6->SetItemIndex(S.BmpRunLength ? 1 : 0);
  ComboBox7->SetItemIndex(S.BmpColors);
  ComboBox8->SetItemIndex(S.PcxCompression <= 1 ? S.PcxCompression : -1);
  ComboBox9->SetItemIndex(S.PcxColors);

  ComboBox10->SetItemIndex(S.PngColors);
  Panel1->SetColor(ColorOf(S.PngBackground));
  ComboBox11->SetItemIndex(S.PngFilter <= 2 ? S.PngFilter : -1);
  CheckBox6->SetChecked(S.PngInterlaced);
  ComboBox12->SetItemIndex(std::clamp(S.PngCompression, 0, 9));

  ComboBox14->SetItemIndex(S.TgaColors);
  Panel5->SetColor(ColorOf(S.TgaBackground));
  CheckBox1->SetChecked(S.TgaCompressed);
  Edit13->SetText(S.TgaName);
  Edit14->SetText(S.TgaDescription);

  const Integer Rate = static_cast<Integer>(std::lround(S.J2000Rate * 1000));
  SetNumber(Edit15, Rate);
  TrackBar1->SetPosition(Rate);
  ComboBox15->SetItemIndex(S.J2000ColorSpace <= 2 ? S.J2000ColorSpace : -1);

  TIEBitmap* Source = ZezudId1->GetIEBitmap();
  const std::string Original =
      Source ? Bytes(static_cast<Int64>(Source->GetRowLen()) * Source->GetHeight()) : "---";
  for (TSizeLabels& L : SizeLabels) L.Original->SetCaption(Original);
}

void TfIOPreviews::StoreState() {
  if (FParams) IEPreviewsStoreState(FState, GetActivePreviewsPage(), *FParams);
}

void TfIOPreviews::ReadControl(TObject* Sender) {
  TIEPreviewsState& S = FState;
  const bool WithLZW = IETiffLzwCompressProc != nullptr;
  auto Index = [](TComboBox* C) { return C->GetItemIndex(); };
  // The values other controls show follow without running their handlers.
  TFillingScope Quiet(FFilling);
  if (Sender == TrackBar13 || Sender == TrackBar2) {
    S.JpegQuality = static_cast<TTrackBar*>(Sender)->GetPosition();
    for (TTrackBar* T : {TrackBar13, TrackBar2}) T->SetPosition(S.JpegQuality);
    for (TEdit* E : {Edit22, Edit16}) SetNumber(E, S.JpegQuality);
  } else if (Sender == ComboBox1) {
    if (Index(ComboBox1) >= 0) S.JpegDCTMethod = static_cast<Byte>(Index(ComboBox1));
  } else if (Sender == Edit23) {
    S.JpegSmooth = Number(Edit23);
  } else if (Sender == ComboBox13) {
    // CMYK and YCbCrK are offered but stored as nothing.
    if (Index(ComboBox13) >= 0 && Index(ComboBox13) <= 2)
      S.JpegColorSpace = static_cast<Byte>(Index(ComboBox13));
  } else if (Sender == CheckBox2) {
    S.JpegOptimalHuffman = CheckBox2->GetChecked();
  } else if (Sender == CheckBox3) {
    S.JpegProgressive = CheckBox3->GetChecked();
  } else if (Sender == ComboBox2) {
    S.TiffCompression = IndexToCompression(Index(ComboBox2), WithLZW);
  } else if (Sender == Edit1) {
    S.TiffImageIndex = Number(Edit1);
  } else if (Sender == ComboBox3) {
    if (Index(ComboBox3) >= 0) IEPreviewsTiffPhotometricChosen(S, static_cast<Byte>(Index(ComboBox3)));
    ComboBox4->SetItemIndex(S.TiffColors);
  } else if (Sender == ComboBox4) {
    if (Index(ComboBox4) >= 0) IEPreviewsTiffColorsChosen(S, Index(ComboBox4));
    ComboBox3->SetItemIndex(S.TiffPhotometric);
  } else if (Sender == ComboBox16) {
    IEPreviewsTiffSimpleCompressionChosen(S, IndexToCompression(Index(ComboBox16), WithLZW));
    ComboBox17->SetItemIndex(S.TiffSimpleColors);
  } else if (Sender == ComboBox17) {
    if (Index(ComboBox17) >= 0) IEPreviewsTiffSimpleColorsChosen(S, Index(ComboBox17));
    ComboBox16->SetItemIndex(CompressionToIndex(S.TiffCompression, WithLZW));
  } else if (Sender == Edit2) {
    S.TiffXPos = Number(Edit2);
  } else if (Sender == Edit3) {
    S.TiffYPos = Number(Edit3);
  } else if (Sender == Edit4) {
    S.TiffDocumentName = Edit4->GetText();
  } else if (Sender == Edit5) {
    S.TiffImageDescription = Edit5->GetText();
  } else if (Sender == Edit6) {
    S.TiffPageName = Edit6->GetText();
  } else if (Sender == Edit7) {
    S.TiffPageNumber = Number(Edit7);
  } else if (Sender == Edit8) {
    S.TiffPageCount = Number(Edit8);
  } else if (Sender == Edit9) {
    S.GifImageIndex = Number(Edit9);
  } else if (Sender == ComboBox5 || Sender == ComboBox18) {
    const Integer I = Index(static_cast<TComboBox*>(Sender));
    if (I >= 0) S.GifBits = I + 1;
    ComboBox5->SetItemIndex(S.GifBits - 1);
    ComboBox18->SetItemIndex(S.GifBits - 1);
  } else if (Sender == CheckBox4) {
    S.GifTransparent = CheckBox4->GetChecked();
    LabelGifTransparentColor->SetEnabled(S.GifTransparent);
    Panel3->SetEnabled(S.GifTransparent);
  } else if (Sender == CheckBox5) {
    S.GifInterlaced = CheckBox5->GetChecked();
  } else if (Sender == Edit12) {
    S.GifDelay = Number(Edit12);
  } else if (Sender == Edit10) {
    S.GifLeft = Number(Edit10);
  } else if (Sender == Edit11) {
    S.GifTop = Number(Edit11);
  } else if (Sender == ComboBox6) {
    S.BmpRunLength = Index(ComboBox6) == 1;
  } else if (Sender == ComboBox7) {
    if (Index(ComboBox7) >= 0) S.BmpColors = Index(ComboBox7);
  } else if (Sender == ComboBox8) {
    S.PcxCompression = Index(ComboBox8) == 1 ? 1 : 0;
  } else if (Sender == ComboBox9) {
    if (Index(ComboBox9) >= 0) S.PcxColors = Index(ComboBox9);
  } else if (Sender == ComboBox10) {
    if (Index(ComboBox10) >= 0) S.PngColors = Index(ComboBox10);
  } else if (Sender == ComboBox11) {
    if (Index(ComboBox11) >= 0) S.PngFilter = static_cast<Byte>(Index(ComboBox11));
  } else if (Sender == CheckBox6) {
    S.PngInterlaced = CheckBox6->GetChecked();
  } else if (Sender == ComboBox12) {
    if (Index(ComboBox12) >= 0) S.PngCompression = Index(ComboBox12);
  } else if (Sender == ComboBox14) {
    if (Index(ComboBox14) >= 0) S.TgaColors = Index(ComboBox14);
  } else if (Sender == CheckBox1) {
    S.TgaCompressed = CheckBox1->GetChecked();
  } else if (Sender == Edit13) {
    S.TgaName = Edit13->GetText();
  } else if (Sender == Edit14) {
    S.TgaDescription = Edit14->GetText();
  } else if (Sender == TrackBar1) {
    S.J2000Rate = TrackBar1->GetPosition() / 1000.0;
    SetNumber(Edit15, TrackBar1->GetPosition());
  } else if (Sender == ComboBox15) {
    if (Index(ComboBox15) >= 0) S.J2000ColorSpace = static_cast<Byte>(Index(ComboBox15));
    S.J2000Rate = TrackBar1->GetPosition() / 1000.0;
  }
}

// ---- Handlers -------------------------------------------------------------------------------

void TfIOPreviews::ControlChange(TObject* Sender) {
  if (FFilling) return;
  ReadControl(Sender);
  ParamsChanged();
}

void TfIOPreviews::ParamsChanged() {
  if (chkLockPreview->GetChecked()) {
    UpdatePreview();
    ZezudId2->Invalidate();
  }
  Button4->SetEnabled(true);
}

void TfIOPreviews::JpegQualityTextChange(TObject* Sender) {
  if (FFilling) return;
  // The track bar's own handler stores the value and writes it back as text.
  const Integer Quality = Number(static_cast<TEdit*>(Sender), 50);
  TTrackBar* Track = Sender == Edit16 ? TrackBar2 : TrackBar13;
  if (Track->GetPosition() != Quality) Track->SetPosition(Quality);
}

void TfIOPreviews::J2000RateTextChange(TObject*) {
  if (FFilling) return;
  const Integer Rate = Number(Edit15, 1000);
  if (TrackBar1->GetPosition() != Rate) TrackBar1->SetPosition(Rate);
}

void TfIOPreviews::chkLockPreviewClick(TObject*) {
  Button3->SetEnabled(!chkLockPreview->GetChecked());
  if (!FFilling && chkLockPreview->GetChecked()) UpdatePreview();
}

void TfIOPreviews::PageControl1Change(TObject*) {
  {
    TFillingScope Quiet(FFilling);
    LoadState();
    ShowState();
  }
  if (chkLockPreview->GetChecked()) UpdatePreview();
  Button4->SetEnabled(false);
}

void TfIOPreviews::Button1Click(TObject*) {
  StoreState();
}

void TfIOPreviews::Button3Click(TObject*) {
  UpdatePreview();
}

void TfIOPreviews::Button4Click(TObject*) {
  StoreState();
  Button4->SetEnabled(false);
}

void TfIOPreviews::ViewProgress(TObject*, Integer Percent) {
  ProgressBar1->SetPosition(Percent / std::max(FProgressDivisor, 1) + FProgressOffset);
}

void TfIOPreviews::SourceViewChange(TObject*, Integer) {
  FollowSourceView();
}

void TfIOPreviews::FollowSourceView() {
  ZezudId2->SetZoom(ZezudId1->GetZoom());
  ZezudId2->SetViewXY(ZezudId1->GetViewX(), ZezudId1->GetViewY());
}

// ---- Preview --------------------------------------------------------------------------------

void TfIOPreviews::SetCompressedSize(TIEPreviewsPage Page, Int64 Size) {
  SizeLabels[Page].Compressed->SetCaption(Bytes(Size));
}

void TfIOPreviews::UpdatePreview() {
  if (!FActivated) return;
  const TCursor OldCursor = Screen->GetCursor();
  Screen->SetCursor(crHourGlass);
  ZezudId1->GetIO()->SetBlackWhiteConversion(FBlackWhiteConversion);
  FProgressOffset = 0;
  const TIEPreviewsPage Page = GetActivePreviewsPage();
  try {
    if (Page == ppgJPEG || Page == ppgJPEG2 || Page == ppgJ2000)
      PreviewJpeg(Page == ppgJ2000);
    else
      PreviewOther(Page);
  } catch (const Exception&) {
    SetCaption(ResultFailed);
  }
  ProgressBar1->SetPosition(0);
  FProgressOffset = 0;
  FProgressDivisor = 1;
  Screen->SetCursor(OldCursor);
  FollowSourceView();
}

void TfIOPreviews::PreviewJpeg(bool J2000) {
  TZezudIdIO* Source = ZezudId1->GetIO();
  TIOParamsVals& Params = *Source->GetParams();
  const TIEPreviewsPage Page = GetActivePreviewsPage();
  IEPreviewsStoreState(FState, Page, Params);
  if (J2000) {
    Params.BitsPerSample = 8;
    Params.SamplesPerPixel = 3;
  }
  FProgressDivisor = 2;
  TMemoryStream Stream;
  if (J2000)
    Source->SaveToStreamJ2K(&Stream);
  else
    Source->SaveToStreamJpeg(&Stream);
  if (J2000) {
    SetCompressedSize(ppgJ2000, Stream.GetSize());
  } else {
    SetCompressedSize(ppgJPEG, Stream.GetSize());
    SetCompressedSize(ppgJPEG2, Stream.GetSize());
  }
  Stream.SetPosition(0);
  FProgressOffset = 50;
  TZezudIdIO* Result = ZezudId2->GetIO();
  if (J2000)
    Result->LoadFromStreamJ2K(&Stream);
  else
    Result->LoadFromStreamJpeg(&Stream);
  if (Source->GetAborting() || Result->GetAborting()) SetCaption(ResultFailed);
}

void TfIOPreviews::PreviewOther(TIEPreviewsPage Page) {
  TZezudIdIO* Source = ZezudId1->GetIO();
  TIOParamsVals& Params = *Source->GetParams();
  IEPreviewsStoreState(FState, Page, Params);
  FProgressDivisor = 1;
  TIENullStream Counter;
  switch (IEPreviewsFileType(Page)) {
    case ioTIFF:
      Source->SaveToStreamTIFF(&Counter);
      break;
    case ioGIF:
      Source->SaveToStreamGIF(&Counter);
      break;
    case ioBMP:
      Source->SaveToStreamBMP(&Counter);
      break;
    case ioPCX:
      Source->SaveToStreamPCX(&Counter);
      break;
    case ioPNG:
      Source->SaveToStreamPNG(&Counter);
      break;
    case ioTGA:
      Source->SaveToStreamTGA(&Counter);
      break;
    default:
      break;
  }
  SetCompressedSize(Page, Counter.GetSize());
  try {
    ZezudId2->Assign(ZezudId1);
  } catch (const Exception&) {
    SetCaption(ResultFailed);
    return;
  }
  ZezudId2->GetIO()->GetParams()->Assign(Params);
  ReduceResult(Page);
  ZezudId2->Update();
}

void TfIOPreviews::ReduceResult(TIEPreviewsPage Page) {
  TIOParamsVals& R = *ZezudId2->GetIO()->GetParams();
  TZezudIdProc* Proc = ZezudId2->GetProc();
  const auto Method = static_cast<TIEDitherMethod>(FBlackWhiteConversion);
  const Integer Count = IEColorCount(R.BitsPerSample, R.SamplesPerPixel);
  auto ToPalette = [&] {
    if (Count <= 256) {
      R.ColorMap.assign(static_cast<size_t>(Count), TIERGBTriple{});
      Proc->ConvertToPalette(Count, R.ColorMap.data(), Method);
    } else {
      R.FreeColorMap();
    }
  };
  switch (IEPreviewsFileType(Page)) {
    case ioGIF:
    case ioPNG:
    case ioTGA:
      ToPalette();
      break;
    case ioBMP:
    case ioPCX:
      if (Count <= 256) Proc->ConvertTo(Count, Method);
      break;
    case ioTIFF:
      // A grey of more than one bit shows as grey; two-level grey goes by the palette.
      if (R.SamplesPerPixel == 1 && R.TiffPhotometric <= 1 && R.BitsPerSample > 1) {
        Proc->ConvertToGray();
        R.FreeColorMap();
      } else if (R.TiffPhotometric < 5) {
        ToPalette();
      }
      break;
    default:
      break;
  }
}

// ---- Colour panels --------------------------------------------------------------------------

bool TfIOPreviews::ChooseColor(TPanel*, bool FromPalette, Integer PaletteColors, TIERGBTriple& Color) {
  TZezudIdPaletteDialog Dialog(nullptr);
  Dialog.CancelButton->SetCaption(CancelCaption);
  std::vector<TIERGBTriple> Basic;
  if (FromPalette) {
    Dialog.SetPalette(ZezudId2->GetIO()->GetParams()->ColorMap.data(), PaletteColors);
  } else {
    // The platform has no colour window of its own: the basic colours stand in for it.
    for (TColor C : BasicColors) Basic.push_back(IEColorToRGB(C));
    Dialog.SetPalette(Basic.data(), static_cast<Integer>(Basic.size()));
  }
  if (!Dialog.Execute()) return false;
  Color = IEColorToRGB(Dialog.GetChosenColor());
  return true;
}

void TfIOPreviews::ColorPanelClick(TObject* Sender) {
  TIEPreviewsState& S = FState;
  TIOParamsVals& R = *ZezudId2->GetIO()->GetParams();
  TIERGBTriple* Target = nullptr;
  const bool Gif = Sender == Panel3 || Sender == Panel4;
  if (Sender == Panel3)
    Target = &S.GifTransparentColor;
  else if (Sender == Panel4)
    Target = &S.GifBackground;
  else if (Sender == Panel1)
    Target = &S.PngBackground;
  else if (Sender == Panel5)
    Target = &S.TgaBackground;
  if (!Target) return;
  bool FromPalette = true;
  Integer Colors = 0;
  if (Gif) {
    if (R.ColorMap.empty()) UpdatePreview();
    Colors = 1 << std::clamp(S.GifBits, 1, 8);
  } else {
    FromPalette = !R.ColorMap.empty();
    Colors = IEColorCount(R.BitsPerSample, R.SamplesPerPixel);
  }
  // Never more cells than the palette holds.
  Colors = std::min(Colors, R.GetColorMapCount());
  if (FromPalette && Colors <= 0) return;
  TIERGBTriple Chosen{};
  if (!ChooseColor(static_cast<TPanel*>(Sender), FromPalette, Colors, Chosen)) return;
  *Target = Chosen;
  static_cast<TPanel*>(Sender)->SetColor(ColorOf(Chosen));
  ParamsChanged();
}
