#pragma once
// The platform's installed video compressors (ICInfo, ICOpen, ICGetInfo, ICClose): the video
// encoders of libavcodec whose frames the AVI container takes, each under its four-character
// handler code, with uncompressed DIB frames ("DIB ") first. A code appears once, served by
// libavcodec's preferred encoder for it; hardware encoders are not listed.
#include <optional>
#include <vector>

#include "platform/media/AviFile.h"

constexpr FOURCC ICTYPE_VIDEO = mmioFOURCC('v', 'i', 'd', 'c');

// ICOpen modes.
constexpr UINT ICMODE_COMPRESS = 1;
constexpr UINT ICMODE_DECOMPRESS = 2;
constexpr UINT ICMODE_FASTDECOMPRESS = 3;
constexpr UINT ICMODE_QUERY = 4;
constexpr UINT ICMODE_FASTCOMPRESS = 5;
constexpr UINT ICMODE_DRAW = 8;

// ICINFO.dwFlags.
constexpr DWORD VIDCF_QUALITY = 0x0001;
constexpr DWORD VIDCF_CRUNCH = 0x0002;
constexpr DWORD VIDCF_TEMPORAL = 0x0004;
constexpr DWORD VIDCF_COMPRESSFRAMES = 0x0008;
constexpr DWORD VIDCF_DRAW = 0x0010;
constexpr DWORD VIDCF_FASTTEMPORALC = 0x0020;
constexpr DWORD VIDCF_FASTTEMPORALD = 0x0080;

constexpr LRESULT ICERR_OK = 0;
constexpr LRESULT ICERR_BADHANDLE = -8;

// 568 bytes in the platform's layout.
struct ICINFO {
  DWORD dwSize = 0;
  DWORD fccType = 0;
  DWORD fccHandler = 0;
  DWORD dwFlags = 0;
  DWORD dwVersion = 0;
  DWORD dwVersionICM = 0;
  char16_t szName[16] = {};
  char16_t szDescription[128] = {};
  char16_t szDriver[128] = {};
};

struct TInstalledCompressor;
using HIC = TInstalledCompressor*;

// Type 0 (any) or ICTYPE_VIDEO: Handler is an index and the Handler-th compressor's type and
// code are filled in (with its name, driver and flags). Another Type with a code: that
// compressor. FALSE past the last one.
BOOL ICInfo(DWORD Type, DWORD Handler, ICINFO* Info);
// A handle on the compressor of that code (Type 0 or ICTYPE_VIDEO); nil when none has it.
HIC ICOpen(DWORD Type, DWORD Handler, UINT Mode);
// Fills Info (at most Size bytes of it) with the compressor's description; the bytes filled,
// 0 for a nil handle.
LRESULT ICGetInfo(HIC Compressor, ICINFO* Info, DWORD Size);
LRESULT ICClose(HIC Compressor);

// Tests: the compressors listed are only those of Handlers, in that order (an empty list: none
// at all); nullopt restores the full list.
void ICSetInstalledCompressorsForTesting(std::optional<std::vector<FOURCC>> Handlers);
