// The page tags the reader's state takes whole (palette, extra samples, bits per sample) and
// the metadata blocks copied into the load's parameters.
#include <algorithm>

#include "imaging/core/ieicc.h"
#include "imaging/core/ieimagingannot.h"
#include "imaging/core/ieioparams.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/tiffiltdirbytes.h"
#include "platform/system/Streams.h"

namespace {

constexpr Word TagBitsPerSample = 258;
constexpr Word TagColorMap = 320;
constexpr Word TagExtraSamples = 338;
constexpr Word TagXMP = 700;
constexpr Word TagAnnotations = 32932;
constexpr Word TagIPTC = 33723;
constexpr Word TagICCProfile = 34675;
constexpr Word TagMakerNote = 37500;
constexpr Integer MaxExtraSamples = 10;
// A palette beyond 16 bits is no palette; this also keeps 2^bits in range.
constexpr Integer MaxColorMapBits = 16;

const TIFFTagEntry* FindEntry(const TIFFDirectory& Dir, Word Tag) {
  const Integer Index = TiffFindTag(Tag, Dir);
  return Index < 0 ? nullptr : &Dir.Entries[Index];
}

}  // namespace

void TiffReadColorMap(const TIFFDirectory& Dir, TTIFFVars& Vars) {
  Vars.ColorMap.clear();
  std::vector<Integer> Values;
  if (TiffFindTag(TagColorMap, Dir) < 0) return;
  TiffGetIntegerArray(Dir, Values, TagColorMap);
  const std::size_t Entries = std::size_t{1} << std::clamp(Vars.BitsPerSample, 0, MaxColorMapBits);
  // A map shorter than 3 x 2^bits values gives its missing ones as 0.
  Values.resize(3 * Entries, 0);
  const Integer Max = *std::max_element(Values.begin(), Values.end());
  // 8-bit values are taken as they are, 16-bit ones by their high byte.
  const auto Component = [&](Integer Value) { return static_cast<Byte>(Max < 256 ? Value : Value >> 8); };
  Vars.ColorMap.resize(Entries);
  for (std::size_t I = 0; I < Entries; ++I) {
    Vars.ColorMap[I].rgbtRed = Component(Values[I]);
    Vars.ColorMap[I].rgbtGreen = Component(Values[Entries + I]);
    Vars.ColorMap[I].rgbtBlue = Component(Values[2 * Entries + I]);
  }
}

void TiffReadExtraSamples(const TIFFDirectory& Dir, TTIFFVars& Vars) {
  Vars.ExtraSamples.clear();
  const TIFFTagEntry* Entry = FindEntry(Dir, TagExtraSamples);
  if (!Entry) return;
  const Integer Count = static_cast<Integer>(std::min<Cardinal>(Entry->Count, MaxExtraSamples));
  for (Integer I = 0; I < Count; ++I)
    Vars.ExtraSamples.push_back(TiffGetIntegerAt(Dir, TagExtraSamples, I, 0));
  Vars.ExtraSample = Vars.ExtraSamples.empty() ? 0 : Vars.ExtraSamples[0];
}

bool TiffCheckBitsPerSample(const TIFFDirectory& Dir, Integer& BitsPerSample) {
  const TIFFTagEntry* Entry = FindEntry(Dir, TagBitsPerSample);
  if (!Entry) {
    BitsPerSample = 1;
    return true;
  }
  if (Entry->Count <= 1) {
    BitsPerSample = TiffGetInteger(Dir, TagBitsPerSample, 1);
    return true;
  }
  std::vector<Integer> Values;
  // Values the stream cannot hold cannot agree.
  if (TiffGetIntegerArray(Dir, Values, TagBitsPerSample) == 0) return false;
  bool Same = true;
  for (Integer& Value : Values) {
    Value &= 0xFFFF;
    Same = Same && Value == Values[0];
  }
  BitsPerSample = Values.back();
  return Same;
}

void TiffReadIPTC(const TIFFDirectory& Dir, TIOParamsVals& IOParams) {
  if (TiffFindTag(TagIPTC, Dir) < 0) {
    IOParams.IPTCInfo->Clear();
    return;
  }
  const std::vector<Byte> Block = TiffGetBlock(Dir, TagIPTC);
  IOParams.IPTCInfo->LoadFromBuffer(Block.data(), static_cast<Integer>(Block.size()));
}

void TiffReadXMP(const TIFFDirectory& Dir, TIOParamsVals& IOParams) {
  IOParams.XmpInfo.clear();
  const TIFFTagEntry* Entry = FindEntry(Dir, TagXMP);
  if (!Entry || (Entry->Type != ietBYTE && Entry->Type != ietUNDEFINED)) return;
  const std::vector<Byte> Block = TiffEntryData(Dir, *Entry);
  IOParams.XmpInfo.assign(Block.begin(), Block.end());
}

void TiffReadICCProfile(const TIFFDirectory& Dir, TIOParamsVals& IOParams) {
  if (TiffFindTag(TagICCProfile, Dir) < 0) return;
  const std::vector<Byte> Block = TiffGetBlock(Dir, TagICCProfile);
  IOParams.GetInputICC()->LoadFromBuffer(Block.data(), static_cast<Integer>(Block.size()));
}

void TiffReadAnnotations(const TIFFDirectory& Dir, TIOParamsVals& IOParams) {
  if (TiffFindTag(TagAnnotations, Dir) < 0) return;
  const std::vector<Byte> Block = TiffGetBlock(Dir, TagAnnotations);
  IOParams.GetImagingAnnot()->LoadFromBuffer(Block.data(), static_cast<Integer>(Block.size()));
}

void TiffReadMakerNote(const TIFFDirectory& Dir, TIEMetaParams& Params) {
  Params.GetExifMakerNote().Clear();
  const TIFFTagEntry* Entry = FindEntry(Dir, TagMakerNote);
  if (!Entry || Entry->Count == 0 || !Dir.Stream) return;
  const Int64 Position = Dir.Base + Entry->Value;
  if (Position >= TiffStreamSize(Dir)) return;
  // The note's own offsets count from the TIFF structure: it reads through a window whose
  // position 0 is the base.
  Dir.Stream->Seek(Dir.Base, soBeginning);
  TIEBufferedReadStream Window(Dir.Stream, 65536, true);
  Window.Seek(Entry->Value, soBeginning);
  const Int64 Size = std::min<Int64>(TiffEntryBytes(*Entry), TiffStreamSize(Dir) - Position);
  Params.GetExifMakerNote().ReadFromStream(&Window, static_cast<Integer>(Size), Dir.LittleEndian);
}
