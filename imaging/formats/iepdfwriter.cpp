#include "imaging/formats/iepdfwriter.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieencoders.h"
#include "imaging/core/iegeometry.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/formats/iepspdfimage.h"
#include "imaging/formats/tiflzw.h"
#include "imaging/io/iedocumentstates.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/DateTime.h"
#include "platform/system/Streams.h"

namespace {

enum TPdfCompression : Byte { pdfNone, pdfRunLength, pdfFaxG4, pdfFaxG3, pdfJpeg, pdfLzw };

std::unique_ptr<TIEPDFNameObject> Name(std::string Text) {
  return std::make_unique<TIEPDFNameObject>(std::move(Text));
}

std::unique_ptr<TIEPDFNumericObject> Number(double Value) {
  return std::make_unique<TIEPDFNumericObject>(Value);
}

std::unique_ptr<TIEPDFArrayObject> NameArray(std::initializer_list<const char*> Names) {
  auto Array = std::make_unique<TIEPDFArrayObject>();
  for (const char* Item : Names) Array->Add(Name(Item));
  return Array;
}

std::unique_ptr<TIEPDFArrayObject> MediaBox(Integer Width, Integer Height) {
  auto Box = std::make_unique<TIEPDFArrayObject>();
  for (const Integer Value : {0, 0, Width, Height}) Box->Add(Number(Value));
  return Box;
}

// The parameters' copy of the TIFF LZW coder; the library's own when a host cleared it.
TTiffLzwCompressProc LzwCoder(const TIOParamsVals& IOParams) {
  return IOParams.TiffLzwCompressProc ? IOParams.TiffLzwCompressProc : TiffLzwCompress;
}

// Rows of RowBytes from Row(Y) as one LZW code stream.
template <typename TRowSource>
void LzwEncodeRows(TTiffLzwCompressProc Coder, Integer Height, Integer RowBytes, TRowSource Row, TStream* Out,
                   TIEIOProgress& Progress) {
  void* Context = nullptr;
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    Coder(Row(Y), RowBytes, Out, Context);
    IEReportProgress(Progress, Y);
  }
  Coder(nullptr, 0, Out, Context);
}

// The rows of an ie24RGB picture in red, green, blue order, one after the other.
std::vector<Byte> JoinedRGBRows(TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  const size_t RowBytes = static_cast<size_t>(Width) * 3;
  std::vector<Byte> Rows(RowBytes * static_cast<size_t>(Height));
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    IEBGRToRGB(static_cast<const Byte*>(Bitmap->GetScanline(Y)), Width, Rows.data() + RowBytes * Y);
    IEReportProgress(Progress, Y);
  }
  return Rows;
}

std::unique_ptr<TIEPDFDictionaryObject> FaxParameters(bool G4, Integer Width, Integer Height) {
  auto Parms = std::make_unique<TIEPDFDictionaryObject>();
  Parms->SetItem("K", Number(G4 ? -1 : 1));
  Parms->SetItem("BlackIs1", std::make_unique<TIEPDFBooleanObject>(true));
  Parms->SetItem("Columns", Number(Width));
  Parms->SetItem("Rows", Number(Height));
  Parms->SetItem("EndOfLine", std::make_unique<TIEPDFBooleanObject>(false));
  Parms->SetItem("Uncompressed", std::make_unique<TIEPDFBooleanObject>(true));
  Parms->SetItem("EncodedByteAlign", std::make_unique<TIEPDFBooleanObject>(false));
  Parms->SetItem("EndOfBlock", std::make_unique<TIEPDFBooleanObject>(false));
  return Parms;
}

std::unique_ptr<TIEPDFStreamObject> StreamOf(const std::vector<Byte>& Data) {
  return TIEPDFStreamObject::CreateCopy(Data.data(), static_cast<Integer>(Data.size()));
}

std::unique_ptr<TIEPDFStreamObject> StreamOf(TMemoryStream& Data) {
  return TIEPDFStreamObject::CreateCopy(Data.GetMemory(), static_cast<Integer>(Data.GetSize()));
}

