#pragma once
// Pixel data without a header of its own: plain bytes, decimal text or hexadecimal text,
// interleaved or one plane per channel. The caller allocates the picture with the wanted size
// and pixel format; the parameters' Raw* fields describe the data. A short stream leaves the
// remaining pixels unchanged.
#include <string>

#include "platform/system/Types.h"

class TStream;
class TIEBitmap;
class TIOParamsVals;
struct TIEIOProgress;

// Sample types of a pixel format: a byte, a 16-bit word or a 32-bit float.
enum TRawSampleType : Byte { rstByte, rstWord, rstFloat };

void HeaderlessRawReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                             TIEIOProgress& Progress);

// Reads PixelCount x ChannelCount samples to Destination. DataFormat 0 copies ByteCount bytes;
// 1 and 2 read decimal and hexadecimal text samples (hexadecimal floats raise "Format
// unsupported"). Returns the bytes of Destination filled; fewer at the end of the stream.
Integer RawReadSamples(TStream* Stream, Byte DataFormat, Byte* Destination, Integer PixelCount,
                       Integer ByteCount, TRawSampleType SampleType, Integer ChannelCount);

// The next run of at most 34 digits after skipping other bytes; empty at the end of the stream.
std::string RawReadDecimalToken(TStream* Stream);
// The same for "0".."9" and "A".."F" (lower-case letters end a token).
std::string RawReadHexToken(TStream* Stream);
// Wraps like a register of 32 bits when the text holds more digits.
Cardinal RawHexToInt(const std::string& Token);
void RawStoreDecimalSample(Byte* Destination, Integer Index, const std::string& Token,
                           TRawSampleType SampleType);
void RawStoreHexSample(Byte* Destination, Integer Index, const std::string& Token, TRawSampleType SampleType);
