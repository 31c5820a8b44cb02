#pragma once
// The LZW codec of TIFF compression 5 (codes of 9 to 12 bits, most significant bit first, the
// width growing one code early as TIFF writers do). The TIFF filter reaches both procedures only
// through IETiffLzwDecompressProc / IETiffLzwCompressProc and the parameters' copies of them;
// IEFormatsInstall hands them to the I/O start-up.
//
// Both keep their state in a context the caller holds in a pointer variable (one per strip):
// nullptr before the first call; a call with nullptr data ends the strip, frees the context and
// sets the variable back to nullptr. One context must not be used by two threads at once;
// different contexts need no locks.
#include "platform/system/Types.h"

class TStream;

// The next RowLength decoded bytes of a strip. The first call (Context nullptr) creates the
// context and fixes Data, DataLength and RowLength for the whole strip; later calls only pass a
// non-nil Data. The result points into the context's buffer and stays valid until the next call;
// bytes decoded past a row are kept for the next one. A row that ends early (end code, or the
// data used up) keeps the buffer's former bytes where nothing was decoded. nullptr: the strip is
// damaged (a code beyond the table right after a clear, or a table grown past 4096 entries
// without a clear); that context then answers nullptr to every later row. FillOrder 2 takes the
// bits of each data byte in reverse order. No read goes past Data + DataLength.
Byte* TiffLzwDecompress(const Byte* Data, Integer DataLength, Integer RowLength, void*& Context,
                        Integer FillOrder);

// Codes Count bytes of Data to Stream, continuing the code stream of Context (the first call
// starts it with a clear code). Data nullptr: writes the pending string, the end code and the
// last bits, and frees the context. Stream writes are not checked.
void TiffLzwCompress(const Byte* Data, Integer Count, TStream* Stream, void*& Context);