std::unique_ptr<TIEPDFStreamObject> OneBitImage(TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                                                TIEIOProgress& Progress) {
  // There is no 1-bit JPEG: fax G3 takes its place, and the parameters say so.
  if (IOParams.PdfCompression == pdfJpeg) IOParams.PdfCompression = pdfFaxG3;
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  std::unique_ptr<TIEPDFStreamObject> Image;
  switch (IOParams.PdfCompression) {
    case pdfRunLength: {
      const std::vector<Byte> Rows = IEJoined1BitRows(Bitmap, Progress);
      std::vector<Byte> Packed(static_cast<size_t>(IEPackBitsBound(static_cast<Integer>(Rows.size()))));
      Packed.resize(static_cast<size_t>(
          IEPackBitsEncode(Rows.data(), static_cast<Integer>(Rows.size()), Packed.data())));
      Image = StreamOf(Packed);
      Image->GetDictionary()->SetItem("Filter", NameArray({"RunLengthDecode"}));
      break;
    }
    case pdfFaxG4:
    case pdfFaxG3: {
      const bool G4 = IOParams.PdfCompression == pdfFaxG4;
      TMemoryStream Fax;
      IEFaxEncodeRows(Bitmap, G4, &Fax, Progress);
      Image = StreamOf(Fax);
      Image->GetDictionary()->SetItem("Filter", Name("CCITTFaxDecode"));
      Image->GetDictionary()->SetItem("DecodeParms", FaxParameters(G4, Width, Height));
      break;
    }
    case pdfLzw: {
      TMemoryStream Lzw;
      LzwEncodeRows(
          LzwCoder(IOParams), Height, IEPackedRowBytes(Width),
          [Bitmap](Integer Y) { return static_cast<const Byte*>(Bitmap->GetScanline(Y)); }, &Lzw, Progress);
      Image = StreamOf(Lzw);
      Image->GetDictionary()->SetItem("Filter", Name("LZWDecode"));
      break;
    }
    default:
      Image = StreamOf(IEJoined1BitRows(Bitmap, Progress));
      break;
  }
  Image->GetDictionary()->SetItem("ColorSpace", Name("DeviceGray"));
  Image->GetDictionary()->SetItem("BitsPerComponent", Number(1));
  return Image;
}

std::unique_ptr<TIEPDFStreamObject> ColourImage(TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                                                TIEIOProgress& Progress) {
  const Integer Width = Bitmap->GetWidth();
  std::unique_ptr<TIEPDFStreamObject> Image;
  const char* ColorSpace = "DeviceRGB";
  if (IOParams.PdfCompression == pdfLzw) {
    TMemoryStream Lzw;
    std::vector<Byte> RGB(static_cast<size_t>(Width) * 3);
    LzwEncodeRows(
        LzwCoder(IOParams), Bitmap->GetHeight(), Width * 3,
        [&](Integer Y) {
          IEBGRToRGB(static_cast<const Byte*>(Bitmap->GetScanline(Y)), Width, RGB.data());
          return static_cast<const Byte*>(RGB.data());
        },
        &Lzw, Progress);
    Image = StreamOf(Lzw);
    Image->GetDictionary()->SetItem("Filter", Name("LZWDecode"));
  } else if (IOParams.PdfCompression == pdfJpeg) {
    TMemoryStream Jpeg;
    JpegWriteStream(&Jpeg, Bitmap, IOParams, Progress);
    Image = StreamOf(Jpeg);
    Image->GetDictionary()->SetItem("Filter", Name("DCTDecode"));
    if (IOParams.JpegColorSpace == 1) ColorSpace = "DeviceGray";
  } else {
    Image = StreamOf(JoinedRGBRows(Bitmap, Progress));
  }
  Image->GetDictionary()->SetItem("ColorSpace", Name(ColorSpace));
  Image->GetDictionary()->SetItem("BitsPerComponent", Number(8));
  return Image;
}

std::string ContentText(Integer FitWidth, Integer FitHeight, Integer PaperHeight, Integer ImageNumber) {
  return "q\n" + IEIntToStr(FitWidth) + " 0 0 " + IEIntToStr(FitHeight) + " 0 " +
         IEIntToStr(PaperHeight - FitHeight) + " cm" + "\n" + "/lm" + IEIntToStr(ImageNumber) + " Do" + "\n" +
         "Q";
}

