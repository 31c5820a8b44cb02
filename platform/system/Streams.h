#pragma once
// Streams: byte sequences with a 64-bit position. Read and Write move at most Count bytes and
// tell how many they moved; ReadBuffer and WriteBuffer insist on all of them.
#include <string>
#include <string_view>

#include "platform/system/Object.h"
#include "platform/system/Resources.h"
#include "platform/system/Types.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
// The older names of the same origins.
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

constexpr const char* SReadError = "Stream read error";
constexpr const char* SWriteError = "Stream write error";

class TStream : public TObject {
 public:
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  // The new position, or -1 when the stream cannot seek there.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  // Raise EReadError / EWriteError when fewer than Count bytes move.
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  // Copies Count bytes from Source's position; Count <= 0 copies all of Source from its start.
  // Returns the bytes copied; raises EReadError when Source ends early.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  Int64 GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 GetSize();
  // Streams that cannot change their size ignore this.
  virtual void SetSize(Int64 NewSize);
};

// A stream over an open POSIX file descriptor, which the stream does not own.
class THandleStream : public TStream {
 public:
  explicit THandleStream(int AHandle) : FHandle(AHandle) {}
  int GetHandle() const { return FHandle; }
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Raises EOSError when the file cannot change its length.
  void SetSize(Int64 NewSize) override;

 protected:
  int FHandle;
};

// File modes: one access mode, or fmCreate; share bits are accepted and have no effect.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

// A named file; fmCreate makes a new empty file (or empties an existing one) open for
// reading and writing. File names may use '\' or '/'. Raises EFCreateError
// "Cannot create file \"<full path>\". <system message>" or EFOpenError "Cannot open file ...".
class TFileStream : public THandleStream {
 public:
  TFileStream(std::string_view AFileName, Word Mode);
  ~TFileStream() override;
  const std::string& GetFileName() const { return FFileName; }

 private:
  std::string FFileName;
};

// A file written whole or not at all: the bytes go to a new file beside FileName, and Commit
// puts it in FileName's place in one step (the old file's permissions are kept). A stream
// destroyed without Commit, because a write failed, removes its file and leaves FileName as it
// was. Raises EFCreateError as TFileStream does when the folder takes no new file.
class TReplacingFileStream : public THandleStream {
 public:
  explicit TReplacingFileStream(std::string_view AFileName);
  ~TReplacingFileStream() override;
  TReplacingFileStream(const TReplacingFileStream&) = delete;
  TReplacingFileStream& operator=(const TReplacingFileStream&) = delete;
  // Raises EWriteError when the data cannot be made durable or put in place.
  void Commit();

 private:
  std::string FFileName;  // as given, for messages
  std::string FTarget;    // the native file replaced (a link is followed to its file)
  std::string FTemporary;
};

// A stream over one block of memory. Reading past the end delivers what is there.
class TCustomMemoryStream : public TStream {
 public:
  Integer Read(void* Buffer, Integer Count) override;
  // Any position may be set, also beyond the end; a negative one reads and writes nothing.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SaveToStream(TStream* Stream);
  void SaveToFile(std::string_view FileName);
  void* GetMemory() const { return FMemory; }

 protected:
  void SetPointer(void* Ptr, Int64 Size);
  void* FMemory = nullptr;
  Int64 FSize = 0;
  Int64 FPosition = 0;
};

// A memory stream that owns and grows its block. Writing beyond the end extends the stream;
// a gap left by seeking beyond the end reads as zeros.
class TMemoryStream : public TCustomMemoryStream {
 public:
  ~TMemoryStream() override;
  Integer Write(const void* Buffer, Integer Count) override;
  // Keeps the position unless it would lie beyond the new end, where it moves to the end.
  void SetSize(Int64 NewSize) override;
  void Clear();
  Int64 GetCapacity() const { return FCapacity; }
  // Raises EOutOfMemory ("Out of memory while expanding memory stream") when it cannot grow.
  void SetCapacity(Int64 NewCapacity);
  // Takes the whole of Stream (from its start); the own position stays.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(std::string_view FileName);

 private:
  void Reallocate(Int64 NewCapacity);
  Int64 FCapacity = 0;
};

// A stream whose bytes are a string. Positions stay within 0..size.
class TStringStream : public TStream {
 public:
  explicit TStringStream(std::string AString = {}) : FDataString(std::move(AString)) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;
  // Up to Count bytes from the position.
  std::string ReadString(Integer Count);
  void WriteString(std::string_view S);
  const std::string& GetDataString() const { return FDataString; }

 private:
  std::string FDataString;
  Int64 FPosition = 0;
};

// The read-only data of a resource of Instance. Raises EResNotFound "Resource %s not found";
// writing raises EStreamError "Can't write to a read-only resource stream".
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(HINSTANCE Instance, std::string_view ResName, LPCSTR ResType);
  // By integer id (the platform's CreateFromID); the message shows the number.
  TResourceStream(HINSTANCE Instance, Integer ResID, LPCSTR ResType);
  Integer Write(const void* Buffer, Integer Count) override;

 private:
  void Initialize(HINSTANCE Instance, LPCSTR Name, LPCSTR ResType, const std::string& Shown);
};
