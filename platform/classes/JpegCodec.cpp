#include "platform/classes/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Palettes.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"

// After the platform headers: libjpeg defines TRUE and FALSE as macros.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// ---- libjpeg's error exit, turned into a jump back to the calling step ----

struct TJpegErrorMgr {
  jpeg_error_mgr Pub;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr C) {
  auto* E = reinterpret_cast<TJpegErrorMgr*>(C->err);
  (*C->err->format_message)(C, E->Message);
  std::longjmp(E->Jump, 1);
}

// Warnings (corrupt data, premature end) are not shown.
void OutputMessage(j_common_ptr) {}

void InitErrors(TJpegErrorMgr& E) {
  jpeg_std_error(&E.Pub);
  E.Pub.error_exit = ErrorExit;
  E.Pub.output_message = OutputMessage;
  E.Message[0] = 0;
}

[[noreturn]] void RaiseJpegError(const char* Message) {
  throw EInvalidGraphic(std::string("JPEG error: ") + (Message[0] ? Message : "unknown error"));
}

// ---- Decompression ----

struct TDecoder {
  jpeg_decompress_struct C{};
  TJpegErrorMgr Err;
  TDecoder() {
    InitErrors(Err);
    C.err = &Err.Pub;
  }
  ~TDecoder() { jpeg_destroy_decompress(&C); }
  TDecoder(const TDecoder&) = delete;
  TDecoder& operator=(const TDecoder&) = delete;
};

// The steps below own no C++ objects: an error jumps back to their setjmp.
bool ReadHeaderStep(TDecoder* D, const Byte* Data, std::size_t Size) {
  if (setjmp(D->Err.Jump)) return false;
  jpeg_create_decompress(&D->C);
  jpeg_mem_src(&D->C, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(&D->C, TRUE);
  return true;
}

bool StartStep(TDecoder* D) {
  if (setjmp(D->Err.Jump)) return false;
  jpeg_start_decompress(&D->C);
  return true;
}

// Rows receive the output lines; CMYK output goes through CmykRow and is converted.
bool ReadRowsStep(TDecoder* D, JSAMPROW* Rows, JSAMPROW CmykRow, bool Inverted) {
  if (setjmp(D->Err.Jump)) return false;
  jpeg_decompress_struct& C = D->C;
  while (C.output_scanline < C.output_height) {
    if (CmykRow == nullptr) {
      jpeg_read_scanlines(&C, Rows + C.output_scanline, C.output_height - C.output_scanline);
      continue;
    }
    const JDIMENSION Line = C.output_scanline;
    if (jpeg_read_scanlines(&C, &CmykRow, 1) != 1) continue;
    Byte* Out = Rows[Line];
    const Byte* In = CmykRow;
    for (JDIMENSION X = 0; X < C.output_width; ++X, In += 4, Out += 3) {
      // Adobe writes the inks inverted: the stored value is already 255 - ink.
      const Integer K = Inverted ? In[3] : 255 - In[3];
      for (Integer Ch = 0; Ch < 3; ++Ch) {
        const Integer V = Inverted ? In[Ch] : 255 - In[Ch];
        Out[2 - Ch] = static_cast<Byte>((V * K + 127) / 255);
      }
    }
  }
  jpeg_finish_decompress(&C);
  return true;
}

HPALETTE GreyPalette() {
  LOGPALETTE Log;
  Log.palNumEntries = 256;
  for (Integer I = 0; I < 256; ++I) {
    const Byte V = static_cast<Byte>(I);
    Log.palPalEntry[I] = PALETTEENTRY{V, V, V, 0};
  }
  return CreatePalette(&Log);
}

void SetBitmapPalette(TBitmap* Bitmap, HPALETTE Palette) {
  Bitmap->SetPalette(Palette);
  DeleteObject(Palette);
}

// Memory libjpeg may take for itself while decoding.
constexpr long MaxJpegWorkBytes = 1L << 30;
// Pixels one byte of Huffman-coded data can stand for at most: every 8 x 8 block of the
// largest component costs at least one bit, and a component may be sampled 16 times finer
// than the first. Arithmetic coding can go below a bit per block and is not judged.
constexpr Int64 MaxPixelsPerHuffmanByte = 8 * 64 * 16;

// Refuses, before anything of the claimed size is allocated, an image the bitmap could not
// hold or the data could not describe.
void CheckClaimedSize(const jpeg_decompress_struct& C, std::size_t Size) {
  const Int64 Pixels = static_cast<Int64>(C.image_width) * C.image_height;
  // A bitmap's size in bytes is an Integer.
  const bool TooLarge = Pixels * C.num_components > std::numeric_limits<Integer>::max();
  const bool TooShort = !C.arith_code && Pixels > static_cast<Int64>(Size) * MaxPixelsPerHuffmanByte;
  if (TooLarge || TooShort)
    throw EInvalidGraphic(Format("JPEG error: a picture of %d x %d pixels is %s",
                                 {static_cast<Int64>(C.image_width), static_cast<Int64>(C.image_height),
                                  TooLarge ? "too large" : "more than its data can hold"}));
}

// ---- Compression ----

struct TEncoder {
  jpeg_compress_struct C{};
  TJpegErrorMgr Err;
  unsigned char* Out = nullptr;
  unsigned long OutSize = 0;
  TEncoder() {
    InitErrors(Err);
    C.err = &Err.Pub;
  }
  ~TEncoder() {
    jpeg_destroy_compress(&C);
    std::free(Out);
  }
  TEncoder(const TEncoder&) = delete;
  TEncoder& operator=(const TEncoder&) = delete;
};

bool CompressStep(TEncoder* E, JSAMPROW* Rows, Integer Width, Integer Height, J_COLOR_SPACE Space,
                  Integer Components, const TJpegEncodeOptions* Options) {
  if (setjmp(E->Err.Jump)) return false;
  jpeg_compress_struct& C = E->C;
  jpeg_create_compress(&C);
  jpeg_mem_dest(&C, &E->Out, &E->OutSize);
  C.image_width = static_cast<JDIMENSION>(Width);
  C.image_height = static_cast<JDIMENSION>(Height);
  C.input_components = Components;
  C.in_color_space = Space;
  jpeg_set_defaults(&C);
  if (Options->Grayscale && Components != 1) jpeg_set_colorspace(&C, JCS_GRAYSCALE);
  jpeg_set_quality(&C, Options->Quality, TRUE);
  if (Options->Progressive) jpeg_simple_progression(&C);
  jpeg_start_compress(&C, TRUE);
  while (C.next_scanline < C.image_height)
    jpeg_write_scanlines(&C, Rows + C.next_scanline, C.image_height - C.next_scanline);
  jpeg_finish_compress(&C);
  return true;
}

bool IsGreyRamp(TBitmap* Bitmap) {
  HPALETTE P = Bitmap->GetPalette();
  PALETTEENTRY E[256];
  if (P == nullptr || GetPaletteEntries(P, 0, 256, E) != 256) return false;
  for (Integer I = 0; I < 256; ++I)
    if (E[I].peRed != I || E[I].peGreen != I || E[I].peBlue != I) return false;
  return true;
}

}  // namespace

