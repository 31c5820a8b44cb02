// TGIFImage: the picture class (loading, saving, palettes, drawing, painters, assignment,
// clipboard) and the unit's registration with TPicture.
#include "pictures/GIFImage.h"

#include <algorithm>
#include <cstring>

#include "pictures/GIFColorReduce.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/Clock.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/Clipboard.h"
#include "platform/user/GlobalMemory.h"
#include "platform/user/WindowPaint.h"

TGIFPaintFlags GIFImageDefaultPaintFlags = 0x068F;
Byte GIFImageDefaultColorReduction = crWeb216;
Integer GIFImageDefaultColorReductionBits = 8;
Byte GIFImageDefaultDitherMode = dkNone;
TGIFEncoding GIFImageDefaultEncoding = geLZW;
Byte GIFImageDefaultThreadPriority = tpNormal;
Integer GIFImageDefaultAnimationSpeed = 100;
bool ScreenNeedsDither = false;
bool ScreenIsPaletted = false;
UINT GIFClipboardFormat = 0;
bool RenderFramesOnLoad = false;
bool CompactOnStream = false;

namespace {

Integer StartupCount = 0;
bool ScreenQueried = false;

// The screen's depth is asked once the display exists: at the first picture, not while the
// program's static data is set up.
void QueryScreen() {
  if (ScreenQueried) return;
  ScreenQueried = true;
  HDC DC = GetDC(nullptr);
  if (!DC) return;
  const Integer Bits = GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES);
  ReleaseDC(nullptr, DC);
  ScreenIsPaletted = ScreenNeedsDither = Bits <= 8;
}

// The unit's start-up and shut-down.
struct TGIFUnit {
  TGIFUnit() { GIFImageStartup(); }
  ~TGIFUnit() { GIFImageShutdown(); }
} GIFUnit;

}  // namespace

void GIFImageStartup() {
  if (StartupCount++ != 0) return;
  TPicture::RegisterFileFormat("GIF", "GIF Image", GraphicClassOf<TGIFImage>());
  GIFClipboardFormat = RegisterClipboardFormat("GIF Image");
  TPicture::RegisterClipboardFormat(GIFClipboardFormat, GraphicClassOf<TGIFImage>());
}

void GIFImageShutdown() {
  if (StartupCount <= 0 || --StartupCount != 0) return;
  TPicture::UnregisterGraphicClass(GraphicClassOf<TGIFImage>());
}

TGIFImage::TGIFImage()
    : PaintFlags(GIFImageDefaultPaintFlags),
      ReductionMethod(GIFImageDefaultColorReduction),
      ReductionDepth(GIFImageDefaultColorReductionBits),
      DitherKind(GIFImageDefaultDitherMode),
      Encoding(GIFImageDefaultEncoding),
      PainterPriority(GIFImageDefaultThreadPriority),
      SpeedPercent(GIFImageDefaultAnimationSpeed),
      BackdropColor(clNone) {
  QueryScreen();
  FFrames = std::make_unique<TGIFImageList>(this);
  FHeader = std::make_unique<TGIFHeader>(this);
  FPainterList = std::make_unique<TThreadList>();
  Reset();
}

TGIFImage::~TGIFImage() {
  HaltAllPainters();
  {
    TList* List = FPainterList->LockList();
    auto Unlock = ScopeExit([&] { FPainterList->UnlockList(); });
    for (Integer I = 0; I < List->GetCount(); ++I) static_cast<TGIFPainter*>(List->Get(I))->FImage = nullptr;
  }
  Reset();
  if (FScreenPalette) DeleteObject(FScreenPalette);
  FScreenPalette = nullptr;
  FPainterList.reset();
  FFrames.reset();
  FHeader.reset();
}

void TGIFImage::Reset() {
  HaltAllPainters();
  DropBackBitmap();
  FFrames->Clear();
  FHeader->ColorMap()->Reset();
  FHeader->Screen.Width = 0;
  FHeader->Screen.Height = 0;
  FHeader->PackFlags();
  SetPalette(nullptr);
}

void TGIFImage::Warn(TObject* Sender, Byte Severity, const std::string& Message) {
  if (OnGIFWarning) OnGIFWarning(Sender, Severity, Message);
}

