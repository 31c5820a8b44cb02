#include "imaging/io/iefileformats.h"

#include <vector>

#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "imaging/io/ieview.h"
#include "platform/system/Strings.h"

TIEFormatProcs IEFormatProcs;
TIEFormatsRegistration IEFormatsRegistration = nullptr;

void IEPlaceholderRead(TStream*, TIEBitmap*, TIOParamsVals&, TIEIOProgress&, bool) {}
void IEPlaceholderWrite(TStream*, TIEBitmap*, TIOParamsVals&, TIEIOProgress&) {}
bool IEPlaceholderTest(TStream*, TIEFileType) {
  return false;
}

namespace {

// One row of the built-in table. Built answers whether the format's filter is in the program;
// nil for formats whose filters are not built yet.
struct TIEBuiltInRow {
  TIEFileType FileType;
  const char* FullName;
  const char* Extension;
  Word DialogPage;
  bool Reads;
  bool Writes;
  bool (*Built)();
};

bool OwnFilter() {
  return true;
}
// Metafiles are drawn by the platform's metafile.
bool MetafileReader() {
  return true;
}
// Layer files are read by the view library, which hands over its reader before the start-up.
bool LayersReader() {
  return IEViewDataProcs.LoadLayersFromStream != nullptr;
}
bool BmpFilter() {
  return IEFormatProcs.BmpReadStream && IEFormatProcs.BmpWriteStream;
}
bool PnmFilter() {
  return IEFormatProcs.PnmReadStream && IEFormatProcs.PnmWriteStream;
}
bool WbmpFilter() {
  return IEFormatProcs.WbmpReadStream && IEFormatProcs.WbmpWriteStream;
}
bool TgaFilter() {
  return IEFormatProcs.TgaReadStream && IEFormatProcs.TgaWriteStream;
}
bool IcoFilter() {
  return IEFormatProcs.IcoReadStream && IEFormatProcs.IcoWriteStream;
}
bool CurReader() {
  return IEFormatProcs.CurReadStream != nullptr;
}
bool RawBitmapReader() {
  return IEFormatProcs.HeaderlessRawReadStream != nullptr;
}
bool PsdFilter() {
  return IEFormatProcs.PsdReadStream && IEFormatProcs.PsdWriteStream;
}
bool Jpeg2000Filter() {
  return IEFormatProcs.Jpeg2000ReadStream && IEFormatProcs.Jpeg2000WriteStream;
}
bool PsWriter() {
  return IEFormatProcs.PostScriptAddPage != nullptr;
}
bool PdfWriter() {
  return IEFormatProcs.PdfAddPage != nullptr;
}
bool GifFilter() {
  return IEFormatProcs.GifReadStream && IEFormatProcs.GifWriteStream;
}
bool DicomReader() {
  return IEFormatProcs.DicomReadStream != nullptr;
}
bool CameraRawReader() {
  return IEFormatProcs.CameraRawReadStream != nullptr;
}
bool HdpFilter() {
  return IEFormatProcs.HdpReadStream && IEFormatProcs.HdpWriteStream && IEFormatProcs.WicAvailable &&
         IEFormatProcs.WicAvailable();
}

// Registration order. The HD Photo row also needs the system's imaging component.
constexpr TIEBuiltInRow BuiltInRows[] = {
    {ioTIFF, "TIFF Bitmap", "TIF;TIFF;FAX;G3N;G3F;XIF", ppTIFF, true, true, OwnFilter},
    {ioGIF, "CompuServe Bitmap", "GIF", ppGIF, true, true, GifFilter},
    {ioJPEG, "JPEG Bitmap", "JPG;JPEG;JPE;JIF", ppJPEG, true, true, OwnFilter},
    {ioPCX, "PaintBrush", "PCX", ppPCX, true, true, OwnFilter},
    {ioBMP, "Windows Bitmap", "BMP;DIB;RLE", ppBMP, true, true, BmpFilter},
    {ioBMPRAW, "Raw Bitmap", "", 0, true, true, RawBitmapReader},
    {ioICO, "Windows Icon", "ICO", 0, true, true, IcoFilter},
    {ioCUR, "Windows Cursor", "CUR", 0, true, false, CurReader},
    {ioPNG, "Portable Network Graphics", "PNG", ppPNG, true, true, OwnFilter},
    {ioDICOM, "DICOM Bitmap", "DCM;DIC;DICOM;V2", 0, true, false, DicomReader},
    {ioWMF, "Windows Metafile", "WMF", 0, true, false, MetafileReader},
    {ioEMF, "Enhanced Windows Metafile", "EMF", 0, true, false, MetafileReader},
    {ioTGA, "Targa Bitmap", "TGA;TARGA;VDA;ICB;VST;PIX", ppTGA, true, true, TgaFilter},
    {ioPXM, "Portable Pixmap, GrayMap, BitMap", "PXM;PPM;PGM;PBM", 0, true, true, PnmFilter},
    {ioWBMP, "Wireless Bitmap", "WBMP", 0, true, true, WbmpFilter},
    {ioJP2, "JPEG2000", "JP2", ppJ2000, true, true, Jpeg2000Filter},
    {ioJ2K, "JPEG2000 Code Stream", "J2K;JPC;J2C", ppJ2000, true, true, Jpeg2000Filter},
    {ioPS, "PostScript Level 2", "PS;EPS", 0, false, true, PsWriter},
    {ioPDF, "Adobe PDF", "PDF", 0, false, true, PdfWriter},
    {ioDCX, "Multipage PCX", "DCX", 0, true, true, OwnFilter},
    {ioRAW, "Camera RAW", "CRW;CR2;NEF;RAW;PEF;RAF;X3F;BAY;ORF;SRF;MRW;DCR;SR2", 0, true, false,
     CameraRawReader},
    {ioPSD, "Photoshop PSD", "PSD", 0, true, true, PsdFilter},
    {ioIEV, "Vectorial objects", "IEV", 0, true, true, nullptr},
    {ioLYR, "Layers", "LYR", 0, true, true, LayersReader},
    {ioALL, "Layers and objects", "ALL", 0, true, true, nullptr},
    {ioHDP, "Microsoft HD Photo", "WDP;HDP", 0, true, true, HdpFilter},
};

std::vector<std::unique_ptr<TIEFileFormatInfo>>& Registry() {
  static std::vector<std::unique_ptr<TIEFileFormatInfo>> List;
  return List;
}

std::unique_ptr<TIEFileFormatInfo> MakeRow(const TIEBuiltInRow& Row) {
  auto Info = std::make_unique<TIEFileFormatInfo>();
  Info->FileType = Row.FileType;
  Info->FullName = Row.FullName;
  Info->Extension = Row.Extension;
  Info->InternalFormat = true;
  Info->DialogPage = Row.DialogPage;
  Info->ReadFunction = Row.Reads ? IEPlaceholderRead : nullptr;
  Info->WriteFunction = Row.Writes ? IEPlaceholderWrite : nullptr;
  Info->TestFunction = IEPlaceholderTest;
  return Info;
}

// The items of a ";" list up to its first empty one: "A;;B" holds one item, "A;" one, "" none.
std::vector<std::string_view> SplitExtensions(std::string_view List) {
  std::vector<std::string_view> Items;
  while (!List.empty()) {
    const size_t Cut = List.find(';');
    const std::string_view Item = List.substr(0, Cut);
    if (Item.empty()) break;
    Items.push_back(Item);
    if (Cut == std::string_view::npos) break;
    List.remove_prefix(Cut + 1);
  }
  return Items;
}

}  // namespace

