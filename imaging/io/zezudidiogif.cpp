// TZezudIdIO's GIF operations over the further-formats library's GIF filter. A load reads
// frame after frame from the file's start up to the wanted one and lays each over the logical
// screen by its position, transparency and the disposal of the frame before it.
#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/StringList.h"

namespace {

// A screen that claims far more pixels than the whole file could ever draw is refused before
// it is allocated: no LZW code is shorter than 3 bits nor gives more than 4096 pixels.
constexpr Int64 MaxPixelsPerFileByte = 8 * 4096 / 3;

struct TGifRect {
  Integer Left = 0, Top = 0, Right = 0, Bottom = 0;  // right and bottom excluded
};

// The logical screen the frames are laid on: ie24RGB with an alpha channel.
class TGifScreen {
 public:
  explicit TGifScreen(Int64 FileBytes) : FFileBytes(FileBytes), FScreen(std::make_unique<TIEBitmap>()) {}

  // Lays Frame (with its alpha channel when it has transparent pixels) at (Left, Top); false
  // when the screen cannot be had.
  bool Lay(TIEBitmap& Frame, const TIOParamsVals& Params) {
    const Integer Width = std::max(Params.GifWinWidth, Frame.GetWidth());
    const Integer Height = std::max(Params.GifWinHeight, Frame.GetHeight());
    FBackground = Params.GifBackground;
    if (FPreviousDisposal == 2) Clear(FPrevious);
    if (!Grow(Width, Height)) return false;
    if (Frame.GetPixelFormat() != ie24RGB) Frame.ConvertToPixelFormat(ie24RGB);
    TIEBitmap* FrameAlpha = Frame.HasAlphaChannel() ? Frame.GetAlphaChannel() : nullptr;
    TIEBitmap* Alpha = FScreen->GetAlphaChannel();
    // Frames that reach past the screen are cut at its edges.
    const TGifRect Area = Clip({Params.GifXPos, Params.GifYPos, Params.GifXPos + Frame.GetWidth(),
                                Params.GifYPos + Frame.GetHeight()});
    for (Integer Y = Area.Top; Y < Area.Bottom; ++Y) {
      const Integer FrameY = Y - Params.GifYPos;
      const auto* Source = static_cast<const TIERGBTriple*>(Frame.GetScanline(FrameY));
      const Byte* SourceAlpha =
          FrameAlpha ? static_cast<const Byte*>(FrameAlpha->GetScanline(FrameY)) : nullptr;
      auto* Dest = static_cast<TIERGBTriple*>(FScreen->GetScanline(Y));
      Byte* DestAlpha = static_cast<Byte*>(Alpha->GetScanline(Y));
      for (Integer X = Area.Left; X < Area.Right; ++X) {
        const Integer FrameX = X - Params.GifXPos;
        // A transparent pixel shows what the frames before left there.
        if (SourceAlpha && SourceAlpha[FrameX] == 0) continue;
        Dest[X] = Source[FrameX];
        DestAlpha[X] = 255;
      }
    }
    Alpha->SetFull(false);
    FPrevious = Area;
    FPreviousDisposal = Params.GifAction;
    return true;
  }

  TIEBitmap* Picture() { return FScreen.get(); }

 private:
  TGifRect Clip(const TGifRect& R) const {
    const Integer W = FScreen->GetWidth(), H = FScreen->GetHeight();
    return {std::clamp(R.Left, 0, W), std::clamp(R.Top, 0, H), std::clamp(R.Right, 0, W),
            std::clamp(R.Bottom, 0, H)};
  }

  // Background colour, alpha Opacity.
  void Paint(const TGifRect& R, Byte Opacity) {
    TIEBitmap* Alpha = FScreen->GetAlphaChannel();
    for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
      auto* Row = static_cast<TIERGBTriple*>(FScreen->GetScanline(Y));
      std::fill(Row + R.Left, Row + R.Right, FBackground);
      Byte* AlphaRow = static_cast<Byte*>(Alpha->GetScanline(Y));
      std::fill(AlphaRow + R.Left, AlphaRow + R.Right, Opacity);
    }
  }

  void Clear(const TGifRect& R) { Paint(Clip(R), 0); }

  // The first frame makes a transparent screen; a later frame larger than the screen enlarges
  // it, the new area in the background colour.
  bool Grow(Integer Width, Integer Height) {
    const Integer OldWidth = FScreen->GetWidth(), OldHeight = FScreen->GetHeight();
    if (OldWidth >= Width && OldHeight >= Height) return true;
    const Integer NewWidth = std::max(Width, OldWidth), NewHeight = std::max(Height, OldHeight);
    if (IEClaimExceedsData(static_cast<Int64>(NewWidth) * NewHeight, 1, FFileBytes, MaxPixelsPerFileByte))
      return false;
    auto Larger = std::make_unique<TIEBitmap>();
    if (!Larger->Allocate(NewWidth, NewHeight, ie24RGB) || !Larger->GetAlphaChannel()) return false;
    std::swap(Larger, FScreen);
    Paint({0, 0, NewWidth, NewHeight}, Larger->IsEmpty() ? 0 : 255);
    for (Integer Y = 0; Y < OldHeight; ++Y) {
      std::memcpy(FScreen->GetScanline(Y), Larger->GetScanline(Y), static_cast<size_t>(OldWidth) * 3);
      std::memcpy(FScreen->GetAlphaChannel()->GetScanline(Y), Larger->GetAlphaChannel()->GetScanline(Y),
                  static_cast<size_t>(OldWidth));
    }
    return true;
  }