void TGIFImage::Progress(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow,
                         const std::string& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, TRect{0, 0, 0, 0}, Msg);
}

void TGIFImage::LoadFromStream(TStream* Stream) {
  Progress(this, psStarting, 0, false, "Loading...");
  Reset();
  const Int64 Start = Stream->GetPosition();
  try {
    FHeader->LoadFromStream(Stream);
    FFrames->ReadItems(Stream, this);
    FitScreenToFrames();
    TGIFTrailer Trailer(this);
    Trailer.LoadFromStream(Stream);
  } catch (...) {
    Stream->SetPosition(Start);
    Progress(this, psEnding, 0, true, "Loading...");
    throw;
  }
  Progress(this, psEnding, 100, true, "Loading...");
}

void TGIFImage::SaveToStream(TStream* Stream) {
  Progress(this, psStarting, 0, false, "Saving...");
  try {
    FHeader->SaveToStream(Stream);
    for (Integer I = 0; I < FFrames->Count(); ++I) {
      FFrames->SubImage(I)->SaveToStream(Stream);
      Progress(this, psRunning, static_cast<Byte>((I + 1) * 100 / FFrames->Count()), false, "Saving...");
    }
    TGIFTrailer Trailer(this);
    Trailer.SaveToStream(Stream);
  } catch (...) {
    Progress(this, psEnding, 0, true, "Saving...");
    throw;
  }
  Progress(this, psEnding, 100, true, "Saving...");
}

void TGIFImage::WriteData(TStream* Stream) {
  if (CompactOnStream) Compact(cfCrop | cfMerge | cfTidy | cfColorMaps | cfReduce, 0, 0, 8);
  TGraphic::WriteData(Stream);
}

HPALETTE TGIFImage::GetPalette() {
  if (FInPaletteQuery) RaiseGIFError("No global or local color table defined");
  FInPaletteQuery = true;
  auto Done = ScopeExit([&] { FInPaletteQuery = false; });
  if (FBackBitmap) {
    HPALETTE P = FBackBitmap->GetPalette();
    if (P) return P;
  }
  if (FScreenPalette) return FScreenPalette;
  if (DitherActive()) {
    FScreenPalette = CreateWebPalette();
    return FScreenPalette;
  }
  if (FHeader->ColorMap()->Count() > 0) {
    FScreenPalette = FHeader->ColorMap()->ToPalette();
    return FScreenPalette;
  }
  if (FFrames->Count() > 0) return FFrames->SubImage(0)->ResolvePalette();
  return nullptr;
}

void TGIFImage::SetPalette(HPALETTE Value) {
  if (Value == FScreenPalette) return;
  if (FScreenPalette) DeleteObject(FScreenPalette);
  FScreenPalette = Value;
  if (FBackBitmap && (Value == nullptr || Value != FBackBitmap->GetPalette())) {
    DropBackBitmap();
    PaletteModified = true;
    Changed(this);
  }
}

void TGIFImage::SetWidth(Integer Value) {
  for (Integer I = 0; I < FFrames->Count(); ++I) {
    TGIFSubImage* F = FFrames->SubImage(I);
    if (F->GetLeft() + F->GetWidth() > Value) RaiseGIFError("Image width too small for contained frames");
  }
  if (Value == GetWidth()) return;
  FHeader->Screen.Width = static_cast<Word>(std::clamp<Integer>(Value, 0, 0xFFFF));
  DropBackBitmap();
  Changed(this);
}

void TGIFImage::SetHeight(Integer Value) {
  for (Integer I = 0; I < FFrames->Count(); ++I) {
    TGIFSubImage* F = FFrames->SubImage(I);
    if (F->GetTop() + F->GetHeight() > Value) RaiseGIFError("Image height too small for contained frames");
  }
  if (Value == GetHeight()) return;
  FHeader->Screen.Height = static_cast<Word>(std::clamp<Integer>(Value, 0, 0xFFFF));
  DropBackBitmap();
  Changed(this);
}