void InitFileFormats() {
  Registry().clear();
  IEFormatProcs = {};
  if (IEFormatsRegistration) IEFormatsRegistration();
  for (const TIEBuiltInRow& Row : BuiltInRows)
    if (Row.Built && Row.Built()) RegisterFileFormat(MakeRow(Row));
}

void FreeFileFormats() {
  Registry().clear();
  IEFormatProcs = {};
}

void RegisterFileFormat(std::unique_ptr<TIEFileFormatInfo> Info) {
  if (Info) Registry().push_back(std::move(Info));
}

void UnregisterFileFormat(TIEFileType FileType) {
  auto& List = Registry();
  for (auto It = List.begin(); It != List.end(); ++It)
    if ((*It)->FileType == FileType) {
      List.erase(It);
      return;
    }
}

TIEFileFormatInfo* FindFileFormatInfo(TIEFileType FileType) {
  for (const auto& Info : Registry())
    if (Info->FileType == FileType) return Info.get();
  return nullptr;
}

Integer FileFormatCount() {
  return static_cast<Integer>(Registry().size());
}

TIEFileFormatInfo* FileFormatAt(Integer Index) {
  if (Index < 0 || Index >= FileFormatCount()) return nullptr;
  return Registry()[Index].get();
}

Integer FileFormatExtensionCount(TIEFileType FileType) {
  const TIEFileFormatInfo* Info = FindFileFormatInfo(FileType);
  return Info ? static_cast<Integer>(SplitExtensions(Info->Extension).size()) : 0;
}

std::string FileFormatExtension(TIEFileType FileType, Integer Index) {
  const TIEFileFormatInfo* Info = FindFileFormatInfo(FileType);
  if (!Info || Index < 0) return {};
  const auto Items = SplitExtensions(Info->Extension);
  return Index < static_cast<Integer>(Items.size()) ? std::string(Items[Index]) : std::string();
}

TIEFileFormatInfo* FindFileFormatInfoByExtension(std::string_view Ext) {
  std::string Wanted = IELowerCase(Ext);
  if (!Wanted.empty() && Wanted.front() == '.') Wanted.erase(0, 1);
  if (Wanted.empty()) return nullptr;
  for (const auto& Info : Registry()) {
    // Through the first row of the code, so a later row of a code takes the earlier row's list.
    const Integer Count = FileFormatExtensionCount(Info->FileType);
    for (Integer I = 0; I < Count; ++I)
      if (IELowerCase(FileFormatExtension(Info->FileType, I)) == Wanted) return Info.get();
  }
  return nullptr;
}

TIEFileType IEFileTypeOfExtension(std::string_view Extension) {
  const TIEFileFormatInfo* Info = FindFileFormatInfoByExtension(Extension);
  return Info ? Info->FileType : ioUnknown;
}

TIEFileType FindFileFormat(std::u16string_view FileName, bool VerifyExtension) {
  if (FileName.empty() || !IEFileExistsW(FileName)) return ioUnknown;
  TIEFileType Result = ioUnknown;
  try {
    TIEWideFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    Result = DetectStreamFormat(&Stream);
  } catch (...) {
    Result = ioUnknown;
  }
  const TIEFileFormatInfo* Entry =
      FindFileFormatInfoByExtension(Utf16ToUtf8(IEExtractFileExtW(FileName, true)));
  // Camera raw files built on TIFF.
  if (Entry && Entry->FileType == ioRAW && Result == ioTIFF) return ioRAW;
  if (Entry && !Entry->InternalFormat) return Entry->FileType;
  if (VerifyExtension && Result != ioUnknown) {
    // Icons and cursors share their content: the extension tells them apart.
    if (!Entry || Result == ioICO || Result == ioCUR) Result = Entry ? Entry->FileType : ioUnknown;
    if (Entry && Entry->FileType != Result) Result = ioUnknown;
  }
  return Result;
}
