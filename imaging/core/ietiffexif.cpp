#include "imaging/core/ietiffexif.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexiftags.h"
#include "imaging/core/ieioparams.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/core/ietiffhandler.h"
#include "imaging/core/ieutilstext.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/JpegCodec.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Strings.h"

namespace {

constexpr Word TagMakerNote = 37500;
constexpr Word TagUserComment = 37510;
constexpr Cardinal MaxUserCommentBytes = 1048575;
const std::string UnicodeCode("UNICODE\0", 8);
const std::string AsciiCode("ASCII\0\0\0", 8);

// A number written as decimal text, as one byte; 0 when it is none.
Byte ByteOf(const std::string& Text) {
  return static_cast<Byte>(std::strtol(Text.c_str(), nullptr, 10));
}

void Abort(TIEIOProgress& Progress) {
  if (Progress.Aborting) *Progress.Aborting = true;
}

// ---- Writing: entries of a little-endian file.

TIETIFFTagEntry MakeEntry(Word Tag, Word Type, Cardinal Count, std::vector<Byte> Bytes) {
  TIETIFFTagEntry Entry;
  Entry.Tag = Tag;
  Entry.Type = Type;
  Entry.Count = Count;
  if (Bytes.size() <= 4)
    std::copy(Bytes.begin(), Bytes.end(), Entry.Value.begin());
  else
    Entry.Data = std::move(Bytes);
  return Entry;
}

std::vector<Byte> Words(const Integer* Values, Integer Count) {
  std::vector<Byte> Bytes(2 * Count);
  for (Integer I = 0; I < Count; ++I) IEPutWord(Bytes.data() + 2 * I, static_cast<Word>(Values[I]), false);
  return Bytes;
}

// IEFloatToFraction of the fraction alone, the whole part added afterwards: the same terms
// (the continued fraction of a number and of its fraction differ only in the whole part),
// without a numerator beyond 32 bits for large values, which keep as many fraction digits as
// the numerator's range allows.
void ToFraction(Double Value, Int64 Limit, Int64& Numerator, Int64& Denominator) {
  Value =
      Value == Value ? std::clamp<Double>(Value, -static_cast<Double>(Limit), static_cast<Double>(Limit)) : 0;
  const Double Whole = std::trunc(Value);
  Integer N = 0, D = 1;
  IEFloatToFraction(N, D, Value - Whole, 5e-9);
  Numerator = static_cast<Int64>(Whole) * D + N;
  Denominator = D;
  if (Numerator > Limit || Numerator < -Limit) {
    Denominator = std::max<Int64>(1, static_cast<Int64>(Limit / (std::fabs(Value) + 1)));
    Numerator = std::clamp<Int64>(std::llround(Value * static_cast<Double>(Denominator)), -Limit, Limit);
  }
}

// RATIONAL, or SRATIONAL when a value is negative (an unsigned numerator would lose its sign).
TIETIFFTagEntry Rationals(Word Tag, const Double* Values, Integer Count) {
  const bool Signed = std::any_of(Values, Values + Count, [](Double V) { return V < 0; });
  std::vector<Byte> Bytes(8 * Count);
  for (Integer I = 0; I < Count; ++I) {
    Int64 Numerator = 0, Denominator = 1;
    ToFraction(Values[I], Signed ? 0x7FFFFFFF : 0xFFFFFFFF, Numerator, Denominator);
    IEPutDWord(Bytes.data() + 8 * I, static_cast<Cardinal>(Numerator), false);
    IEPutDWord(Bytes.data() + 8 * I + 4, static_cast<Cardinal>(Denominator), false);
  }
  return MakeEntry(Tag, Signed ? ietSRATIONAL : ietRATIONAL, Count, std::move(Bytes));
}

// At most 4 characters in the entry without a zero; longer ones behind it with their zero.
TIETIFFTagEntry Ascii(Word Tag, const std::string& Text) {
  std::vector<Byte> Bytes(Text.begin(), Text.end());
  if (Bytes.size() > 4) Bytes.push_back(0);
  const auto Count = static_cast<Cardinal>(Bytes.size());
  return MakeEntry(Tag, ietASCII, Count, std::move(Bytes));
}

std::vector<Byte> Utf16Bytes(const std::u16string& Text) {
  std::vector<Byte> Bytes(2 * Text.size());
  for (std::size_t I = 0; I < Text.size(); ++I) IEPutWord(Bytes.data() + 2 * I, Text[I], false);
  return Bytes;
}

bool ShouldWrite(const TIEExifField& Field, TIEMetaParams& Params) {
  switch (Field.Write) {
    case TIEExifWrite::Present:
      return IEExifDiffers(Field, Params, Field.ResetValue);
    case TIEExifWrite::Listed:
      return Params.HasExifTag(Field.Tag);
    case TIEExifWrite::NonNegative:
      return *std::get<Integer*>(Field.Field(Params)) >= 0;
    case TIEExifWrite::Always:
      break;
  }
  const auto Ref = Field.Field(Params);
  if (const auto* Text = std::get_if<std::string*>(&Ref)) return !(*Text)->empty();
  return true;
}

void WriteField(const TIEExifField& Field, TIEMetaParams& Params, TIETIFFTagList& List) {
  const auto Ref = Field.Field(Params);
  switch (Field.Kind) {
    case TIEExifKind::Text:
    case TIEExifKind::InlineText:
      List.push_back(Ascii(Field.Tag, *std::get<std::string*>(Ref)));
      break;
    case TIEExifKind::Rational:
      List.push_back(Rationals(Field.Tag, std::get<Double*>(Ref), Field.Count));
      break;
    case TIEExifKind::Short: {
      // Trailing values at their reset value are left out (one ISO speed instead of two).
      const Integer* Values = std::get<Integer*>(Ref);
      Integer Count = Field.Count;
      while (Count > 1 && Values[Count - 1] == Field.ResetValue) --Count;
      List.push_back(MakeEntry(Field.Tag, ietSHORT, Count, Words(Values, Count)));
      break;
    }
    case TIEExifKind::Undefined:
      List.push_back(MakeEntry(Field.Tag, ietUNDEFINED, 1, {static_cast<Byte>(*std::get<Integer*>(Ref))}));
      break;
    case TIEExifKind::WideText: {
      std::vector<Byte> Bytes = Utf16Bytes(*std::get<std::u16string*>(Ref));
      Bytes.insert(Bytes.end(), {0, 0});
      const auto Count = static_cast<Cardinal>(Bytes.size());
      List.push_back(MakeEntry(Field.Tag, ietBYTE, Count, std::move(Bytes)));
      break;
    }
    case TIEExifKind::GpsVersion: {
      std::vector<Byte> Bytes(4, 0);
      const std::string& Text = *std::get<std::string*>(Ref);
      std::size_t At = 0;
      for (Byte& Part : Bytes) {
        if (At > Text.size()) break;
        const std::size_t Dot = std::min(Text.find('.', At), Text.size());
        Part = ByteOf(Text.substr(At, Dot - At));
        At = Dot + 1;
      }
      List.push_back(MakeEntry(Field.Tag, ietBYTE, 4, std::move(Bytes)));
      break;
    }
    case TIEExifKind::ByteText:
      List.push_back(MakeEntry(Field.Tag, ietBYTE, 1, {ByteOf(*std::get<std::string*>(Ref))}));
      break;
  }
}

// "UNICODE": the code, UTF-16 text, two zero bytes; "ASCII": the code, the text, one zero.
// An empty code counts as "UNICODE"; another code writes nothing.
void WriteUserComment(TIEMetaParams& Params, TIETIFFTagList& List) {
  const std::string Code = Params.ExifUserCommentCode.empty() ? UnicodeCode : Params.ExifUserCommentCode;
  if (Params.ExifUserComment.empty() || Code.size() != 8) return;
  std::vector<Byte> Bytes(Code.begin(), Code.end());
  if (Code == UnicodeCode) {
    const auto Text = Utf16Bytes(Params.ExifUserComment);
    Bytes.insert(Bytes.end(), Text.begin(), Text.end());
    Bytes.insert(Bytes.end(), {0, 0});
  } else if (Code == AsciiCode) {
    const std::string Text = Utf16ToUtf8(Params.ExifUserComment);
    Bytes.insert(Bytes.end(), Text.begin(), Text.end());
    Bytes.push_back(0);
  } else {
    return;
  }
  const auto Count = static_cast<Cardinal>(Bytes.size());
  List.push_back(MakeEntry(TagUserComment, ietUNDEFINED, Count, std::move(Bytes)));
}

TIETIFFTagList DirectoryOf(TIEMetaParams& Params, TIEExifDirectory Directory) {
  TIETIFFTagList List;
  for (const auto& Field : IEExifFields())
    if (Field.Directory == Directory && ShouldWrite(Field, Params)) WriteField(Field, Params, List);
  return List;
}

TIETIFFTagEntry SubDirectory(Word Tag, TIETIFFTagList List) {
  TIETIFFTagEntry Entry = MakeEntry(Tag, ietLONG, 1, {0, 0, 0, 0});
  Entry.SubIFD = std::make_unique<TIETIFFTagList>(std::move(List));
  return Entry;
}

// The maker note's block at Position of the file (its own offsets may count from the file).
std::vector<Byte> MakerNoteAt(TIEMetaParams& Params, Int64 Position) {
  TMemoryStream Stream;
  Stream.SetSize(Position);
  Stream.Seek(Position, soBeginning);
  const Integer Size = Params.GetExifMakerNote().WriteToStream(&Stream);
  const auto* Data = static_cast<const Byte*>(Stream.GetMemory());
  return Size > 0 ? std::vector<Byte>(Data + Position, Data + Position + Size) : std::vector<Byte>();
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
  Page = DirectoryOf(Params, TIEExifDirectory::Page);
  TIETIFFTagList Exif = DirectoryOf(Params, TIEExifDirectory::Exif);
  WriteUserComment(Params, Exif);
  std::vector<Byte> MakerNote;
  if (Params.GetExifMakerNote().GetIFD().GetSize() > 12) MakerNote = MakerNoteAt(Params, 0);
  if (!MakerNote.empty()) {
    const auto Count = static_cast<Cardinal>(MakerNote.size());
    Exif.push_back(MakeEntry(TagMakerNote, ietUNDEFINED, Count, MakerNote));
  }
  Page.push_back(SubDirectory(ieTagExifIFD, std::move(Exif)));
  if (!Params.GpsVersionID.empty())
    Page.push_back(SubDirectory(ieTagGpsIFD, DirectoryOf(Params, TIEExifDirectory::Gps)));
  const Int64 Start = Stream->GetPosition();
  Handler.WriteStream(Stream, 0);
  if (!MakerNote.empty() && Start == 0) {
    // Its place is known only now: written again there, same size, offsets that fit.
    const Int64 End = Stream->GetPosition();
    const Int64 At = FindWrittenValue(Stream, {ieTagExifIFD}, TagMakerNote);
    MakerNote = MakerNoteAt(Params, At);
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
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight(), Six = 6;
  Byte Size[4];
  IEPutDWord(Size, static_cast<Cardinal>(Width), false);
  Page.push_back(MakeEntry(256, ietLONG, 1, {Size, Size + 4}));
  IEPutDWord(Size, static_cast<Cardinal>(Height), false);
  Page.push_back(MakeEntry(257, ietLONG, 1, {Size, Size + 4}));
  Page.push_back(MakeEntry(ieTagCompression, ietSHORT, 1, Words(&Six, 1)));
  TIETIFFTagEntry Data = MakeEntry(ieTagJPEGInterchangeFormat, ietLONG, 1, {});
  Data.Pieces.push_back(Jpeg);
  Data.HasPieces = true;
  Page.push_back(std::move(Data));
  IEPutDWord(Size, static_cast<Cardinal>(Jpeg.size()), false);
  Page.push_back(MakeEntry(ieTagJPEGInterchangeFormatLength, ietLONG, 1, {Size, Size + 4}));

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

struct TPageReader {
  TIETIFFHandler& Handler;
  const TIETIFFTagList* Lists[3];

  const TIETIFFTagEntry* Find(TIEExifDirectory Directory, Word Tag) const {
    const TIETIFFTagList* List = Lists[static_cast<Integer>(Directory)];
    const Integer Index = List ? Handler.FindTagInList(*List, Tag) : -1;
    return Index < 0 ? nullptr : &(*List)[Index];
  }

  // The entry's bytes as held (a value cut by the end of the file is shorter than its count).
  std::string Bytes(const TIETIFFTagEntry& Entry) const {
    const Int64 Size = IETIFFValueBytes(Entry.Type, Entry.Count);
    if (Size <= 4) return std::string(reinterpret_cast<const char*>(Entry.Value.data()), Size);
    return std::string(Entry.Data.begin(), Entry.Data.end());
  }

  Double Rational(const TIETIFFTagEntry& Entry, Integer Index) const {
    const Byte* P = Handler.GetValuePtr(Entry, Index);
    if (!P) return 0;
    if (Entry.Type != ietRATIONAL && Entry.Type != ietSRATIONAL)
      return Entry.Type == ietSHORT ? Handler.XWord(P) : Entry.Type == ietLONG ? Handler.XDWord(P) : 0;
    const Cardinal Numerator = Handler.XDWord(P), Denominator = Handler.XDWord(P + 4);
    if (Denominator == 0) return 0;
    if (Entry.Type == ietSRATIONAL)
      return static_cast<Double>(static_cast<Integer>(Numerator)) / static_cast<Integer>(Denominator);
    return static_cast<Double>(Numerator) / Denominator;
  }

  Integer Number(const TIETIFFTagEntry& Entry, Integer Index) const {
    const Byte* P = Handler.GetValuePtr(Entry, Index);
    if (!P) return 0;
    const Integer Size = IETIFFTypeSize(Entry.Type);
    return Size == 1 ? *P : Size == 2 ? Handler.XWord(P) : static_cast<Integer>(Handler.XDWord(P));
  }

  void Store(const TIEExifField& Field, const TIETIFFTagEntry& Entry, TIEMetaParams& Params) const {
    const auto Ref = Field.Field(Params);
    switch (Field.Kind) {
      case TIEExifKind::Text:
      case TIEExifKind::InlineText: {
        std::string Text = Bytes(Entry);
        if (Field.Kind == TIEExifKind::Text && Text.size() > 4) Text = Text.substr(0, Text.find('\0'));
        *std::get<std::string*>(Ref) = Text;
        break;
      }
      case TIEExifKind::Rational:
        for (Integer I = 0; I < Field.Count; ++I) std::get<Double*>(Ref)[I] = Rational(Entry, I);
        break;
      case TIEExifKind::Short:
      case TIEExifKind::Undefined:
        for (Integer I = 0; I < Field.Count; ++I) std::get<Integer*>(Ref)[I] = Number(Entry, I);
        break;
      case TIEExifKind::WideText: {
        const std::string Raw = Bytes(Entry);
        std::u16string Text;
        for (std::size_t I = 0; I + 1 < Raw.size(); I += 2)
          Text.push_back(
              static_cast<char16_t>(IEGetWord(reinterpret_cast<const Byte*>(Raw.data()) + I, false)));
        *std::get<std::u16string*>(Ref) = Text.substr(0, Text.find(u'\0'));
        break;
      }
      case TIEExifKind::GpsVersion: {
        std::string Text;
        for (unsigned char C : Bytes(Entry).substr(0, 4))
          Text += (Text.empty() ? "" : ".") + std::to_string(C);
        *std::get<std::string*>(Ref) = Text;
        break;
      }
      case TIEExifKind::ByteText:
        *std::get<std::string*>(Ref) = std::to_string(Number(Entry, 0));
        break;
    }
  }

  void ReadUserComment(TIEMetaParams& Params) const {
    Params.ExifUserComment.clear();
    Params.ExifUserCommentCode = UnicodeCode;
    const TIETIFFTagEntry* Entry = Find(TIEExifDirectory::Exif, TagUserComment);
    if (!Entry) return;
    const std::string Raw = Bytes(*Entry).substr(0, MaxUserCommentBytes);
    if (Raw.size() <= 8) return;
    Params.ExifUserCommentCode = Raw.substr(0, 8);
    const std::string Text = Raw.substr(8);
    if (Params.ExifUserCommentCode == UnicodeCode) {
      for (std::size_t I = 0; I < Text.size(); I += 2)
        Params.ExifUserComment.push_back(
            static_cast<char16_t>(Byte(Text[I]) | (I + 1 < Text.size() ? Byte(Text[I + 1]) << 8 : 0)));
    } else {
      Params.ExifUserComment = Utf8ToUtf16(Text);
    }
    // The terminating zero the writer adds is no part of the text.
    Params.ExifUserComment.resize(
        std::min(Params.ExifUserComment.find(u'\0'), Params.ExifUserComment.size()));
  }
};

void ReadTags(TIETIFFHandler& Handler, const TIETIFFTagList& Page, TStream* Stream, TIEMetaParams& Params) {
  auto Nested = [&](Word Tag) -> const TIETIFFTagList* {
    const Integer Index = Handler.FindTagInList(Page, Tag);
    return Index < 0 ? nullptr : Page[Index].SubIFD.get();
  };
  const TPageReader Reader{Handler, {&Page, Nested(ieTagExifIFD), Nested(ieTagGpsIFD)}};
  for (const auto& Field : IEExifFields()) {
    const TIETIFFTagEntry* Entry = Reader.Find(Field.Directory, Field.Tag);
    if (Entry)
      Reader.Store(Field, *Entry, Params);
    else
      IEExifSetAll(Field, Params, Field.ReadAbsent);
    if (Field.Write == TIEExifWrite::Listed) {
      if (IEExifDiffers(Field, Params, Field.ResetValue))
        Params.AddExifTag(Field.Tag);
      else
        Params.RemoveExifTag(Field.Tag);
    }
  }
  Params.SetExifOrientation(Params.ExifOrientation);
  Params.SetExifXResolution(Params.ExifXResolution);
  Params.SetExifYResolution(Params.ExifYResolution);
  Params.TiffImageDescription = Params.ExifImageDescription;
  Params.ExifPresent = Reader.Lists[1] != nullptr;
  Reader.ReadUserComment(Params);

  Params.GetExifMakerNote().Clear();
  if (const TIETIFFTagEntry* Note = Reader.Find(TIEExifDirectory::Exif, TagMakerNote)) {
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
