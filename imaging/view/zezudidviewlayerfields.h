#pragma once
// Little-endian field images for the view's own stream formats (layer undo records, layer
// files): fields are written one after the other without padding, never as a struct.
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Types.h"

class TStream;

// Collects fields in memory and hands them to the stream in one write.
class TIEFieldWriter {
 public:
  void Int32(Integer Value);
  void UInt8(Byte Value);
  void Bool(bool Value) { UInt8(Value ? 1 : 0); }
  void Float64(double Value);
  void Bytes(const void* Data, size_t Count);
  void Zeros(size_t Count);
  // A 32-bit length, then the characters.
  void String(std::string_view Text);
  const std::vector<Byte>& Data() const { return FData; }
  size_t Size() const { return FData.size(); }
  // Writes what was collected and empties the buffer; raises what the stream raises.
  void FlushTo(TStream* Stream);

 private:
  std::vector<Byte> FData;
};

// Reads fields from a stream, never more than Limit bytes past where it started. After the
// first short read every further read fails too and leaves its target untouched.
class TIEFieldReader {
 public:
  TIEFieldReader(TStream* Stream, Int64 Limit);
  // Limited by what the stream holds after its position.
  static TIEFieldReader UpToEnd(TStream* Stream);

  bool Int32(Integer& Value);
  bool UInt8(Byte& Value);
  bool Bool(bool& Value);
  bool Float64(double& Value);
  bool Bytes(void* Data, size_t Count);
  bool Skip(Int64 Count);
  // A 32-bit length, then the characters; a negative length or one beyond the limit fails.
  bool String(std::string& Text);

  bool Ok() const { return FOk; }
  Int64 Remaining() const { return FRemaining; }

 private:
  bool Take(void* Data, size_t Count);
  TStream* FStream;
  Int64 FRemaining;
  bool FOk = true;
};
