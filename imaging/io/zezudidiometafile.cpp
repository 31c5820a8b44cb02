// TZezudIdIO's metafile operations: WMF and EMF files read by the platform's metafile and drawn
// into a 24-bit picture, with the unpainted pixels transparent on request.
#include <memory>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibbitmap.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Metafile.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"

namespace {

// The colour under a second drawing: pixels still showing it were not painted.
constexpr TColor MetafileKeyColor = static_cast<TColor>(66051);  // red 3, green 2, blue 1

// A DIB of the size filled with Fill, the metafile drawn over it.
bool DrawOnDib(TIEDibbitmap& Dib, TMetafile* Metafile, Integer Width, Integer Height, TColor Fill) {
  if (!Dib.AllocateBits(Width, Height, 24)) return false;
  TCanvas Canvas;
  Canvas.SetHandle(Dib.GetDeviceContext());
  auto Release = ScopeExit([&] { Canvas.SetHandle(nullptr); });
  Canvas.GetBrush()->SetStyle(bsSolid);
  Canvas.GetBrush()->SetColor(Fill);
  Canvas.FillRect(TRect{0, 0, Width, Height});
  Canvas.StretchDraw(TRect{0, 0, Width, Height}, Metafile);
  return true;
}

}  // namespace

bool TZezudIdIO::HandToThread(TIEIOThread::TFileMetafileProc Operation, const std::u16string& FileName,
                              Integer Width, Integer Height, bool WithAlpha) {
  if (MustRunNow()) return false;
  TThread::Create<TIEIOThread>(this, Operation, FileName, Width, Height, WithAlpha);
  return true;
}

void TZezudIdIO::RenderMetafile(TMetafile* Metafile, Integer Width, Integer Height, bool WithAlpha) {
  SetAborting(false);
  const Integer MW = Metafile->GetWidth(), MH = Metafile->GetHeight();
  if (MW == 0 || MH == 0) {
    SetAborting(true);
    return;
  }
  if (Width == 0 || Height == 0 || !MakeConsistentBitmap({})) return;
  FParams->ResetInfo();
  if (Width >= 1 && Height >= 1) {
    // taken as given
  } else if (Width < 0 && Height > 0) {
    Width = static_cast<Integer>(static_cast<Int64>(Height) * MW / MH);
  } else if (Height < 0 && Width > 0) {
    Height = static_cast<Integer>(static_cast<Int64>(MH) * Width / MW);
  } else {
    Width = MW, Height = MH;
  }
  const Integer Limit = IEMetafileMaxSize;
  if (Width > Limit || Height > Limit) {
    if (Width < Height) {
      Width = static_cast<Integer>(static_cast<Int64>(Width) * Limit / Height);
      Height = Limit;
    } else {
      Height = static_cast<Integer>(static_cast<Int64>(Height) * Limit / Width);
      Width = Limit;
    }
  }
  if (Width < 1 || Height < 1) {
    SetAborting(true);
    return;
  }
  Metafile->SetWidth(Width);
  Metafile->SetHeight(Height);

  TIEDibbitmap Dib;
  if (!DrawOnDib(Dib, Metafile, Width, Height, GetBackground())) {
    SetAborting(true);
    return;
  }
  TIOParamsVals& P = *FParams;
  P.FileName.clear();
  P.FileType = Metafile->GetEnhanced() ? ioEMF : ioWMF;
  P.BitsPerSample = 8;
  P.SamplesPerPixel = 3;
  P.Width = P.FileWidth = Width;
  P.Height = P.FileHeight = Height;
  P.SetDpiX(DefaultDpiX);
  P.SetDpiY(DefaultDpiY);
  P.FreeColorMap();
  UpdateViewDPI();
  FIEBitmap->CopyFromTIEDibBitmap(&Dib);
  Dib.FreeBits();
  FIEBitmap->RemoveAlphaChannel(false, 0);

  if (WithAlpha) {
    TIEDibbitmap Keyed;
    if (DrawOnDib(Keyed, Metafile, Width, Height, MetafileKeyColor)) {
      TIEBitmap* Alpha = FIEBitmap->GetAlphaChannel();
      for (Integer Y = 0; Y < Height; ++Y) {
        const auto* Src = static_cast<const Byte*>(Keyed.GetScanline(Y));
        auto* Dst = static_cast<Byte*>(Alpha->GetScanline(Y));
        for (Integer X = 0; X < Width; ++X, Src += 3)
          Dst[X] = (Src[0] == 1 && Src[1] == 2 && Src[2] == 3) ? 0 : 255;
      }
      FIEBitmap->SyncFull();
    }
  }
  UpdateAttachedView();
}

void TZezudIdIO::LoadFromFileMetafile(const std::u16string& FileName, Integer Width, Integer Height,
                                      bool WithAlpha) {
  if (HandToThread(&TZezudIdIO::LoadFromFileMetafile, FileName, Width, Height, WithAlpha)) return;
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TMetafile Metafile;
  SetAborting(true);
  Metafile.LoadFromFile(Utf16ToUtf8(FileName));
  RenderMetafile(&Metafile, Width, Height, WithAlpha);
  FParams->FileName = FileName;
}

void TZezudIdIO::LoadFromStreamMetafile(TStream* Stream, Integer Width, Integer Height, bool WithAlpha) {
  auto Finish = ScopeExit([this] { DoFinishWork(); });
  TMetafile Metafile;
  SetAborting(true);
  Metafile.LoadFromStream(Stream);
  RenderMetafile(&Metafile, Width, Height, WithAlpha);
}

void TZezudIdIO::ParamsFromMetafile(TStream* Stream) {
  TMetafile Metafile;
  Metafile.LoadFromStream(Stream);
  TIOParamsVals& P = *FParams;
  P.FileName.clear();
  P.FileType = Metafile.GetEnhanced() ? ioEMF : ioWMF;
  P.BitsPerSample = 8;
  P.SamplesPerPixel = 3;
  P.Width = P.FileWidth = Metafile.GetWidth();
  P.Height = P.FileHeight = Metafile.GetHeight();
  P.SetDpiX(DefaultDpiX);
  P.SetDpiY(DefaultDpiY);
  P.FreeColorMap();
}
