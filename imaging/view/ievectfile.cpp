// The objects stream ("IEV" and a version character) and the combined layers-and-objects stream.
// Reading decodes the whole stream before it touches the control, so a refused or damaged file
// leaves the objects as they were.
#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/iezlib.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/ievect.h"
#include "imaging/view/zezudidviewlayerfields.h"
#include "imaging/view/zezudidviewlayerfile.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"
#include "platform/system/Strings.h"

bool IsAllStream(TStream* Stream) {
  const Int64 Saved = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->SetPosition(Saved); });
  Byte B[4];
  if (Stream->Read(B, 4) != 4) return false;
  const Integer Offset =
      static_cast<Integer>(B[0] | B[1] << 8 | B[2] << 16 | static_cast<Cardinal>(B[3]) << 24);
  if (Offset < 0 || Offset > Stream->GetSize()) return false;
  if (!IsLayersStream(Stream)) return false;
  Stream->SetPosition(Offset);
  return IsIEVStream(Stream);
}

namespace {

void WriteFontBlock(TIEFieldWriter& W, const LOGFONTA* Font) {
  W.UInt8(Font ? 1 : 0);
  if (!Font) return;
  Byte Block[IEVLogFontSize];
  IEVLogFontToBytes(*Font, Block);
  W.Bytes(Block, sizeof Block);
}

}  // namespace

// ---- Writing ----

void TZezudIdVect::WriteObjectRecord(TStream* Stream, Integer hobj, const TIEVObject& O) {
  TIEFieldWriter W;
  W.Int32(hobj);
  W.Int32(O.X1);
  W.Int32(O.Y1);
  W.Int32(O.X2);
  W.Int32(O.Y2);
  W.UInt8(O.Kind);
  W.UInt8(O.KeepAspect);
  W.UInt8(O.BlendOperation);
  const TIEVSoftShadow Shadow = O.SoftShadow ? *O.SoftShadow : TIEVSoftShadow();
  W.Bool(Shadow.Enabled);
  W.Float64(Shadow.Radius);
  W.Int32(Shadow.OffsetX);
  W.Int32(Shadow.OffsetY);
  W.Int32(Shadow.Intensity);
  W.UInt8(Shadow.ShadowColor.rgbtBlue);
  W.UInt8(Shadow.ShadowColor.rgbtGreen);
  W.UInt8(Shadow.ShadowColor.rgbtRed);
  W.String(O.Name);
  W.Bytes(O.Reserved.data(), 4);
  W.Int32(O.PenColor);
  W.UInt8(O.PenStyle);
  W.Int32(O.PenWidth);
  W.Int32(O.BrushColor);
  W.UInt8(O.BrushStyle);
  W.UInt8(O.Style);
  W.Int32(O.Transparency);
  W.UInt8(O.Highlight);
  W.UInt8(O.FontQuality);
  // Only data the control owns has a known size; a borrowed pointer is stored as none.
  if (O.UserDataLen > 0 && O.UserData) {
    W.Int32(O.UserDataLen);
    W.Bytes(O.UserData, static_cast<std::size_t>(O.UserDataLen));
  } else {
    W.Int32(0);
  }
  if (O.Kind == ievoLineLabel) {
    W.Int32(O.LabelBrushColor);
    W.UInt8(O.LabelBrushStyle);
    W.UInt8(O.LabelPosition);
    W.UInt8(O.LabelBorder);
  }
  if (O.Kind == ievoLine || O.Kind == ievoLineLabel) {
    W.UInt8(O.BeginShape);
    W.UInt8(O.EndShape);
    W.Int32(O.ShapeWidth);
    W.Int32(O.ShapeLength);
  }
  if (O.Kind == ievoArc) {
    W.Float64(O.ArcStart);
    W.Float64(O.ArcEnd);
  }
  if (O.Kind == ievoBitmap) {
    W.Int32(O.BitmapIndex);
    W.UInt8(O.BitmapBorder);
    W.String(O.Text);
  }
  if (IEVIsTextKind(O.Kind)) {
    W.UInt8(O.TextAlign);
    W.UInt8(O.TextAutoSize);
    W.String(O.Text);
    WriteFontBlock(W, O.LogFont.get());
    W.Int32(O.CurveCount());
    if (O.CurveCount() > 0) {
      for (const TIEVPointD& P : O.CurvePoints) {
        W.Float64(P.X);
        W.Float64(P.Y);
      }
      W.Int32(O.CurveCharAngle);
    }
  }
  if (O.Kind == ievoMemo) {
    W.String(O.Text);
    WriteFontBlock(W, O.LogFont.get());
    const bool HasFormats = !O.MemoCharFormats.empty();
    W.Bool(HasFormats);
    if (HasFormats) {
      // One index per character, whatever the array holds.
      for (std::size_t I = 0; I < O.Text.size(); ++I)
        W.Int32(I < O.MemoCharFormats.size() ? O.MemoCharFormats[I] : 0);
      W.Int32(static_cast<Integer>(O.MemoFormats.size()));
      Byte Record[IECharFormatSize];
      for (const TIECharFormat& F : O.MemoFormats) {
        IECharFormatWrite(F, Record);
        W.Bytes(Record, sizeof Record);
      }
    }
    W.UInt8(O.MemoFixedFormat);
    W.UInt8(O.TextAutoSize);
    W.Int32(O.MemoLineSpacing);
    W.Int32(O.MemoBorderColor);
    W.UInt8(O.MemoBorderStyle);
    W.UInt8(O.TextAlign);
    W.Int32(O.MemoFixedLineHeight);
    W.UInt8(O.MemoHasBitmap);
    if (O.MemoHasBitmap) {
      W.Int32(O.BitmapIndex);
      W.UInt8(O.BitmapBorder);
    }
    for (const Double M : O.MemoMargins) W.Float64(M);
    W.UInt8(O.MemoBackgroundStyle);
  }
  W.UInt8(O.TextEditable);
  if (O.Kind == ievoRuler) {
    W.UInt8(O.RulerUnit);
    W.UInt8(O.RulerType);
    WriteFontBlock(W, O.LogFont.get());
  }
  if (O.Kind == ievoPolyline) {
    W.Int32(O.PolyCount());
    for (const TPoint& P : O.PolyPoints) {
      W.Int32(P.X);
      W.Int32(P.Y);
    }
    W.Int32(O.PolyBase.Left);
    W.Int32(O.PolyBase.Top);
    W.Int32(O.PolyBase.Right);
    W.Int32(O.PolyBase.Bottom);
    W.UInt8(O.PolyClosed);
  }
  if (O.Kind == ievoAngle) {
    for (const TPoint& P : O.AnglePoints) {
      W.Int32(P.X);
      W.Int32(P.Y);
    }
    WriteFontBlock(W, O.LogFont.get());
  }
  if (O.Kind == ievoExtension) {
    W.UInt8(O.Extension ? 1 : 0);
    if (O.Extension) W.String(O.Extension->GetClassName());
  }
  W.FlushTo(Stream);
  if (O.Kind == ievoExtension && O.Extension) O.Extension->SaveToStream(Stream);
}

