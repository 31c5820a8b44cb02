#include "imaging/core/iestreams.h"

#include <algorithm>
#include <cstring>

#include "platform/system/ErrorMessages.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/LastError.h"
#include "platform/system/Strings.h"

bool IEUsePlatformFileExists = false;

// ---- file handles by wide name

THandle IECreateFileW(std::u16string_view FileName, DWORD Access, DWORD Share, LPSECURITY_ATTRIBUTES Security,
                      DWORD Disposition, DWORD Flags, THandle Template) {
  return CreateFile(Utf16ToUtf8(FileName), Access, Share, Security, Disposition, Flags, Template);
}

THandle IEFileCreateW(std::u16string_view FileName) {
  return IECreateFileW(FileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, INVALID_HANDLE_VALUE);
}

THandle IEFileOpenW(std::u16string_view FileName, Word Mode) {
  constexpr DWORD AccessByMode[3] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  constexpr DWORD ShareByMode[5] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE};
  if ((Mode & 3) > 2 || (Mode & 0xF0) > 0x40) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return IECreateFileW(FileName, AccessByMode[Mode & 3], ShareByMode[(Mode & 0xF0) >> 4], nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, INVALID_HANDLE_VALUE);
}

// ---- TIEWideFileStream

namespace {

// "<full path>". <system message for the last error>", the argument pair of both messages.
std::string FileFailureText(const char* Pattern, std::u16string_view FileName) {
  const std::string Reason = SysErrorMessage(GetLastError());
  return Format(Pattern, {ExpandFileName(Utf16ToUtf8(FileName)), Reason});
}

THandle OpenWideFile(std::u16string_view FileName, Word Mode) {
  if (Mode == ieCreateFileMode) {
    const THandle File = IEFileCreateW(FileName);
    if (File == INVALID_HANDLE_VALUE)
      throw EFCreateError(FileFailureText("Cannot create file \"%s\". %s", FileName));
    return File;
  }
  const THandle File = IEFileOpenW(FileName, Mode);
  if (File == INVALID_HANDLE_VALUE)
    throw EFOpenError(FileFailureText("Cannot open file \"%s\". %s", FileName));
  return File;
}

}  // namespace

TIEWideFileStream::TIEWideFileStream(std::u16string_view FileName, Word Mode)
    : THandleStream(OpenWideFile(FileName, Mode)) {}

TIEWideFileStream::~TIEWideFileStream() {
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

// ---- TIEBufferedReadStream

TIEBufferedReadStream::TIEBufferedReadStream(TStream* Source, Integer BufferSize, bool RelativeOrigin)
    : FSource(Source) {
  FPosition = Source->GetPosition();
  FOrigin = RelativeOrigin ? FPosition : 0;
  FSourceSize = Source->GetSize();
  SetBufferSize(BufferSize);
}

void TIEBufferedReadStream::SetBufferSize(Integer Size) {
  // A buffer of no bytes would never advance.
  FBufferSize = std::max(Size, 1);
  FBuffer = std::make_unique<Byte[]>(static_cast<size_t>(FBufferSize));
  FillBuffer();
}

void TIEBufferedReadStream::FillBuffer() {
  FSource->SetPosition(FPosition);
  FSource->Read(FBuffer.get(), FBufferSize);
  FBufferIndex = 0;
}

Integer TIEBufferedReadStream::Read(void* Buffer, Integer Count) {
  FEndReached = false;
  const Int64 Remaining = FSourceSize - FPosition;
  if (Remaining < Count) {
    Count = static_cast<Integer>(std::max<Int64>(Remaining, 0));
    FEndReached = true;
  }
  if (Count == 1) {
    // The byte-at-a-time readers' path.
    if (FBufferIndex == FBufferSize) FillBuffer();
    *static_cast<Byte*>(Buffer) = FBuffer[FBufferIndex];
    ++FBufferIndex;
    ++FPosition;
    return 1;
  }
  if (Count < 1) return 0;
  Byte* Out = static_cast<Byte*>(Buffer);
  Integer Left = Count;
  for (;;) {
    const Integer N = std::min(Left, FBufferSize - FBufferIndex);
    std::memcpy(Out, FBuffer.get() + FBufferIndex, static_cast<size_t>(N));
    Out += N;
    FBufferIndex += N;
    FPosition += N;
    Left -= N;
    if (Left == 0) break;
    FillBuffer();
  }
  return Count;
}

Integer TIEBufferedReadStream::Write(const void*, Integer) {
  throw Exception("TIEBufferedReadStream cannot write!");
}

Int64 TIEBufferedReadStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  FEndReached = false;
  Int64 Target = FPosition;
  switch (Origin) {
    case soBeginning:
      Target = FOrigin + Offset;
      break;
    case soCurrent:
      Target = FPosition + Offset;
      break;
    case soEnd:
      Target = FSourceSize - Offset;
      break;
  }
  if (Target < 0) Target = 0;
  if (Target >= FSourceSize) {
    Target = FSourceSize;
    FEndReached = true;
  }
  const Int64 IndexAtTarget = Target - FPosition + FBufferIndex;
  FPosition = Target;
  if (IndexAtTarget >= 0 && IndexAtTarget < FBufferSize)
    FBufferIndex = static_cast<Integer>(IndexAtTarget);
  else
    FillBuffer();
  return Target - FOrigin;
}