  Int64 FFileBytes;
  std::unique_ptr<TIEBitmap> FScreen;
  TIERGBTriple FBackground{};
  TGifRect FPrevious;
  Integer FPreviousDisposal = 0;
};

}  // namespace

Integer TZezudIdIO::LoadGIFFrames(TStream* Stream) {
  SetAborting(false);
  if (!BeginLoad()) return 0;
  if (!IEFormatProcs.GifReadStream) {
    SetAborting(true);
    return 0;
  }
  const Int64 Start = Stream->GetPosition();
  const Integer Wanted = FParams->GifImageIndex;
  TIEIOProgress Progress = Wanted < 1 ? MakeProgress() : MakeSilentProgress();
  TGifScreen Screen(IEStreamBytesLeft(Stream));
  Integer FrameCount = 0;
  for (Integer I = 0;; ++I) {
    TIEBitmap Frame;
    Stream->SetPosition(Start);
    FParams->SetImageIndex(I);
    // Every frame read passes the file's comments again.
    FParams->GifComments->Clear();
    std::unique_ptr<TIEMask> AlphaMask;
    IEFormatProcs.GifReadStream(Stream, &Frame, FrameCount, *FParams, Progress, false, AlphaMask, false);
    if (GetAborting() || Frame.IsEmpty()) {
      SetAborting(true);
      break;
    }
    const TIEPixelFormat FrameFormat = Frame.GetPixelFormat();
    if (AlphaMask) Frame.GetAlphaChannel()->CopyFromTIEMask(AlphaMask.get());
    TIEBitmap* Shown = &Frame;
    if (FrameCount > 1) {
      if (!Screen.Lay(Frame, *FParams)) {
        SetAborting(true);
        break;
      }
      Shown = Screen.Picture();
      // The composed picture describes the whole screen.
      FParams->GifAction = 2;
      FParams->GifXPos = FParams->GifYPos = 0;
    }
    const bool Last = I + 1 >= FrameCount || I == Wanted;
    if (Last) {
      FIEBitmap->Assign(Shown);
      if (FIEBitmap->GetPixelFormat() != FrameFormat) FIEBitmap->ConvertToPixelFormat(FrameFormat);
    }
    DoProgress(this, static_cast<Integer>(I * (100.0 / FrameCount)));
    if (Last) break;
  }
  FParams->SetImageIndex(Wanted);
  ApplyDefaultDPI();
  if (FAutoAdjustDPI) AdjustDPI();
  const TIERGBTriple Background =
      FParams->GifHasTransparentColor ? FParams->GifTransparentColor : FParams->GifBackground;
  SetBackground(RGB(Background.rgbtRed, Background.rgbtGreen, Background.rgbtBlue));
  FParams->FileName.clear();
  FParams->FileType = ioGIF;
  UpdateAttachedView();
  return FrameCount;
}

void TZezudIdIO::WriteGIFStream(TStream* Stream) {
  SetAborting(false);
  if (!PictureReady()) return;
  if (!IEFormatProcs.GifWriteStream) {
    SetAborting(true);
    return;
  }
  TIEIOProgress Progress = MakeProgress();
  IEFormatProcs.GifWriteStream(Stream, FIEBitmap, *FParams, Progress);
}

Integer TZezudIdIO::LoadFromFileGIF(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::LoadFromFileGIF, FileName)) return -1;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  const Integer FrameCount = LoadGIFFrames(&File);
  FParams->FileName = FileName;
  return FrameCount;
}

Integer TZezudIdIO::LoadFromStreamGIF(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::LoadFromStreamGIF, Stream)) return -1;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  return LoadGIFFrames(Stream);
}

void TZezudIdIO::SaveToFileGIF(const std::u16string& FileName) {
  if (HandToThread(&TZezudIdIO::SaveToFileGIF, FileName)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  if (!PictureReady()) return;
  WriteReplacingFile(FileName, [this](TStream* Stream) { WriteGIFStream(Stream); });
  FParams->FileName = FileName;
  FParams->FileType = ioGIF;
}

void TZezudIdIO::SaveToStreamGIF(TStream* Stream) {
  if (HandToThread(&TZezudIdIO::SaveToStreamGIF, Stream)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  WriteGIFStream(Stream);
}
