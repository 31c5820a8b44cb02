#pragma once
// The imaging library's own streams and the stream routines every format filter shares: a file
// stream opened by a wide name, a buffered read-only stream for the readers, a read-only
// stream over a caller's memory, a stream that only counts, the verified write, byte-order
// swaps, the bulk copy and small text writers.
//
// None of them is locked: a stream belongs to the one reader or writer that uses it.
#include <memory>
#include <string>
#include <string_view>

#include "platform/system/FileHandles.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

// Set by the input and output library's start-up: IEFileExists asks the platform's
// file-exists call instead of reading the attributes. False until then.
extern bool IEUsePlatformFileExists;

// Mode of TIEWideFileStream that creates the file (or empties an existing one).
constexpr Word ieCreateFileMode = 0xFFFF;

// A file opened by a wide name. Mode ieCreateFileMode creates the file for reading and
// writing; any other mode opens an existing file by the platform's open-mode convention
// (fmOpenRead.., fmShare..). Raises EFCreateError "Cannot create file \"<full path>\". <system
// message>" or EFOpenError "Cannot open file ..." when that fails.
class TIEWideFileStream : public THandleStream {
 public:
  TIEWideFileStream(std::u16string_view FileName, Word Mode);
  ~TIEWideFileStream() override;
  TIEWideFileStream(const TIEWideFileStream&) = delete;
  TIEWideFileStream& operator=(const TIEWideFileStream&) = delete;
};

// The file call by a wide name (the system code page is UTF-8, so wide and narrow calls
// reach the same file).
THandle IECreateFileW(std::u16string_view FileName, DWORD Access, DWORD Share, LPSECURITY_ATTRIBUTES Security,
                      DWORD Disposition, DWORD Flags, THandle Template);
// Read and write access, no sharing, CREATE_ALWAYS.
THandle IEFileCreateW(std::u16string_view FileName);
// OPEN_EXISTING with the access (bits 0-1) and sharing (bits 4-6) of Mode;
// INVALID_HANDLE_VALUE (ERROR_INVALID_PARAMETER) for an access above 2 or sharing above $40.
THandle IEFileOpenW(std::u16string_view FileName, Word Mode);

// A read-only window on a source stream (not owned) that reads the source a buffer at a time,
// so readers taking one byte at a time do not call the source per byte. The source's size
// is taken once at creation. With RelativeOrigin the source position at creation is this
// stream's position 0. Reading past the end delivers what remains and sets the end flag
// instead of raising. Filling the buffer moves the source's own position.
class TIEBufferedReadStream : public TStream {
 public:
  TIEBufferedReadStream(TStream* Source, Integer BufferSize, bool RelativeOrigin);
  Integer Read(void* Buffer, Integer Count) override;
  // Raises Exception "TIEBufferedReadStream cannot write!".
  Integer Write(const void* Buffer, Integer Count) override;
  // From the end, Offset counts backwards. A target before the source's start becomes 0, one
  // at or beyond its end becomes the end and sets the end flag. Returns the new position
  // counted from the origin.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // A new buffer of Size bytes (at least 1), filled from the current position.
  void SetBufferSize(Integer Size);
  void FillBuffer();
  // The last read or seek met the end of the source.
  bool GetEndReached() const { return FEndReached; }

 private:
  TStream* FSource;
  Integer FBufferSize = 0;
  std::unique_ptr<Byte[]> FBuffer;
  Int64 FPosition = 0;  // in the source, absolute
  Integer FBufferIndex = 0;
  Int64 FSourceSize = 0;
  Int64 FOrigin = 0;
  bool FEndReached = false;
};

// Reads and seeks over a caller's memory block, which it neither copies nor frees. Write
// writes nothing and returns 0; SetSize does nothing.
class TIEMemStream : public TCustomMemoryStream {
 public:
  TIEMemStream(const void* Buffer, Int64 Size);
  Integer Write(const void* Buffer, Integer Count) override;
};

// Moves no bytes but counts them: how many bytes a writer would write. Position and size are
// 32-bit; the size is the largest position reached by reading, writing or seeking forward.
class TNulStream : public TStream {
 public:
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  // From the end: size - Offset, which does not change the size.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

 private:
  void MoveTo(Integer NewPosition);
  Integer FPosition = 0;
  Integer FSize = 0;
};

// Writes Count bytes; sets Aborting when the stream takes fewer (never clears it, never raises
// for a short write).
void IESafeStreamWrite(TStream* Stream, bool& Aborting, const void* Buffer, Integer Count);

// Byte order. IESwapWord exchanges the two low bytes and keeps the upper half of Value.
Integer IESwapWord(Integer Value);
Cardinal IESwapDWord(Cardinal Value);
void IESwapWordArray(void* Words, Integer Count);
// Swap is true when the data is in the other byte order.
Integer IESwapWordIf(Integer Value, bool Swap);
Cardinal IESwapDWordIf(Cardinal Value, bool Swap);

// Little-endian fields of the library's own stream formats.
void IEStoreLE32(Byte* Out, Cardinal Value);
Cardinal IELoadLE32(const Byte* In);
void IEStoreLE64(Byte* Out, UInt64 Value);
UInt64 IELoadLE64(const Byte* In);

// Copies Count bytes from Source's position to Dest (Count 0: all of Source from its start),
// never more than Source holds, and returns the count. Raises EReadError or EWriteError when a
// block does not move whole.
Int64 IECopyFrom(TStream* Dest, TStream* Source, Int64 Count);

// Text writers; they raise EWriteError when the stream takes fewer bytes.
void IEWriteStr(TStream* Stream, std::string_view Text);
void IEWriteLn(TStream* Stream, std::string_view Text);    // Text, CR, LF
void IEWriteLnLF(TStream* Stream, std::string_view Text);  // Text, LF

// A 32-bit little-endian length, then the characters. Loading raises EReadError, leaving Text
// as it was, when the length is negative or more than the stream holds.
void IESaveStringToStream(TStream* Stream, std::string_view Text);
void IELoadStringFromStream(TStream* Stream, std::string& Text);

// True for a name whose attributes can be read and that is not a folder.
bool IEFileExists(std::string_view FileName);
bool IEFileExistsW(std::u16string_view FileName);