// ---- TIEMemStream

TIEMemStream::TIEMemStream(const void* Buffer, Int64 Size) {
  // Only read from: Write below never stores.
  SetPointer(const_cast<void*>(Buffer), Size);
}

Integer TIEMemStream::Write(const void*, Integer) {
  return 0;
}

// ---- TNulStream

namespace {

// 32-bit positions wrap as the 32-bit arithmetic they stand for.
Integer Wrapped(Int64 Value) {
  return static_cast<Integer>(static_cast<Cardinal>(Value));
}

}  // namespace

void TNulStream::MoveTo(Integer NewPosition) {
  FPosition = NewPosition;
  FSize = std::max(FSize, FPosition);
}

Integer TNulStream::Read(void*, Integer Count) {
  MoveTo(Wrapped(Int64{FPosition} + Count));
  return Count;
}

Integer TNulStream::Write(const void*, Integer Count) {
  MoveTo(Wrapped(Int64{FPosition} + Count));
  return Count;
}

Int64 TNulStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const Integer Offset32 = Wrapped(Offset);
  switch (Origin) {
    case soBeginning:
      MoveTo(Offset32);
      break;
    case soCurrent:
      MoveTo(Wrapped(Int64{FPosition} + Offset32));
      break;
    case soEnd:
      FPosition = Wrapped(Int64{FSize} - Offset32);
      break;
  }
  return FPosition;
}

// ---- routines

void IESafeStreamWrite(TStream* Stream, bool& Aborting, const void* Buffer, Integer Count) {
  if (Stream->Write(Buffer, Count) < Count) Aborting = true;
}

Integer IESwapWord(Integer Value) {
  const Cardinal V = static_cast<Cardinal>(Value);
  return static_cast<Integer>((V & 0xFFFF0000u) | ((V & 0xFFu) << 8) | ((V >> 8) & 0xFFu));
}

Cardinal IESwapDWord(Cardinal Value) {
  return __builtin_bswap32(Value);
}

void IESwapWordArray(void* Words, Integer Count) {
  Byte* P = static_cast<Byte*>(Words);
  for (Integer I = 0; I < Count; ++I, P += 2) std::swap(P[0], P[1]);
}

Integer IESwapWordIf(Integer Value, bool Swap) {
  return Swap ? IESwapWord(Value) : Value;
}

Cardinal IESwapDWordIf(Cardinal Value, bool Swap) {
  return Swap ? IESwapDWord(Value) : Value;
}

