// The movie player's per-frame work: decoding one 1920x1080 MJPG frame and converting it to
// the bottom-up RGB24 rows the sample grabber hands over. 25 frames per second leave 40 ms.
#include <benchmark/benchmark.h>

#include "platform/media/DShowDecoder.h"
#include "tests/platform/media/MovieTestSupport.h"

namespace {

void BM_DecodeMjpgFrameToRGB24(benchmark::State& State) {
  static TTestMovie Movie("bench-1080p.avi", TMovieCodec::MJPG, 1920, 1080, 8, 25, true);
  auto Decoder = TMediaDecoder::Open(Movie.Path());
  if (!Decoder) {
    State.SkipWithError("movie does not open");
    return;
  }
  for (auto _ : State) {
    Int64 Start = 0;
    if (!Decoder->DecodeNext(Start)) {
      Decoder->SeekTo(0);
      Decoder->DecodeNext(Start);
    }
    benchmark::DoNotOptimize(Decoder->ConvertToRGB24());
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_DecodeMjpgFrameToRGB24)->Unit(benchmark::kMillisecond);

}  // namespace
