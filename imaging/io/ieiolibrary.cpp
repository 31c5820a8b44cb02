#include "imaging/io/ieiolibrary.h"

#include <dlfcn.h>

#include <cstdio>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iecmykprofile.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iequantizer.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/tifccitt.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidiourl.h"
#include "platform/system/DateTime.h"
#include "platform/system/SyncObjs.h"

TGifLzwDecompressProc IEGifLzwDecompressProc = nullptr;
TGifLzwCompressProc IEGifLzwCompressProc = nullptr;
TTiffLzwDecompressProc IETiffLzwDecompressProc = nullptr;
TTiffLzwCompressProc IETiffLzwCompressProc = nullptr;
void (*IEAviFileLibraryExit)() = nullptr;
std::string IETWainLogFile;
TIEConvertColorRowProc IEConvertColorRowProc = nullptr;
bool IERelativeStreamOrigin = false;
Integer IEMetafileMaxSize = 8000;
std::unique_ptr<std::vector<std::unique_ptr<TIEIOPlugin>>> IEIOPlugins;
std::string IEDebugLogFileName;

namespace {

TIELzwCodecs LibraryLzwCodecs;

}  // namespace

void IESetLzwCodecs(const TIELzwCodecs& Codecs) {
  LibraryLzwCodecs = Codecs;
}

void WriteDebugLog(const std::string& Message) {
  if (IEDebugLogFileName.empty()) return;
  std::FILE* Log = std::fopen(IEDebugLogFileName.c_str(), "a");
  if (!Log) return;
  const TDateTime Stamp = Now();
  const std::string Line = FormatDateTime(FormatSettings.ShortDateFormat, Stamp) + " " +
                           FormatDateTime(FormatSettings.ShortTimeFormat, Stamp) + " : " + Message + "\n";
  std::fputs(Line.c_str(), Log);
  std::fclose(Log);
}

void IOLibraryInitialize() {
  IEUsePlatformFileExists = false;
  IEGifLzwDecompressProc = LibraryLzwCodecs.GifDecompress;
  IEGifLzwCompressProc = LibraryLzwCodecs.GifCompress;
  IETiffLzwDecompressProc = LibraryLzwCodecs.TiffDecompress;
  IETiffLzwCompressProc = LibraryLzwCodecs.TiffCompress;
  IETempFolder.clear();
  InitFileFormats();
  IEAviFileLibraryExit = nullptr;
  IEWinInetModule = nullptr;
  IELoadWinInet();
  IETWainLogFile.clear();
  IEConvertColorRowProc = IEConvertColorRow;
  ColorManagementEnabled = false;
  IEIOPlugins = std::make_unique<std::vector<std::unique_ptr<TIEIOPlugin>>>();
  IEQuantizerMethod = -1;
  IENeuQuantQuality = -1;
  IERelativeStreamOrigin = false;
  IECMYKProfileConversion = true;
  IECMYKProfile.reset();
  IEMetafileMaxSize = 8000;
  TiffInstallExifProcs();
}

void IOLibraryFinalize() {
  IEFreeWinInet();
  TiffRemoveExifProcs();
  IEFreeCMYKProfiles();
  if (IEIOPlugins) {
    for (auto& Plugin : *IEIOPlugins) {
      UnregisterFileFormat(Plugin->FileType);
      Plugin->Lock.reset();
      if (Plugin->LibraryHandle) dlclose(Plugin->LibraryHandle);
      Plugin.reset();
    }
    IEIOPlugins->clear();
  }
  FreeFileFormats();
  if (IEAviFileLibraryExit) {
    IEAviFileLibraryExit();
    IEAviFileLibraryExit = nullptr;
  }
  IEIOPlugins.reset();
}

void IORegisterLibraryHooks() {
  IERegisterLibraryHooks(iluIOLibrary, {IOLibraryInitialize, IOLibraryFinalize});
  IERegisterLibraryHooks(iluCCITT, {CCITTInitialize, CCITTFinalize});
}
