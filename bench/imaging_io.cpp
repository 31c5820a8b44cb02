// Loading and saving pictures through the format filters, each beside the plain codec library
// doing the same work into or from one memory buffer: the yardstick the filters are held to.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/iepngwrite.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/pngfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "platform/system/WinTypes.h"

// After the platform headers: libjpeg defines TRUE and FALSE.
#include <jpeglib.h>
#include <png.h>

namespace {

constexpr Integer Width = 4000;
constexpr Integer Height = 3000;
constexpr Integer Quality = 90;

// A photograph-like 12-megapixel picture: smooth light with edges and fine texture, so the
// coded file has the size and detail of a camera's.
TIEBitmap& Photo() {
  static TIEBitmap* Picture = [] {
    auto* B = new TIEBitmap(Width, Height, ie24RGB);
    Cardinal Noise = 12345;
    for (Integer Y = 0; Y < Height; ++Y) {
      auto* Row = static_cast<TIERGBTriple*>(B->GetScanline(Y));
      for (Integer X = 0; X < Width; ++X) {
        Noise = Noise * 1103515245 + 12345;
        const Integer Grain = static_cast<Integer>((Noise >> 16) & 15);
        const Integer Light = static_cast<Integer>(120 + 80 * std::sin(X / 300.0) * std::cos(Y / 210.0));
        const Integer Edge = ((X / 500 + Y / 400) & 1) * 40;
        Row[X] = {static_cast<Byte>(std::min(255, Light / 2 + Edge + Grain)),
                  static_cast<Byte>(std::min(255, Light + Grain)),
                  static_cast<Byte>(std::min(255, Light + Edge / 2 + Grain / 2))};
      }
    }
    return B;
  }();
  return *Picture;
}

const std::string& PhotoJpeg() {
  static const std::string Jpeg = [] {
    TStringStream Stream;
    TIOParamsVals Params;
    Params.JpegQuality = Quality;
    TIELocalProgress Local;
    TIEIOProgress& Progress = Local.Progress;
    JpegWriteStream(&Stream, &Photo(), Params, Progress);
    return Stream.GetDataString();
  }();
  return Jpeg;
}

}  // namespace

