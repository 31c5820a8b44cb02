// The lists of installed video compressors, in the platform's enumeration order.
#include "imaging/io/ieiolibrary.h"
#include "platform/media/VideoCompressors.h"
#include "platform/system/StringList.h"
#include "platform/system/Strings.h"

std::unique_ptr<TStringList> GetVideoCodecFourCCs() {
  auto List = std::make_unique<TStringList>();
  ICINFO Info;
  for (DWORD Index = 0; ICInfo(0, Index, &Info); ++Index) {
    std::string Code;
    for (Integer Shift = 0; Shift < 32; Shift += 8)
      Code += static_cast<char>((Info.fccHandler >> Shift) & 0xFF);
    List->Add(Code);
  }
  return List;
}

std::unique_ptr<TStringList> GetVideoCodecNames() {
  auto List = std::make_unique<TStringList>();
  // One record for the whole enumeration: a compressor that does not open repeats the
  // description before it, so that both lists keep the same length and order.
  ICINFO Info;
  for (DWORD Index = 0; ICInfo(0, Index, &Info); ++Index) {
    if (HIC Compressor = ICOpen(Info.fccType, Info.fccHandler, ICMODE_QUERY)) {
      ICGetInfo(Compressor, &Info, sizeof Info);
      ICClose(Compressor);
    }
    List->Add(Utf16ToUtf8(Info.szDescription));
  }
  return List;
}
