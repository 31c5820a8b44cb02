#include "imaging/formats/iepostscript.h"

#include <algorithm>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieencoders.h"
#include "imaging/core/iegeometry.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/formats/iepspdfimage.h"
#include "imaging/io/iedocumentstates.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/DateTime.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer PagesCountWidth = 6;
// "%%Pages: " and the count field.
constexpr Integer PagesLineBytes = 15;
constexpr Integer PagesPrefixLength = 9;
constexpr Integer PagesReadLength = 5;
constexpr Int64 PageDataCapacity = 0x800000;

enum class TPsEncoding { RunLength, FaxG4, FaxG3, Jpeg };

TPsEncoding EncodingOf(TIEBitmap* Bitmap, Byte Compression) {
  if (Bitmap->GetPixelFormat() == ie1g) {
    // No 1-bit JPEG: run-length packing stands in for it and for unknown values.
    if (Compression == 1) return TPsEncoding::FaxG4;
    if (Compression == 2) return TPsEncoding::FaxG3;
    return TPsEncoding::RunLength;
  }
  return Compression == 3 ? TPsEncoding::Jpeg : TPsEncoding::RunLength;
}

// Length bytes as one ASCII85 string; returns its data characters.
Integer WriteASCII85(TStream* Out, const Byte* Data, Integer Length, std::vector<char>& Text) {
  Text.resize(static_cast<size_t>(IEASCII85Bound(Length)));
  char* Output = Text.data();
  Integer Characters = 0;
  const Integer Total = IEASCII85Encode(Data, Length, Output, Characters);
  Out->WriteBuffer(Text.data(), Total);
  return Characters;
}

Integer WritePackedASCII85(TStream* Out, const Byte* Data, Integer Length, std::vector<Byte>& Packed,
                           std::vector<char>& Text) {
  Packed.resize(static_cast<size_t>(IEPackBitsBound(Length)));
  const Integer PackedLength = IEPackBitsEncode(Data, Length, Packed.data());
  return WriteASCII85(Out, Packed.data(), PackedLength, Text);
}

// One packed ASCII85 string per row and channel (red, green, blue), so that each of the page's
// three read procedures finds a whole string for every row.
Integer WriteColourPlanes(TStream* Out, TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  std::vector<Byte> Plane(static_cast<size_t>(Width));
  std::vector<Byte> Packed;
  std::vector<char> Text;
  Integer Characters = 0;
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Row = static_cast<const Byte*>(Bitmap->GetScanline(Y));
    for (Integer Channel = 2; Channel >= 0; --Channel) {
      for (Integer X = 0; X < Width; ++X) Plane[X] = Row[X * 3 + Channel];
      Characters += WritePackedASCII85(Out, Plane.data(), Width, Packed, Text);
    }
    IEReportProgress(Progress, Y);
  }
  return Characters;
}

Integer WriteMemoryASCII85(TStream* Out, TMemoryStream& Data) {
  std::vector<char> Text;
  return WriteASCII85(Out, static_cast<const Byte*>(Data.GetMemory()), static_cast<Integer>(Data.GetSize()),
                      Text);
}

std::string Str(Integer Value) {
  return IEIntToStr(Value);
}

std::string BeginDataLine(Integer Characters) {
  return "%%BeginData:      " + Str(Characters) + " ASCII Bytes";
}

void WriteFaxFilter(TStream* Stream, const char* K, Integer Width, Integer Height) {
  IEWriteLn(Stream, std::string("currentfile /ASCII85Decode filter << /K ") + K +
                        " /BlackIs1 true /Columns " + Str(Width) + " /Rows " + Str(Height) +
                        " /EndOfLine false /Uncompressed true /EncodedByteAlign false /EndOfBlock false >>"
                        " /CCITTFaxDecode filter");
}

void WriteOperators(TStream* Stream, TIEBitmap* Bitmap, TPsEncoding Encoding, Integer Characters) {
  const Integer Width = Bitmap->GetWidth();
  if (Bitmap->GetPixelFormat() != ie1g) {
    if (Encoding == TPsEncoding::Jpeg) {
      IEWriteLn(Stream, "currentfile /ASCII85Decode filter << >> /DCTDecode filter");
      IEWriteLn(Stream, "false 3");
    } else {
      for (const char* Plane : {"rstr", "gstr", "bstr"})
        IEWriteLn(Stream, std::string("/") + Plane + " " + Str(Width) + " string def");
      for (const char* Plane : {"rstr", "gstr", "bstr"})
        IEWriteLn(Stream, std::string("{currentfile /ASCII85Decode filter /RunLengthDecode filter ") + Plane +
                              " readstring pop}");
      IEWriteLn(Stream, "true 3");
    }
    IEWriteLn(Stream, BeginDataLine(Characters));
    IEWriteLn(Stream, "colorimage");
    return;
  }
  if (Encoding == TPsEncoding::FaxG4)
    WriteFaxFilter(Stream, "-1", Width, Bitmap->GetHeight());
  else if (Encoding == TPsEncoding::FaxG3)
    WriteFaxFilter(Stream, "1", Width, Bitmap->GetHeight());
  else
    IEWriteLn(Stream, "currentfile /ASCII85Decode filter /RunLengthDecode filter");
  IEWriteLn(Stream, BeginDataLine(Characters));
  IEWriteLn(Stream, "image");
}

}  // namespace

std::string PsPaddedInt(Integer Value, Integer Width) {
  std::string Text = IEIntToStr(Value);
  if (static_cast<Integer>(Text.size()) < Width) Text.append(static_cast<size_t>(Width) - Text.size(), ' ');
  return Text;
}

