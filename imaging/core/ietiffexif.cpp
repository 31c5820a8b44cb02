#include "imaging/core/ietiffexif.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieioparams.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ietiffexiftags.h"
#include "imaging/core/ietiffhandler.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/JpegCodec.h"
#include "platform/system/Exceptions.h"

namespace {

void Abort(TIEIOProgress& Progress) {
  if (Progress.Aborting) *Progress.Aborting = true;
}

TIETIFFTagEntry SubDirectory(Word Tag, TIETIFFTagList List) {
  TIETIFFTagEntry Entry = IEMakeTIFFEntry(Tag, ietLONG, 1, {0, 0, 0, 0});
  Entry.SubIFD = std::make_unique<TIETIFFTagList>(std::move(List));
  return Entry;
}

// Where the written file holds the value of Tag in the directory that Path's tags lead to.
Int64 FindWrittenValue(TStream* Stream, std::initializer_list<Word> Path, Word Tag) {
  Byte Field[4];
  Stream->Seek(4, soBeginning);
  Stream->ReadBuffer(Field, 4);
  Int64 Directory = IEGetDWord(Field, false);
  auto Find = [&](Word Wanted) -> Int64 {
    Byte Count[2];
    Stream->Seek(Directory, soBeginning);
    Stream->ReadBuffer(Count, 2);
    for (Integer I = 0; I < IEGetWord(Count, false); ++I) {
      Byte Entry[12];
      Stream->ReadBuffer(Entry, 12);
      if (IEGetWord(Entry, false) == Wanted) return IEGetDWord(Entry + 8, false);
    }
    return -1;
  };
  for (Word Step : Path) Directory = Find(Step);
  return Find(Tag);
}

Integer WriteTags(TStream* Stream, TIEMetaParams& Params) {
  TIETIFFHandler Handler;
  TIETIFFTagList& Page = Handler.InsertPage(0);
  Page = IEExifTagList(Params, TIEExifDirectory::Page);
  TIETIFFTagList Exif = IEExifTagList(Params, TIEExifDirectory::Exif);
  std::vector<Byte> MakerNote = IEExifMakerNoteAt(Params, 0);
  if (!MakerNote.empty()) {
    const auto Count = static_cast<Cardinal>(MakerNote.size());
    Exif.push_back(IEMakeTIFFEntry(ieTagMakerNote, ietUNDEFINED, Count, MakerNote));
  }
  Page.push_back(SubDirectory(ieTagExifIFD, std::move(Exif)));
  if (!Params.GpsVersionID.empty())
    Page.push_back(SubDirectory(ieTagGpsIFD, IEExifTagList(Params, TIEExifDirectory::Gps)));
  const Int64 Start = Stream->GetPosition();
  Handler.WriteStream(Stream, 0);
  if (!MakerNote.empty() && Start == 0) {
    // Its place is known only now: written again there, same size, offsets that fit.
    const Int64 End = Stream->GetPosition();
    const Int64 At = FindWrittenValue(Stream, {ieTagExifIFD}, ieTagMakerNote);
    MakerNote = IEExifMakerNoteAt(Params, At);
    Stream->Seek(At, soBeginning);
    Stream->WriteBuffer(MakerNote.data(), static_cast<Integer>(MakerNote.size()));
    Stream->Seek(End, soBeginning);
  }
  return 1;
}

std::vector<Byte> EncodeThumbnail(TIEBitmap* Bitmap) {
  TIEBitmap Copy;
  Copy.Assign(Bitmap);
  if (Copy.GetPixelFormat() != ie24RGB) Copy.ConvertToPixelFormat(ie24RGB);
  TBitmap Platform;
  Platform.SetPixelFormat(pf24bit);
  Platform.SetWidth(Copy.GetWidth());
  Platform.SetHeight(Copy.GetHeight());
  for (Integer Y = 0; Y < Copy.GetHeight(); ++Y)
    std::memcpy(Platform.GetScanLine(Y), Copy.GetScanline(Y), 3 * static_cast<std::size_t>(Copy.GetWidth()));
  return EncodeJpeg(&Platform, TJpegEncodeOptions());
}

Integer AppendJpegPage(TStream* Stream, TIEBitmap* Bitmap) {
  TIETIFFHandler File;
  if (!File.ReadStream(Stream) || File.GetPageCount() == 0 || File.GetBigEndian()) return 0;
  const std::vector<Byte> Jpeg = EncodeThumbnail(Bitmap);
  TIETIFFHandler Handler;
  TIETIFFTagList& Page = Handler.InsertPage(0);
  Handler.SetValue(Page, 256, Int64{Bitmap->GetWidth()}, ietLONG);
  Handler.SetValue(Page, 257, Int64{Bitmap->GetHeight()}, ietLONG);
  Handler.SetValue(Page, ieTagCompression, Int64{6}, ietSHORT);
  TIETIFFTagEntry Data = IEMakeTIFFEntry(ieTagJPEGInterchangeFormat, ietLONG, 1, {});
  Data.Pieces.push_back(Jpeg);
  Data.HasPieces = true;
  Page.push_back(std::move(Data));
  Handler.SetValue(Page, ieTagJPEGInterchangeFormatLength, static_cast<Int64>(Jpeg.size()), ietLONG);

  // The new page goes after everything; the last page's next-page field points at it.
  Byte Field[4];
  Stream->Seek(4, soBeginning);
  Stream->ReadBuffer(Field, 4);
  Int64 NextField = 4;
  for (Integer I = 0; I < File.GetPageCount(); ++I) {
    const Int64 Directory = IEGetDWord(Field, false);
    Byte Count[2];
    Stream->Seek(Directory, soBeginning);
    Stream->ReadBuffer(Count, 2);
    NextField = Directory + 2 + 12 * static_cast<Int64>(IEGetWord(Count, false));
    Stream->Seek(NextField, soBeginning);
    Stream->ReadBuffer(Field, 4);
  }
  Stream->Seek(0, soEnd);
  IEPutDWord(Field, static_cast<Cardinal>(Handler.WritePage(Stream, 0)), false);
  const Int64 End = Stream->GetPosition();
  Stream->Seek(NextField, soBeginning);
  Stream->WriteBuffer(Field, 4);
  Stream->Seek(End, soBeginning);
  return File.GetPageCount() + 1;
}

// ---- Reading.

void ReadTags(TIETIFFHandler& Handler, const TIETIFFTagList& Page, TStream* Stream, TIEMetaParams& Params) {
  auto Nested = [&](Word Tag) -> const TIETIFFTagList* {
    const Integer Index = Handler.FindTagInList(Page, Tag);
    return Index < 0 ? nullptr : Page[Index].SubIFD.get();
  };
  const TIETIFFTagList* Lists[3] = {&Page, Nested(ieTagExifIFD), Nested(ieTagGpsIFD)};
  const auto Find = [&](TIEExifDirectory Directory, Word Tag) -> const TIETIFFTagEntry* {
    const TIETIFFTagList* List = Lists[static_cast<Integer>(Directory)];
    const Integer Index = List ? Handler.FindTagInList(*List, Tag) : -1;
    return Index < 0 ? nullptr : &(*List)[Index];
  };
  // The entry's bytes as held (a value cut by the end of the file is shorter than its count).
  const auto Lookup = [&](TIEExifDirectory Directory, Word Tag, TIEExifTagData& Data) {
    const TIETIFFTagEntry* Entry = Find(Directory, Tag);
    if (!Entry) return false;
    const Int64 Size = IETIFFValueBytes(Entry->Type, Entry->Count);
    Data.Type = Entry->Type;
    Data.Count = Entry->Count;
    if (Size <= 4)
      Data.Bytes.assign(reinterpret_cast<const char*>(Entry->Value.data()), static_cast<std::size_t>(Size));
    else
      Data.Bytes.assign(Entry->Data.begin(), Entry->Data.end());
    return true;
  };
  IEExifReadTags(Lookup, Handler.GetBigEndian(), Lists[1] != nullptr, Params);

  Params.GetExifMakerNote().Clear();
  if (const TIETIFFTagEntry* Note = Find(TIEExifDirectory::Exif, ieTagMakerNote)) {
    const Int64 Size = IETIFFValueBytes(Note->Type, Note->Count);
    if (Size > 4 && Size < Stream->GetSize()) {
      Stream->Seek(Handler.XDWord(Note->Value.data()), soBeginning);
      Params.GetExifMakerNote().ReadFromStream(Stream, static_cast<Integer>(Size), !Handler.GetBigEndian());
    }
  }
}

// Old-style JPEG through its interchange stream, or uncompressed 8-bit grey or RGB strips.
bool ReadPicture(TIETIFFHandler& Handler, const TIETIFFTagList& Page, TIEBitmap& Bitmap) {
  const Integer Jpeg = Handler.FindTagInList(Page, ieTagJPEGInterchangeFormat);
  if (Jpeg >= 0 && !Page[Jpeg].Pieces.empty()) {
    const auto& Data = Page[Jpeg].Pieces[0];
    try {
      auto Decoded = DecodeJpeg(Data.data(), Data.size(), TJpegDecodeOptions());
      Bitmap.CopyFromTBitmap(Decoded.get());
      return !Bitmap.IsEmpty();
    } catch (const Exception&) {
      return false;
    }
  }
  const Integer Width = Handler.GetIntegerByCode(Page, 256, 0),
                Height = Handler.GetIntegerByCode(Page, 257, 0);
  const Integer Samples = std::max(1, Handler.GetIntegerByCode(Page, 277, 0));
  const Integer Compression = std::max(1, Handler.GetIntegerByCode(Page, ieTagCompression, 0));
  const Integer Bits = std::max(1, Handler.GetIntegerByCode(Page, 258, 0));
  const Integer Strips = Handler.FindTagInList(Page, ieTagStripOffsets);
  if (Compression != 1 || Bits != 8 || (Samples != 1 && Samples != 3) || Strips < 0 || Width <= 0 ||
      Height <= 0)
    return false;
  std::vector<Byte> Pixels;
  for (const auto& Piece : Page[Strips].Pieces) Pixels.insert(Pixels.end(), Piece.begin(), Piece.end());
  const Int64 RowBytes = static_cast<Int64>(Width) * Samples;
  // The size is believed only when the strips hold every pixel.
  if (RowBytes * Height > static_cast<Int64>(Pixels.size())) return false;
  if (!Bitmap.Allocate(Width, Height, Samples == 3 ? ie24RGB : ie8g)) return false;
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* In = Pixels.data() + RowBytes * Y;
    auto* Out = static_cast<Byte*>(Bitmap.GetScanline(Y));
    if (Samples == 1) {
      std::memcpy(Out, In, Width);
      continue;
    }
    for (Integer X = 0; X < Width; ++X, In += 3, Out += 3) {
      Out[0] = In[2];
      Out[1] = In[1];
      Out[2] = In[0];
    }
  }
  return true;
}

}  // namespace