std::unique_ptr<TIEPDFDictionaryObject> InformationDictionary(const TIOParamsVals& IOParams) {
  auto Info = std::make_unique<TIEPDFDictionaryObject>();
  const std::pair<const char*, const std::string*> Texts[] = {
      {"Title", &IOParams.PdfTitle},     {"Author", &IOParams.PdfAuthor},
      {"Subject", &IOParams.PdfSubject}, {"Keywords", &IOParams.PdfKeywords},
      {"Creator", &IOParams.PdfCreator}, {"Producer", &IOParams.PdfProducer}};
  for (const auto& [Key, Text] : Texts)
    if (!Text->empty()) Info->SetItem(Key, std::make_unique<TIEPDFStringObject>(*Text));
  Info->SetItem("CreationDate",
                std::make_unique<TIEPDFStringObject>("D:" + FormatDateTime("yyyymmddhhmmss", Now())));
  return Info;
}

}  // namespace

void PdfAddPage(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  if (IERefuseEmptyPicture(Bitmap, Progress)) return;
  std::unique_ptr<PdfDocumentState> State = PdfCreateDocument();
  PdfAddImagePage(*State, Bitmap, IOParams, Progress);
  PdfWriteDocument(std::move(State), Stream, IOParams);
}

std::unique_ptr<PdfDocumentState> PdfCreateDocument() {
  auto State = std::make_unique<PdfDocumentState>();
  State->Catalog = IEPDFAddCatalog(State->Objects);
  auto Resources = std::make_unique<TIEPDFDictionaryObject>();
  Resources->SetItem("ProcSet", NameArray({"PDF", "ImageB"}));
  Resources->SetItem("XObject", std::make_unique<TIEPDFDictionaryObject>());
  State->Resources =
      static_cast<TIEPDFDictionaryObject*>(IEPDFAddObject(State->Objects, std::move(Resources)));
  return State;
}

void PdfAddImagePage(PdfDocumentState& State, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                     TIEIOProgress& Progress) {
  if (IERefuseEmptyPicture(Bitmap, Progress)) return;
  std::unique_ptr<TIEBitmap> Converted;
  Bitmap = IEDocumentPicture(Bitmap, Converted);
  IESetDocumentSampleLayout(Bitmap, IOParams);
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  std::unique_ptr<TIEPDFStreamObject> Image = Bitmap->GetPixelFormat() == ie1g
                                                  ? OneBitImage(Bitmap, IOParams, Progress)
                                                  : ColourImage(Bitmap, IOParams, Progress);
  TIEPDFDictionaryObject* Dictionary = Image->GetDictionary();
  Dictionary->SetItem("Type", Name("XObject"));
  Dictionary->SetItem("Subtype", Name("Image"));
  Dictionary->SetItem("Width", Number(Width));
  Dictionary->SetItem("Height", Number(Height));
  auto* ImageObject = static_cast<TIEPDFStreamObject*>(IEPDFAddObject(State.Objects, std::move(Image)));
  State.Images.push_back(ImageObject);
  const Integer ImageNumber = static_cast<Integer>(State.Images.size());

  Integer FitWidth = 1, FitHeight = 1;
  IEScaleToFit(Width, Height, IOParams.PdfPaperWidth, IOParams.PdfPaperHeight, FitWidth, FitHeight);
  const std::string Text = ContentText(FitWidth, FitHeight, IOParams.PdfPaperHeight, ImageNumber);
  auto* Content = static_cast<TIEPDFStreamObject*>(IEPDFAddObject(
      State.Objects, TIEPDFStreamObject::CreateCopy(Text.data(), static_cast<Integer>(Text.size()))));
  State.Contents.push_back(Content);

  auto* XObjects = static_cast<TIEPDFDictionaryObject*>(State.Resources->GetItem("XObject"));
  XObjects->SetItem("lm" + IEIntToStr(ImageNumber),
                    std::make_unique<TIEPDFRefObject>(ImageObject->GetNumber(), 0));
  IEPDFAddPage(State.Objects, State.Pages, State.Resources,
               MediaBox(IOParams.PdfPaperWidth, IOParams.PdfPaperHeight), Content->GetNumber());
}

void PdfWriteDocument(std::unique_ptr<PdfDocumentState> State, TStream* Stream, TIOParamsVals& IOParams) {
  if (!State) return;
  IEPDFAddPages(State->Objects, State->Pages);
  auto* Info =
      static_cast<TIEPDFDictionaryObject*>(IEPDFAddObject(State->Objects, InformationDictionary(IOParams)));
  IEPDFWriteHeader(Stream);
  IEPDFWriteObjects(Stream, State->Objects);
  IEPDFWriteTrailer(Stream, State->Objects, Info);
}