void PostScriptAddPage(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  if (IERefuseEmptyPicture(Bitmap, Progress)) return;
  std::unique_ptr<PsDocumentState> State = PostScriptBeginFile(Stream, IOParams);
  PostScriptAppendPage(*State, Stream, Bitmap, IOParams, Progress);
  PostScriptEndFile(std::move(State), Stream);
}

std::unique_ptr<PsDocumentState> PostScriptBeginFile(TStream* Stream, TIOParamsVals& IOParams) {
  auto State = std::make_unique<PsDocumentState>();
  IEWriteLn(Stream, "%!PS-Adobe-3.0");
  IEWriteLn(Stream, "%%Creator: ZezudId by Orbistrel");
  IEWriteLn(Stream, "%%Title: " + IOParams.PsTitle);
  IEWriteLn(Stream, "%%CreationDate: " + FormatDateTime("ddd mmm dd hh:nn:ss yyyy", Now()));
  IEWriteLn(Stream, "%%DocumentData: Clean7Bit");
  IEWriteLn(Stream, "%%LanguageLevel: 2");
  State->PagesLinePosition = Stream->GetPosition();
  IEWriteLn(Stream, "%%Pages: " + PsPaddedInt(0, PagesCountWidth));
  IEWriteLn(Stream,
            "%%BoundingBox: 0 0 " + Str(IOParams.PsPaperWidth - 1) + " " + Str(IOParams.PsPaperHeight - 1));
  IEWriteLn(Stream, "%%EndComments");
  State->EndPosition = Stream->GetPosition();
  return State;
}

void PostScriptAppendPage(PsDocumentState& State, TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                          TIEIOProgress& Progress) {
  if (IERefuseEmptyPicture(Bitmap, Progress)) return;
  Stream->SetPosition(State.PagesLinePosition);
  std::string Line(PagesLineBytes, '\0');
  Line.resize(static_cast<size_t>(std::max(Stream->Read(Line.data(), PagesLineBytes), 0)));
  const std::string Field =
      Line.size() > PagesPrefixLength ? Line.substr(PagesPrefixLength, PagesReadLength) : "";
  const Integer Count = IEStrToIntDef(IETrim(Field), 1);
  Stream->SetPosition(State.PagesLinePosition);
  IEWriteLn(Stream, "%%Pages: " + PsPaddedInt(Count + 1, PagesCountWidth));
  Stream->SetPosition(State.EndPosition);
  PostScriptWritePage(Stream, Bitmap, IOParams, Progress, Count + 1, IOParams.PsPaperWidth,
                      IOParams.PsPaperHeight);
  State.EndPosition = Stream->GetPosition();
}

void PostScriptEndFile(std::unique_ptr<PsDocumentState> State, TStream* Stream) {
  if (!State) return;
  Stream->SetPosition(State->EndPosition);
  IEWriteLn(Stream, "%%Trailer");
  IEWriteLn(Stream, "%%EOF");
}

void PostScriptWritePage(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                         Integer PageNumber, Integer PaperWidth, Integer PaperHeight) {
  std::unique_ptr<TIEBitmap> Converted;
  Bitmap = IEDocumentPicture(Bitmap, Converted);
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  IEWriteLn(Stream, "%%Page: " + Str(PageNumber) + " " + Str(PageNumber));
  IEWriteLn(Stream, "0 " + Str(PaperHeight) + " translate");
  Integer FitWidth = 1, FitHeight = 1;
  IEScaleToFit(Width, Height, PaperWidth, PaperHeight, FitWidth, FitHeight);
  IEWriteLn(Stream, Str(FitWidth) + " -" + Str(FitHeight) + " scale");
  IESetDocumentSampleLayout(Bitmap, IOParams);
  IEWriteLn(Stream, Str(Width) + " " + Str(Height) + " " + Str(IOParams.BitsPerSample));
  IEWriteLn(Stream, "[ " + Str(Width) + " 0 0 " + Str(Height) + " 0 0 ]");

  TMemoryStream Data;
  Data.SetCapacity(PageDataCapacity);
  const Integer Characters = PostScriptWriteImageData(&Data, Bitmap, IOParams, Progress);
  WriteOperators(Stream, Bitmap, EncodingOf(Bitmap, IOParams.PsCompression), Characters);
  IECopyFrom(Stream, &Data, 0);
  IEWriteLn(Stream, "%%EndData");
  IEWriteLn(Stream, "showpage");
}

Integer PostScriptWriteImageData(TMemoryStream* MemoryStream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                                 TIEIOProgress& Progress) {
  std::unique_ptr<TIEBitmap> Converted;
  Bitmap = IEDocumentPicture(Bitmap, Converted);
  IESetDocumentSampleLayout(Bitmap, IOParams);
  const TPsEncoding Encoding = EncodingOf(Bitmap, IOParams.PsCompression);
  if (Encoding == TPsEncoding::FaxG4 || Encoding == TPsEncoding::FaxG3) {
    TMemoryStream Fax;
    IEFaxEncodeRows(Bitmap, Encoding == TPsEncoding::FaxG4, &Fax, Progress);
    return WriteMemoryASCII85(MemoryStream, Fax);
  }
  if (Encoding == TPsEncoding::Jpeg) {
    TMemoryStream Jpeg;
    JpegWriteStream(&Jpeg, Bitmap, IOParams, Progress);
    return WriteMemoryASCII85(MemoryStream, Jpeg);
  }
  if (Bitmap->GetPixelFormat() != ie1g) return WriteColourPlanes(MemoryStream, Bitmap, Progress);
  const std::vector<Byte> Rows = IEJoined1BitRows(Bitmap, Progress);
  std::vector<Byte> Packed;
  std::vector<char> Text;
  return WritePackedASCII85(MemoryStream, Rows.data(), static_cast<Integer>(Rows.size()), Packed, Text);
}
