// The installed video compressors over the AVI file library's compressor list.
#include "platform/media/VideoCompressors.h"

#include <algorithm>
#include <cstring>

#include "platform/media/AviCompressors.h"

struct TInstalledCompressor {
  TAviCompressor Compressor;
};

namespace {

void Describe(const TAviCompressor& Compressor, ICINFO& Info) {
  Info.dwSize = sizeof(ICINFO);
  Info.fccType = ICTYPE_VIDEO;
  Info.fccHandler = Compressor.Handler;
  Info.dwFlags = VIDCF_QUALITY | (Compressor.Encoder ? VIDCF_TEMPORAL : 0);
  Info.dwVersion = 1;
  Info.dwVersionICM = 0x0104;
  std::fill(std::begin(Info.szName), std::end(Info.szName), u'\0');
  std::fill(std::begin(Info.szDescription), std::end(Info.szDescription), u'\0');
  std::fill(std::begin(Info.szDriver), std::end(Info.szDriver), u'\0');
  for (Integer I = 0; I < 4; ++I)
    Info.szName[I] = static_cast<char16_t>((Compressor.Handler >> (8 * I)) & 0xFF);
  const std::size_t Length = std::min<std::size_t>(Compressor.Description.size(), 127);
  std::copy_n(Compressor.Description.begin(), Length, Info.szDescription);
  const std::u16string Driver = u"libavcodec";
  std::copy(Driver.begin(), Driver.end(), Info.szDriver);
}

bool IsVideoType(DWORD Type) {
  return Type == 0 || Type == ICTYPE_VIDEO || Type == streamtypeVIDEO;
}

}  // namespace

BOOL ICInfo(DWORD Type, DWORD Handler, ICINFO* Info) {
  if (!Info) return FALSE;
  const std::vector<TAviCompressor>& List = AviInstalledCompressors();
  const TAviCompressor* Found = nullptr;
  if (IsVideoType(Type)) {
    if (Handler < List.size()) Found = &List[Handler];
  } else {
    Found = AviFindCompressor(Handler);
  }
  if (!Found) return FALSE;
  Describe(*Found, *Info);
  return TRUE;
}

HIC ICOpen(DWORD Type, DWORD Handler, UINT) {
  if (!IsVideoType(Type)) return nullptr;
  const TAviCompressor* Found = AviFindCompressor(Handler);
  return Found ? new TInstalledCompressor{*Found} : nullptr;
}

LRESULT ICGetInfo(HIC Compressor, ICINFO* Info, DWORD Size) {
  if (!Compressor || !Info) return 0;
  ICINFO Full;
  Describe(Compressor->Compressor, Full);
  const DWORD Count = std::min<DWORD>(Size, sizeof(ICINFO));
  std::memcpy(static_cast<void*>(Info), &Full, Count);
  return Count;
}

LRESULT ICClose(HIC Compressor) {
  if (!Compressor) return ICERR_BADHANDLE;
  delete Compressor;
  return ICERR_OK;
}

void ICSetInstalledCompressorsForTesting(std::optional<std::vector<FOURCC>> Handlers) {
  AviRestrictCompressors(std::move(Handlers));
}
static_assert(sizeof(ICINFO) == 568, "the platform layout");