Integer TGIFImage::AppendFrame(TPersistent* Source) {
  TGIFSubImage* Frame;
  if (auto* Sub = dynamic_cast<TGIFSubImage*>(Source)) {
    Frame = Sub;
  } else if (auto* Graphic = dynamic_cast<TGraphic*>(Source)) {
    auto New = std::make_unique<TGIFSubImage>(this);
    New->Assign(Graphic);
    Frame = New.release();
  } else {
    RaiseGIFError("Object type not supported for operation");
  }
  const Integer Index = FFrames->Add(Frame);
  DropBackBitmap();
  Changed(this);
  return Index;
}

void TGIFImage::FitScreenToFrames() {
  for (Integer I = 0; I < FFrames->Count(); ++I) {
    TGIFSubImage* F = FFrames->SubImage(I);
    const Integer Right = F->GetLeft() + F->GetWidth(), Bottom = F->GetTop() + F->GetHeight();
    if (Right > FHeader->Screen.Width) FHeader->Screen.Width = static_cast<Word>(std::min(Right, 0xFFFF));
    if (Bottom > FHeader->Screen.Height) FHeader->Screen.Height = static_cast<Word>(std::min(Bottom, 0xFFFF));
  }
}

Integer TGIFImage::FileVersion() {
  Integer Version = 0;
  for (Integer I = 0; I < FFrames->Count() && Version < 2; ++I)
    Version = std::max(Version, FFrames->SubImage(I)->RequiredVersion());
  return Version;
}

Integer TGIFImage::MaxBitsPerPixel() {
  Integer Bits = FHeader->ColorMap()->Depth();
  for (Integer I = 0; I < FFrames->Count(); ++I)
    Bits = std::max(Bits, FFrames->SubImage(I)->LocalColors()->Depth());
  return Bits;
}

Integer TGIFImage::MaxColorResolution() {
  return std::max<Integer>(MaxBitsPerPixel() - 1, 0);
}

TColor TGIFImage::ScreenBackground() {
  return FHeader->ColorMap()->ColorAt(FHeader->Screen.BackgroundIndex);
}

bool TGIFImage::DitherActive() const {
  if (!(PaintFlags & gpDither)) return false;
  if (PaintFlags & gpAutoDither) return ScreenNeedsDither;
  return true;
}

TBitmap* TGIFImage::StillBitmap() {
  if (Empty()) return nullptr;
  if (FBackBitmap) return FBackBitmap.get();
  FBackBitmap = std::make_unique<TBitmap>();
  FBackBitmap->OnChange = TNotifyEvent(this, &TGIFImage::HookedChanged);
  TGIFSubImage* First = FFrames->SubImage(0);
  if (First->GetWidth() == GetWidth() && First->GetHeight() == GetHeight()) {
    FBackBitmap->Assign(First->FrameImage());
  } else {
    FBackBitmap->SetPalette(GetPalette());
    FBackBitmap->SetHeight(GetHeight());
    FBackBitmap->SetWidth(GetWidth());
    First->PaintTo(FBackBitmap->GetCanvas(), FBackBitmap->GetCanvas()->GetClipRect(), false, false);
  }
  return FBackBitmap.get();
}

TBitmap* TGIFImage::MakeBackBitmap() {
  if (FBackBitmap) return FBackBitmap.get();
  FBackBitmap = std::make_unique<TBitmap>();
  FBackBitmap->OnChange = TNotifyEvent(this, &TGIFImage::HookedChanged);
  FBackBitmap->SetPalette(GetPalette());
  FBackBitmap->SetHeight(GetHeight());
  FBackBitmap->SetWidth(GetWidth());
  return FBackBitmap.get();
}

void TGIFImage::DropBackBitmap() {
  if (FActivePainter) FActivePainter->StopPainting();
  FBackBitmap.reset();
}