TJpegInfo ReadJpegInfo(const Byte* Data, std::size_t Size) {
  TDecoder D;
  if (!ReadHeaderStep(&D, Data, Size)) RaiseJpegError(D.Err.Message);
  TJpegInfo Info;
  Info.Width = static_cast<Integer>(D.C.image_width);
  Info.Height = static_cast<Integer>(D.C.image_height);
  Info.Grayscale = D.C.jpeg_color_space == JCS_GRAYSCALE;
  return Info;
}

std::unique_ptr<TBitmap> DecodeJpeg(const Byte* Data, std::size_t Size, const TJpegDecodeOptions& Options) {
  TDecoder D;
  if (!ReadHeaderStep(&D, Data, Size)) RaiseJpegError(D.Err.Message);
  jpeg_decompress_struct& C = D.C;
  const bool Cmyk = C.jpeg_color_space == JCS_CMYK || C.jpeg_color_space == JCS_YCCK;
  const bool Grey = !Cmyk && (Options.Grayscale || C.jpeg_color_space == JCS_GRAYSCALE);
  const bool Quantize = !Cmyk && !Grey && Options.Quantize;
  C.scale_num = 1;
  C.scale_denom = static_cast<unsigned int>(Options.ScaleDenom);
  C.dct_method = Options.Fast ? JDCT_IFAST : JDCT_ISLOW;
  C.do_fancy_upsampling = Options.Fast ? FALSE : TRUE;
  C.do_block_smoothing = Options.Smoothing ? TRUE : FALSE;
  if (Cmyk) {
    C.out_color_space = JCS_CMYK;
  } else if (Grey) {
    C.out_color_space = JCS_GRAYSCALE;
  } else if (Quantize) {
    C.out_color_space = JCS_RGB;
    C.quantize_colors = TRUE;
    C.desired_number_of_colors = 256;
    C.two_pass_quantize = Options.Fast ? FALSE : TRUE;
    C.dither_mode = Options.Fast ? JDITHER_ORDERED : JDITHER_FS;
  } else {
    C.out_color_space = JCS_EXT_BGR;  // the bitmap's byte order: rows go straight in
  }
  CheckClaimedSize(C, Size);
  // libjpeg's own buffers (a progressive image keeps every coefficient) stay bounded too.
  C.mem->max_memory_to_use = MaxJpegWorkBytes;
  if (!StartStep(&D)) {
    if (C.err->msg_code == JERR_NO_BACKING_STORE) RaiseJpegError("image too large for memory");
    RaiseJpegError(D.Err.Message);
  }

  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetPixelFormat(Grey || Quantize ? pf8bit : pf24bit);
  Bitmap->SetSize(static_cast<Integer>(C.output_width), static_cast<Integer>(C.output_height));
  if (Grey) {
    SetBitmapPalette(Bitmap.get(), GreyPalette());
  } else if (Quantize) {
    LOGPALETTE Log;
    Log.palNumEntries = static_cast<WORD>(C.actual_number_of_colors);
    for (Integer I = 0; I < C.actual_number_of_colors; ++I)
      Log.palPalEntry[I] = PALETTEENTRY{C.colormap[0][I], C.colormap[1][I], C.colormap[2][I], 0};
    SetBitmapPalette(Bitmap.get(), CreatePalette(&Log));
  }
  std::vector<JSAMPROW> Rows(C.output_height);
  for (JDIMENSION Y = 0; Y < C.output_height; ++Y)
    Rows[Y] = static_cast<JSAMPROW>(Bitmap->GetScanLine(static_cast<Integer>(Y)));
  std::vector<Byte> CmykRow(Cmyk ? static_cast<std::size_t>(C.output_width) * 4 : 0);
  if (!ReadRowsStep(&D, Rows.data(), Cmyk ? CmykRow.data() : nullptr, C.saw_Adobe_marker != FALSE))
    RaiseJpegError(D.Err.Message);
  return Bitmap;
}