void TZezudIdVect::SaveToStreamIEV(TStream* Stream) {
  CompactBitmaps();
  const Int64 Start = Stream->GetPosition();
  TIEFieldWriter W;
  W.Bytes("IEV", 3);
  W.UInt8(static_cast<Byte>(IEVLastVersion));
  W.Int32(0);  // the length, filled in at the end
  W.Float64(FMeasureScale);
  W.Int32(static_cast<Integer>(FBitmaps.size()));
  W.FlushTo(Stream);
  for (Integer I = 0; I < static_cast<Integer>(FBitmaps.size()); ++I) {
    TIEVBitmapEntry& Entry = FBitmaps[I];
    // The template's own use of an entry is not stored: it keeps its picture on reading.
    const Integer Count = Entry.Bitmap ? Entry.RefCount - (FTemplate->BitmapIndex == I ? 1 : 0) : 0;
    W.Int32(std::max(0, Count));
    W.FlushTo(Stream);
    if (Count > 0) {
      std::unique_ptr<TZezudIdIO> IO = TZezudIdIO::CreateFromBitmap(Entry.Bitmap.get());
      IO->SaveToStreamPNG(Stream);
      if (IO->GetAborting()) throw EIEVectError("Objects file: a picture could not be written");
    }
  }
  {
    TZCompressionStream Deflate(Stream, zcDefault);
    TIEFieldWriter Count;
    Count.Int32(static_cast<Integer>(FDrawOrder.size()));
    Count.FlushTo(&Deflate);
    for (const Integer Handle : FDrawOrder) WriteObjectRecord(&Deflate, Handle, *FObjects[Handle]);
    Deflate.Finish();
  }
  const Int64 End = Stream->GetPosition();
  Stream->SetPosition(Start + 4);
  W.Int32(static_cast<Integer>(End - Start));
  W.FlushTo(Stream);
  Stream->SetPosition(End);
}