void IEStoreLE32(Byte* Out, Cardinal Value) {
  for (int I = 0; I < 4; ++I) Out[I] = static_cast<Byte>(Value >> (8 * I));
}

Cardinal IELoadLE32(const Byte* In) {
  Cardinal Value = 0;
  for (int I = 3; I >= 0; --I) Value = (Value << 8) | In[I];
  return Value;
}

void IEStoreLE64(Byte* Out, UInt64 Value) {
  IEStoreLE32(Out, static_cast<Cardinal>(Value));
  IEStoreLE32(Out + 4, static_cast<Cardinal>(Value >> 32));
}

UInt64 IELoadLE64(const Byte* In) {
  return IELoadLE32(In) | (static_cast<UInt64>(IELoadLE32(In + 4)) << 32);
}

namespace {

// The deflate streams of the input and output library (above this one) cannot tell their
// size; they are known by name so that the copy does not clamp to a size they do not have.
bool StreamReportsSize(const TStream* Stream) {
  const std::string Name = Stream->ClassName();
  return Name != "TZCompressionStream" && Name != "TZDecompressionStream";
}

}  // namespace

Int64 IECopyFrom(TStream* Dest, TStream* Source, Int64 Count) {
  constexpr Int64 LargestStep = 0x2FFFF;
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->GetSize();
  }
  if (StreamReportsSize(Source))
    Count = std::clamp<Int64>(Count, 0, std::max<Int64>(Source->GetSize() - Source->GetPosition(), 0));
  if (Count <= 0) return 0;
  const Integer BufferSize = static_cast<Integer>(Count < 0x30000 ? Count : LargestStep);
  std::unique_ptr<Byte[]> Buffer(new Byte[static_cast<size_t>(BufferSize)]);
  for (Int64 Left = Count; Left > 0;) {
    const Integer N = static_cast<Integer>(std::min<Int64>(Left, BufferSize));
    Source->ReadBuffer(Buffer.get(), N);
    Dest->WriteBuffer(Buffer.get(), N);
    Left -= N;
  }
  return Count;
}

void IEWriteStr(TStream* Stream, std::string_view Text) {
  Stream->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

void IEWriteLn(TStream* Stream, std::string_view Text) {
  IEWriteStr(Stream, Text);
  IEWriteStr(Stream, "\r\n");
}

void IEWriteLnLF(TStream* Stream, std::string_view Text) {
  IEWriteStr(Stream, Text);
  IEWriteStr(Stream, "\n");
}

void IESaveStringToStream(TStream* Stream, std::string_view Text) {
  Byte Prefix[4];
  IEStoreLE32(Prefix, static_cast<Cardinal>(Text.size()));
  Stream->WriteBuffer(Prefix, 4);
  IEWriteStr(Stream, Text);
}

void IELoadStringFromStream(TStream* Stream, std::string& Text) {
  Byte Prefix[4];
  Stream->ReadBuffer(Prefix, 4);
  const Integer Length = static_cast<Integer>(IELoadLE32(Prefix));
  // The length is checked against what the stream holds before anything is allocated.
  if (Length < 0 || Length > Stream->GetSize() - Stream->GetPosition()) throw EReadError(SReadError);
  std::string Loaded(static_cast<size_t>(Length), '\0');
  Stream->ReadBuffer(Loaded.data(), Length);
  Text = std::move(Loaded);
}

namespace {

bool AttributesNameAFile(const std::string& FileName) {
  const DWORD Attributes = GetFileAttributes(FileName);
  return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool IEFileExists(std::string_view FileName) {
  if (IEUsePlatformFileExists) return FileExists(FileName);
  return AttributesNameAFile(std::string(FileName));
}

bool IEFileExistsW(std::u16string_view FileName) {
  return AttributesNameAFile(Utf16ToUtf8(FileName));
}