std::vector<Byte> EncodeJpeg(TBitmap* Bitmap, const TJpegEncodeOptions& Options) {
  if (Bitmap == nullptr || Bitmap->Empty()) throw EInvalidGraphic("JPEG error: no image to compress");
  J_COLOR_SPACE Space;
  Integer Components;
  std::unique_ptr<TBitmap> Copy;
  TBitmap* Source = Bitmap;
  const TPixelFormat Format = Bitmap->GetPixelFormat();
  if (Format == pf24bit) {
    Space = JCS_EXT_BGR;
    Components = 3;
  } else if (Format == pf32bit || Format == pfDevice) {
    Space = JCS_EXT_BGRX;
    Components = 4;
  } else if (Format == pf8bit && IsGreyRamp(Bitmap)) {
    Space = JCS_GRAYSCALE;
    Components = 1;
  } else {
    Copy = std::make_unique<TBitmap>();
    Copy->Assign(Bitmap);
    Copy->SetPixelFormat(pf24bit);
    Source = Copy.get();
    Space = JCS_EXT_BGR;
    Components = 3;
  }
  const Integer W = Source->GetWidth(), H = Source->GetHeight();
  std::vector<JSAMPROW> Rows(static_cast<std::size_t>(H));
  for (Integer Y = 0; Y < H; ++Y)
    Rows[static_cast<std::size_t>(Y)] = static_cast<JSAMPROW>(Source->GetScanLine(Y));
  TJpegEncodeOptions Clamped = Options;
  Clamped.Quality = Options.Quality < 1 ? 1 : Options.Quality > 100 ? 100 : Options.Quality;
  TEncoder E;
  if (!CompressStep(&E, Rows.data(), W, H, Space, Components, &Clamped)) RaiseJpegError(E.Err.Message);
  return std::vector<Byte>(E.Out, E.Out + E.OutSize);
}
