#pragma once
// Run-length coding of 1-bit rows for fax data: Modified Huffman rows (Group 3 one-dimensional),
// Modified READ rows (Group 3 two-dimensional) and Group 4 rows. The TIFF reader decodes
// compressions 2, 3 and 4 with it; the TIFF and PDF writers encode with it.
//
// Row senses differ by direction: a decoded row has a set bit for white (the decoder starts
// from an all-white row and clears black runs), a row handed to an encoder has a set bit for
// black. Pixel X is bit 7 - X mod 8 of byte X div 8; a row is ceil(Width / 8) bytes. Pixels
// past the width in a row's last byte are ignored when coding and left white when decoding.
//
// FillOrder is the TIFF value: 1 puts the stream's first bit into the most significant bit of
// each byte, 2 into the least significant.
//
// The two decode trees are the only state of the unit: CCITTInitialize builds them at the
// library's start-up (IORegisterLibraryHooks puts it into the library's CCITT slot) and
// CCITTFinalize frees them at shut-down; in between any thread may decode without a lock.
// Without the trees every code reads as unknown and decoded rows stay white. The encoders'
// reference row and pending bits belong to the caller, who clears the pending count and byte
// before each strip.
#include <memory>

#include "platform/system/Types.h"

class TStream;

// One run-length or mode code: Length bits (1 to 32), the low bits of Code, most significant
// code bit first.
struct CCITTCodeEntry {
  Integer Length;
  Word Code;
  Integer Run;  // -3 an EOL, -1 a code to ignore, otherwise the pixels it stands for
};

// A node of a decode tree: Value is 128 on inner nodes, else the index of the code-table entry
// whose code ends here.
struct CCITTTreeNode {
  Integer Value = 128;
  std::unique_ptr<CCITTTreeNode> Child0;
  std::unique_ptr<CCITTTreeNode> Child1;
};

void CCITTInitialize();
void CCITTFinalize();

// One Modified Huffman row from bit 0 of Data (compression 2, byte-aligned rows); returns the
// bytes it used, the last partial byte counted.
Integer CCITTDecodeHuffmanRow(Byte* Row, const Byte* Data, Integer DataLength, Integer FillOrder,
                              Integer Width);
// One Modified Huffman row from bit BitPos, EOL codes allowed; returns the bit position after it.
Integer CCITTDecode1DRow(Byte* Row, const Byte* Data, Integer DataLength, Integer FillOrder, Integer BitPos,
                         Integer Width);
// One Group 3 two-dimensional or Group 4 row against RefRow (a decoded row, ceil(Width / 8)
// bytes), which then receives the decoded row; returns the bit position after it. EOLFill
// accepts EOL codes preceded by any number of zero bits.
Integer CCITTDecode2DRow(Byte* Row, const Byte* Data, Integer DataLength, bool EOLFill, Integer FillOrder,
                         Integer BitPos, Byte* RefRow, Integer Width);

// The encoders write whole bytes through IESafeStreamWrite: a short write sets *AbortFlag and
// coding goes on; they never raise for it.

// One row of Modified Huffman codes padded with zero bits to a whole byte.
void CCITTEncodeHuffmanRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder,
                           bool* AbortFlag);
// One Group 3 one-dimensional row: an EOL and the row's Modified Huffman codes, continuing the
// bits of the previous row. A nil Row closes the strip by writing the pending bits as a last
// byte filled with zero bits.
void CCITTEncode1DRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder, bool* AbortFlag,
                      Integer& PendingCount, Byte& PendingByte);
// One Group 3 two-dimensional row: the strip's first row (no RefRow yet) is EOL, tag bit 1 and
// the row one-dimensionally, each later row EOL, tag bit 0 and the row against RefRow. A nil
// Row closes the strip: EOL, the pending bits as a last byte, RefRow freed.
void CCITTG3Encode2DRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder, bool* AbortFlag,
                        std::unique_ptr<Byte[]>& RefRow, Integer& PendingCount, Byte& PendingByte);
// One Group 4 row against RefRow (all white on the strip's first row). A nil Row closes the
// strip: two EOLs, zero bits to the byte boundary, RefRow freed.
void CCITTG4EncodeRow(const Byte* Row, Integer Width, TStream* Stream, Integer FillOrder, bool* AbortFlag,
                      std::unique_ptr<Byte[]>& RefRow, Integer& PendingCount, Byte& PendingByte);
