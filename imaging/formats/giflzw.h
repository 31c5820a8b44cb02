#pragma once
// The variable-width LZW codec of GIF image data (codes of M + 1 up to 12 bits, least
// significant bit first). The GIF filter reaches both procedures only through
// IEGifLzwDecompressProc / IEGifLzwCompressProc and the parameters' copies of them;
// IEFormatsInstall hands them to the I/O start-up. Both keep all their state in the call, so
// calls on different data may run on different threads at once.
#include "platform/system/Types.h"

class TStream;

// Decodes the LZW data of one frame (the sub-blocks already joined, DataLength bytes) with the
// minimum code size MinCodeSize into at most DestLength colour indices, in the order they are
// coded. False: the code stream is damaged (a minimum code size outside 2..9, a code beyond
// the next free one, an end code right after a clear code while whole data bytes remain).
// Data that ends early, or an end code before DestLength indices, is not damage: the rest of
// Dest keeps what it held. A full table without a clear code decodes on with its 4096 entries.
// No read goes past Data + DataLength, no write past Dest + DestLength.
bool GifLzwDecompress(const Byte* Data, Integer DataLength, Integer MinCodeSize, Byte* Dest,
                      Integer DestLength);

// Writes the image data of Count colour indices to Stream: the minimum code size
// max(MinCodeSize, 2), the code in sub-blocks of 254 bytes, and the block terminator 0. Every
// index must be below 2^MinCodeSize. Stream writes are not checked.
void GifLzwCompress(TStream* Stream, Integer MinCodeSize, const Byte* Indices, Integer Count);