TGIFPainter* TGIFImage::StartPainter(TGIFPainter*& Slot, TCanvas* Canvas, TGIFPaintFlags Flags,
                                     const TRect& Rect) {
  Slot = nullptr;
  if (Empty() || Rect.Right <= Rect.Left || Rect.Bottom <= Rect.Top) return nullptr;
  if (FFrames->Count() == 1) Flags &= static_cast<TGIFPaintFlags>(~(gpThreaded | gpAnimate));
  auto* Painter = new TGIFPainter(this, Flags, Rect, Canvas, &Slot);
  FPainterList->Add(Painter);
  Painter->OnPainterStart = OnPainterStart;
  Painter->OnBeforeFrame = OnBeforeFrame;
  Painter->OnAfterFrame = OnAfterFrame;
  Painter->OnRepeat = OnRepeat;
  Painter->OnPainterEnd = OnPainterEnd;
  if (Flags & gpThreaded) {
    Painter->SetPriority(static_cast<TThreadPriority>(std::min<Integer>(PainterPriority, tpTimeCritical)));
    return Painter;
  }
  // Runs to its end here; an exception it kept comes back to the caller.
  Painter->RunInline();
  std::exception_ptr Kept = Painter->TakeKeptException();
  delete Painter;
  Slot = nullptr;
  if (Kept) std::rethrow_exception(Kept);
  return nullptr;
}

void TGIFImage::HaltPainters(bool OnlyActive) {
  for (;;) {
    Integer Threaded = 0;
    {
      TList* List = FPainterList->LockList();
      auto Unlock = ScopeExit([&] { FPainterList->UnlockList(); });
      if (List->GetCount() == 0) break;
      if (OnlyActive) {
        if (FActivePainter) {
          FActivePainter->StopPainting();
          if (FActivePainter->IsThreaded()) ++Threaded;
        }
      } else {
        for (Integer I = 0; I < List->GetCount(); ++I) {
          auto* P = static_cast<TGIFPainter*>(List->Get(I));
          P->StopPainting();
          if (P->IsThreaded()) ++Threaded;
        }
      }
    }
    if (Threaded == 0) break;
    if (IsMainThread())
      while (CheckSynchronize(0)) {
      }
    Sleep(0);
  }
}

void TGIFImage::HaltAllPainters() {
  HaltPainters(false);
  DropBackBitmap();
}

void TGIFImage::HaltDrawPainter() {
  HaltPainters(true);
  DropBackBitmap();
}

void TGIFImage::PutBackBitmap(TCanvas* ACanvas, const TRect& Rect) {
  TBitmap* Back = StillBitmap();
  if (!Back) return;
  if (PaintFlags & gpTiled) {
    const Integer W = std::max<Integer>(GetWidth(), 1), H = std::max<Integer>(GetHeight(), 1);
    for (Integer X = Rect.Left; X < Rect.Right; X += W)
      for (Integer Y = Rect.Top; Y < Rect.Bottom; Y += H)
        ACanvas->StretchDraw(TRect{X, Y, X + W, Y + H}, Back);
  } else {
    ACanvas->StretchDraw(Rect, Back);
  }
}

void TGIFImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (FInDraw || FFrames->Count() == 0) return;
  FInDraw = true;
  auto Done = ScopeExit([&] { FInDraw = false; });
  if (FFrames->Count() == 1 || !(PaintFlags & gpAnimate)) {
    const Integer Index = (StillFrame >= 0 && StillFrame < FFrames->Count()) ? StillFrame : 0;
    FFrames->SubImage(Index)->PaintTo(ACanvas, Rect, (PaintFlags & gpTransparent) != 0,
                                      (PaintFlags & gpTiled) != 0);
    return;
  }
  if (FBackBitmap && !(PaintFlags & gpDirect)) {
    PutBackBitmap(ACanvas, Rect);
    return;
  }
  {
    FPainterList->LockList();
    auto Unlock = ScopeExit([&] { FPainterList->UnlockList(); });
    if (FActivePainter && FActivePainter->GetCanvas() == ACanvas && FActivePainter->GetRect() == Rect) return;
    HaltDrawPainter();
    TCanvas* Target = ACanvas;
    TRect TargetRect = Rect;
    if (!(PaintFlags & gpDirect)) {
      TBitmap* Back = MakeBackBitmap();
      Target = Back->GetCanvas();
      TargetRect = Target->GetClipRect();
      // Transparent parts show what was under the picture.
      Target->CopyRect(TargetRect, ACanvas, Rect);
    }
    TGIFPainter* Painter = StartPainter(FActivePainter, Target, PaintFlags, TargetRect);
    if (Painter) Painter->Launch();
  }
  if (PaintFlags & gpDirect) return;
  while (FActivePainter && !FActivePainter->GetStarted() && !FActivePainter->GetTerminated())
    if (!CheckSynchronize(0)) Sleep(0);
  PutBackBitmap(ACanvas, Rect);
}

void TGIFImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (Source == nullptr) {
    Reset();
    return;
  }
  if (auto* Src = dynamic_cast<TGIFImage*>(Source)) {
    Reset();
    OnProgress = Src->OnProgress;
    OnGIFWarning = Src->OnGIFWarning;
    auto Clear = ScopeExit([&] {
      OnGIFWarning.Clear();
      OnProgress.Clear();
    });
    Progress(this, psStarting, 0, false, "Copying...");
    try {
      FHeader->Assign(Src->FHeader.get());
      PainterPriority = Src->PainterPriority;
      BackdropColor = Src->BackdropColor;
      PaintFlags = Src->PaintFlags;
      ReductionMethod = Src->ReductionMethod;
      DitherKind = Src->DitherKind;
      StillFrame = Src->StillFrame;
      OnPainterStart = Src->OnPainterStart;
      OnBeforeFrame = Src->OnBeforeFrame;
      OnAfterFrame = Src->OnAfterFrame;
      OnRepeat = Src->OnRepeat;
      OnPainterEnd = Src->OnPainterEnd;
      const Integer Count = Src->FFrames->Count();
      for (Integer I = 0; I < Count; ++I) {
        auto Frame = std::make_unique<TGIFSubImage>(this);
        Frame->Assign(Src->FFrames->SubImage(I));
        AppendFrame(Frame.release());
        Progress(this, psRunning, static_cast<Byte>((I + 1) * 100 / Count), false, "Copying...");
      }
      FitScreenToFrames();
    } catch (...) {
      Progress(this, psEnding, 0, false, "Copying...");
      throw;
    }
    Progress(this, psEnding, 100, false, "Copying...");
    return;
  }
  Reset();
  auto Frame = std::make_unique<TGIFSubImage>(this);
  try {
    Frame->Assign(Source);
  } catch (EConvertError&) {
    Frame.reset();
    TGraphic::Assign(Source);
    return;
  }
  AppendFrame(Frame.release());
}

void TGIFImage::AssignTo(TPersistent* Dest) {
  if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest)) {
    Bitmap->Assign(StillBitmap());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TGIFImage::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) {
  if (AData == nullptr) AData = GetClipboardData(AFormat);
  if (AFormat == GIFClipboardFormat && AFormat != 0 && AData) {
    const std::size_t Size = GlobalSize(static_cast<HGLOBAL>(AData));
    const void* Bytes = GlobalLock(static_cast<HGLOBAL>(AData));
    TMemoryStream Stream;
    if (Bytes && Size > 0) Stream.WriteBuffer(Bytes, static_cast<Integer>(Size));
    GlobalUnlock(static_cast<HGLOBAL>(AData));
    Stream.SetPosition(0);
    LoadFromStream(&Stream);
    return;
  }
  if (AFormat == CF_BITMAP && AData) {
    TBitmap Bitmap;
    Bitmap.LoadFromClipboardFormat(AFormat, AData, APalette);
    Assign(&Bitmap);
    return;
  }
  RaiseGIFError("Unsupported clipboard format");
}

void TGIFImage::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) {
  if (Empty()) return;
  StillBitmap()->SaveToClipboardFormat(AFormat, AData, APalette);
  TMemoryStream Stream;
  SaveToStream(&Stream);
  HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE, static_cast<std::size_t>(Stream.GetSize()));
  if (!Block) return;
  if (void* Bytes = GlobalLock(Block)) {
    std::memcpy(Bytes, Stream.GetMemory(), static_cast<std::size_t>(Stream.GetSize()));
    GlobalUnlock(Block);
  }
  if (!SetClipboardData(GIFClipboardFormat, Block)) {
    GlobalFree(Block);
    RaiseGIFError("Failed to store GIF on clipboard");
  }
}
