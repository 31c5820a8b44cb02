// The descriptive, EXIF and GPS tags of a TIFF page read into and written from the parameters,
// through the EXIF table the whole library shares.
#include <algorithm>

#include "imaging/core/ieioparams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ietiffexiftags.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/tiffiltdirbytes.h"
#include "platform/system/Streams.h"

namespace {

constexpr Word TagOrientation = 274;
constexpr Word TagResolutionUnit = 296;
constexpr Word UnitInch = 2;
constexpr Word OrientationUpright = 1;

// Each entry of the shared table's list into the directory being written.
void AddEntries(TTIFFEntryWriter& Writer, const TIETIFFTagList& List) {
  for (const TIETIFFTagEntry& Entry : List) {
    const bool Inline = Entry.Data.empty();
    const Byte* Bytes = Inline ? Entry.Value.data() : Entry.Data.data();
    const auto Size =
        static_cast<Integer>(Inline ? std::min<Int64>(IETIFFValueBytes(Entry.Type, Entry.Count), 4)
                                    : static_cast<Int64>(Entry.Data.size()));
    Writer.AddBlock(Entry.Tag, Entry.Type, Bytes, Size);
  }
}

// The position the writer's next out-of-line block starts at (blocks start on even bytes).
Int64 NextBlockPosition(TStream* Stream) {
  const Int64 Position = Stream->GetPosition();
  return Position + (Position & 1);
}

Int64 WriteExifDirectory(TStream* Stream, TIEIOProgress& Progress, TIEMetaParams& Params) {
  TTIFFEntryWriter Exif(Stream, Progress);
  AddEntries(Exif, IEExifTagList(Params, TIEExifDirectory::Exif));
  // The maker note's offsets are made for the place it is written at.
  const std::vector<Byte> MakerNote = IEExifMakerNoteAt(Params, NextBlockPosition(Stream));
  if (!MakerNote.empty())
    Exif.AddBlock(ieTagMakerNote, ietUNDEFINED, MakerNote.data(), static_cast<Integer>(MakerNote.size()));
  return Exif.WriteDirectory(0);
}

}  // namespace

void TiffReadExifTags(const TIFFDirectory& Page, const TIFFDirectory* Exif, const TIFFDirectory* Gps,
                      TIEMetaParams& Params) {
  const TIFFDirectory* Directories[3] = {&Page, Exif, Gps};
  const auto Lookup = [&](TIEExifDirectory Directory, Word Tag, TIEExifTagData& Data) {
    const TIFFDirectory* Dir = Directories[static_cast<Integer>(Directory)];
    const Integer Index = Dir ? TiffFindTag(Tag, *Dir) : -1;
    if (Index < 0) return false;
    const TIFFTagEntry& Entry = Dir->Entries[Index];
    // No tag of the table is that long: such a count is a broken entry.
    if (TiffEntryBytes(Entry) > TiffMaxStringCount) return false;
    const std::vector<Byte> Bytes = TiffEntryData(*Dir, Entry);
    Data.Type = Entry.Type;
    Data.Count = Entry.Count;
    Data.Bytes.assign(Bytes.begin(), Bytes.end());
    return true;
  };
  IEExifReadTags(Lookup, !Page.LittleEndian, TiffFindTag(ieTagExifIFD, Page) >= 0, Params);
  if (Exif)
    TiffReadMakerNote(*Exif, Params);
  else
    Params.GetExifMakerNote().Clear();
}

void TiffWriteExifTags(TTIFFEntryWriter& Page, TIEMetaParams& Params) {
  TIETIFFTagList Descriptive = IEExifTagList(Params, TIEExifDirectory::Page);
  for (TIETIFFTagEntry& Entry : Descriptive) {
    // Resolutions are held in dots per inch whatever unit the file read had.
    if (Entry.Tag == TagResolutionUnit) IEPutWord(Entry.Value.data(), UnitInch, false);
    // The reset orientation 0 is none of the eight a TIFF may hold: unset is upright.
    const Word Orientation = IEGetWord(Entry.Value.data(), false);
    if (Entry.Tag == TagOrientation && (Orientation < 1 || Orientation > 8))
      IEPutWord(Entry.Value.data(), OrientationUpright, false);
  }
  AddEntries(Page, Descriptive);
  TStream* Stream = Page.GetStream();
  const Int64 Exif = WriteExifDirectory(Stream, Page.GetProgress(), Params);
  Page.AddEntry({ieTagExifIFD, ietLONG, 1, static_cast<Cardinal>(Exif)});
  if (Params.GpsVersionID.empty()) return;
  const Int64 Gps = TiffWriteGpsDirectory(Stream, Page.GetProgress(), Params);
  Page.AddEntry({ieTagGpsIFD, ietLONG, 1, static_cast<Cardinal>(Gps)});
}

Int64 TiffWriteGpsDirectory(TStream* Stream, TIEIOProgress& Progress, TIEMetaParams& Params) {
  TTIFFEntryWriter Gps(Stream, Progress);
  AddEntries(Gps, IEExifTagList(Params, TIEExifDirectory::Gps));
  return Gps.WriteDirectory(0);
}