// The filter: the file from a memory stream into a TIEBitmap, markers and metadata included.
static void BM_JpegLoadFilter(benchmark::State& State) {
  const std::string& Jpeg = PhotoJpeg();
  TIEMemStream Stream(Jpeg.data(), static_cast<Int64>(Jpeg.size()));
  TIEBitmap Bitmap;
  for (auto _ : State) {
    Stream.SetPosition(0);
    TIOParamsVals Params;
    TIELocalProgress Local;
    TIEIOProgress& Progress = Local.Progress;
    JpegReadStream(&Stream, nullptr, &Bitmap, Params, Progress, false, false, true, false, true, true, -1,
                   false);
    benchmark::DoNotOptimize(Bitmap.GetScanline(0));
  }
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(BM_JpegLoadFilter)->Unit(benchmark::kMillisecond);

// The yardstick: plain libjpeg from the same memory into one B-G-R buffer.
static void BM_JpegLoadPlainCodec(benchmark::State& State) {
  const std::string& Jpeg = PhotoJpeg();
  std::vector<Byte> Pixels(static_cast<size_t>(Width) * Height * 3);
  for (auto _ : State) {
    jpeg_decompress_struct Info{};
    jpeg_error_mgr Errors{};
    Info.err = jpeg_std_error(&Errors);
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, reinterpret_cast<const unsigned char*>(Jpeg.data()), Jpeg.size());
    jpeg_read_header(&Info, TRUE);
    Info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&Info);
    while (Info.output_scanline < Info.output_height) {
      JSAMPROW Row = Pixels.data() + static_cast<size_t>(Info.output_scanline) * Width * 3;
      jpeg_read_scanlines(&Info, &Row, 1);
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    benchmark::DoNotOptimize(Pixels.data());
  }
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(BM_JpegLoadPlainCodec)->Unit(benchmark::kMillisecond);

// The filter: the TIEBitmap into a memory stream at the same quality.
static void BM_JpegSaveFilter(benchmark::State& State) {
  TIEBitmap& Picture = Photo();
  for (auto _ : State) {
    TMemoryStream Stream;
    Stream.SetCapacity(static_cast<Int64>(PhotoJpeg().size()) * 2);
    TIOParamsVals Params;
    Params.JpegQuality = Quality;
    TIELocalProgress Local;
    TIEIOProgress& Progress = Local.Progress;
    JpegWriteStream(&Stream, &Picture, Params, Progress);
    benchmark::DoNotOptimize(Stream.GetSize());
  }
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(BM_JpegSaveFilter)->Unit(benchmark::kMillisecond);

// The yardstick: plain libjpeg from the bitmap's rows into memory at the same quality.
static void BM_JpegSavePlainCodec(benchmark::State& State) {
  TIEBitmap& Picture = Photo();
  for (auto _ : State) {
    jpeg_compress_struct Info{};
    jpeg_error_mgr Errors{};
    Info.err = jpeg_std_error(&Errors);
    jpeg_create_compress(&Info);
    unsigned char* Out = nullptr;
    unsigned long OutSize = 0;
    jpeg_mem_dest(&Info, &Out, &OutSize);
    Info.image_width = Width;
    Info.image_height = Height;
    Info.input_components = 3;
    Info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, Quality, TRUE);
    jpeg_start_compress(&Info, TRUE);
    while (Info.next_scanline < Info.image_height) {
      JSAMPROW Row = static_cast<JSAMPROW>(Picture.GetScanline(static_cast<Integer>(Info.next_scanline)));
      jpeg_write_scanlines(&Info, &Row, 1);
    }
    jpeg_finish_compress(&Info);
    jpeg_destroy_compress(&Info);
    benchmark::DoNotOptimize(OutSize);
    std::free(Out);
  }
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(BM_JpegSavePlainCodec)->Unit(benchmark::kMillisecond);

namespace {

// The photograph as an RGB PNG at the writer's default compression.
const std::string& PhotoPng() {
  static const std::string Png = [] {
    TStringStream Stream;
    TIOParamsVals Params;
    TIELocalProgress Local;
    TIEIOProgress& Progress = Local.Progress;
    PngWriteStream(&Stream, &Photo(), Params, Progress, nullptr);
    return Stream.GetDataString();
  }();
  return Png;
}

struct TPngMemory {
  const std::string* Data;
  size_t Pos;
};

void ReadPngMemory(png_structp Png, png_bytep Out, size_t Length) {
  auto* Source = static_cast<TPngMemory*>(png_get_io_ptr(Png));
  Source->Data->copy(reinterpret_cast<char*>(Out), Length, Source->Pos);
  Source->Pos += Length;
}

}  // namespace

// The filter: the PNG from a memory stream into a TIEBitmap.
static void BM_PngLoadFilter(benchmark::State& State) {
  const std::string& Png = PhotoPng();
  TIEMemStream Stream(Png.data(), static_cast<Int64>(Png.size()));
  TIEBitmap Bitmap;
  for (auto _ : State) {
    Stream.SetPosition(0);
    TIOParamsVals Params;
    TIELocalProgress Local;
    TIEIOProgress& Progress = Local.Progress;
    PngReadStream(&Stream, &Bitmap, Params, Progress, false);
    benchmark::DoNotOptimize(Bitmap.GetScanline(0));
  }
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(BM_PngLoadFilter)->Unit(benchmark::kMillisecond);

// The yardstick: plain libpng from the same memory into one B-G-R buffer.
static void BM_PngLoadPlainCodec(benchmark::State& State) {
  const std::string& Png = PhotoPng();
  std::vector<Byte> Pixels(static_cast<size_t>(Width) * Height * 3);
  for (auto _ : State) {
    TPngMemory Source{&Png, 0};
    png_structp Read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Read);
    png_set_read_fn(Read, &Source, ReadPngMemory);
    png_read_info(Read, Info);
    png_set_bgr(Read);
    png_read_update_info(Read, Info);
    for (Integer Y = 0; Y < Height; ++Y)
      png_read_row(Read, Pixels.data() + static_cast<size_t>(Y) * Width * 3, nullptr);
    png_read_end(Read, nullptr);
    png_destroy_read_struct(&Read, &Info, nullptr);
    benchmark::DoNotOptimize(Pixels.data());
  }
  State.SetItemsProcessed(State.iterations() * Width * Height);
}
BENCHMARK(BM_PngLoadPlainCodec)->Unit(benchmark::kMillisecond);