void IEExifTiffReadStream(TIEBitmap* Bitmap, TStream* Stream, TIEMetaParams& Params, TIEIOProgress& Progress,
                          bool ParamsOnly) {
  const Int64 Position = Stream->GetPosition();
  TIEBufferedReadStream Relative(Stream, 65536, true);
  TIETIFFHandler Handler;
  const bool Read = Handler.ReadStream(&Relative);
  const Integer Index = Params.TiffImageIndex;
  if (!Read || Index < 0 || Index >= Handler.GetPageCount()) {
    Abort(Progress);
  } else if (ParamsOnly) {
    ReadTags(Handler, Handler.GetPage(Index), &Relative, Params);
  } else if (!Bitmap || !ReadPicture(Handler, Handler.GetPage(Index), *Bitmap)) {
    Abort(Progress);
  }
  Stream->Seek(Position, soBeginning);
}

Integer IEExifTiffWriteStream(TStream* Stream, bool Append, TIEBitmap* Bitmap, TIEMetaParams& Params,
                              TIEIOProgress& Progress) {
  if (!Bitmap) return WriteTags(Stream, Params);
  Integer Pages = 0;
  if (Append && !Bitmap->IsEmpty() && Params.TiffCompression == 6) {
    try {
      Pages = AppendJpegPage(Stream, Bitmap);
    } catch (const Exception&) {
      Pages = 0;
    }
  }
  if (Pages == 0) Abort(Progress);
  return Pages;
}