void TZezudIdVect::SaveToFileIEV(const std::u16string& FileName) {
  TReplacingFileStream File(Utf16ToUtf8(FileName));
  SaveToStreamIEV(&File);
  File.Commit();
}

bool TZezudIdVect::ParseIEV(TStream* Stream, TIEVParsedFile& File) {
  char Head[4] = {};
  if (Stream->Read(Head, 4) != 4) return false;
  if (Head[0] != 'I' || Head[1] != 'E' || Head[2] != 'V' || Head[3] < '1' || Head[3] > IEVLastVersion)
    return false;
  IEVParseStream(Stream, Head[3], *FTemplate, File);
  return true;
}

bool TZezudIdVect::LoadFromStreamIEV(TStream* Stream) {
  TIEVParsedFile File;
  if (!ParseIEV(Stream, File)) return false;
  TakeParsed(File);
  return true;
}

void TZezudIdVect::TakeParsed(TIEVParsedFile& File) {
  CancelInteraction();
  std::unique_ptr<TIEBitmap> TemplatePicture;
  if (FTemplate->BitmapIndex >= 0 && FTemplate->BitmapIndex < static_cast<Integer>(FBitmaps.size()))
    TemplatePicture = std::move(FBitmaps[FTemplate->BitmapIndex].Bitmap);
  FTemplate->BitmapIndex = -1;
  for (auto& Record : FObjects)
    if (Record) {
      Record->BitmapIndex = -1;
      FreeRecordParts(*Record);
    }
  FObjects.clear();
  FDrawOrder.clear();
  FSelected.clear();
  FBitmaps.clear();
  FLastAdded = -1;
  for (auto& Picture : File.Pictures) FBitmaps.push_back(TIEVBitmapEntry{std::move(Picture), 0});
  const bool SavedShare = FShareBitmaps;
  FShareBitmaps = true;
  {
    auto Restore = ScopeExit([&] {
      FShareBitmaps = SavedShare;
      if (TemplatePicture) FTemplate->BitmapIndex = NewBitmapEntry(std::move(TemplatePicture));
    });
    for (const auto& Object : File.Objects) {
      const Integer Handle = AddObjectRecord(*Object);
      if (Object->UserDataLen > 0) {
        TIEVObject& Added = *FObjects[Handle];
        Added.UserDataCopy = Object->UserDataCopy;
        Added.UserData = Added.UserDataCopy.data();
        Added.UserDataLen = Object->UserDataLen;
      }
    }
  }
  FMeasureScale = File.MeasureScale;
  RecomputeUnits();
  DoVectorialChanged();
  Update();
}

bool TZezudIdVect::LoadFromFileIEV(const std::u16string& FileName) {
  if (FileName.empty()) return false;
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  return LoadFromStreamIEV(&File);
}

// ---- Combined stream ----

void TZezudIdVect::SaveToStreamAll(TStream* Stream, Integer LayerCompression) {
  const Int64 Start = Stream->GetPosition();
  TIEFieldWriter W;
  W.Int32(0);  // the objects' position, filled in below
  W.FlushTo(Stream);
  SaveLayersToStream(Stream, LayerCompression);
  const Int64 Objects = Stream->GetPosition();
  SaveToStreamIEV(Stream);
  const Int64 End = Stream->GetPosition();
  Stream->SetPosition(Start);
  W.Int32(static_cast<Integer>(Objects));
  W.FlushTo(Stream);
  Stream->SetPosition(End);
}

bool TZezudIdVect::LoadFromStreamAll(TStream* Stream) {
  Byte B[4];
  if (Stream->Read(B, 4) != 4) return false;
  const Integer Offset =
      static_cast<Integer>(B[0] | B[1] << 8 | B[2] << 16 | static_cast<Cardinal>(B[3]) << 24);
  if (Offset < 0 || Offset > Stream->GetSize()) return false;
  // The objects are read first, so that refused objects leave the layers as they were too.
  const Int64 Layers = Stream->GetPosition();
  Stream->SetPosition(Offset);
  TIEVParsedFile File;
  if (!ParseIEV(Stream, File)) return false;
  Stream->SetPosition(Layers);
  if (!LoadLayersFromStream(Stream)) return false;
  TakeParsed(File);
  return true;
}

bool TZezudIdVect::LoadFromFileAll(const std::u16string& FileName) {
  if (FileName.empty()) return false;
  TIEWideFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  return LoadFromStreamAll(&File);
}

void TZezudIdVect::SaveToFileAll(const std::u16string& FileName, Integer LayerCompression) {
  TReplacingFileStream File(Utf16ToUtf8(FileName));
  SaveToStreamAll(&File, LayerCompression);
  File.Commit();
}
