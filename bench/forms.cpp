// The class library's loop costs: Application.ProcessMessages with nothing to do (the mosaic
// build calls it once per cell), and a build-like loop that changes a control and pumps each
// round, whose presents must stay at about 60 per second of clock time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

// The display interface and the class library both name a TMouseButton; only the headless
// back end and the present count are used here, so the display's one is renamed for this file.
#define TMouseButton TDisplayMouseButton
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/WindowInternals.h"
#undef TMouseButton

#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/system/Clock.h"

namespace {

// A control that paints a little, as the mosaic view paints the cells that changed.
class TCellView : public TCustomControl {
 public:
  explicit TCellView(TComponent* AOwner) : TCustomControl(AOwner) {}
  Integer Cell = 0;

 protected:
  void Paint() override {
    GetCanvas()->GetBrush()->SetColor(static_cast<TColor>((Cell * 2654435761u) & 0xFFFFFF));
    GetCanvas()->FillRect(Rect(0, 0, 16, 16));
  }
};

void BM_ProcessMessagesNothingPending(benchmark::State& State) {
  Headless();
  auto Form = std::make_unique<TForm>(nullptr);
  Form->Show();
  Application->ProcessMessages();
  for (auto _ : State) Application->ProcessMessages();
}
// A million calls: their total is the figure that matters.
BENCHMARK(BM_ProcessMessagesNothingPending)->Iterations(1000000);

void BM_InvalidateAndPumpPerCell(benchmark::State& State) {
  Headless();
  TFakeClock Clock(1000);
  SetClockSource(&Clock);
  {
    auto Form = std::make_unique<TForm>(nullptr);
    auto* View = new TCellView(Form.get());
    View->SetBounds(0, 0, 200, 200);
    View->SetParent(Form.get());
    Form->Show();
    Application->ProcessMessages();
    const UInt64 Presents = PresentCount();
    Int64 Milliseconds = 0;
    for (auto _ : State) {
      ++View->Cell;
      View->Invalidate();
      Application->ProcessMessages();
      // One cell per millisecond of clock.
      Clock.Advance(1);
      ++Milliseconds;
    }
    State.counters["presents_per_clock_second"] = static_cast<double>(PresentCount() - Presents) * 1000.0 /
                                                  static_cast<double>(std::max<Int64>(Milliseconds, 1));
  }
  SetClockSource(nullptr);
}
BENCHMARK(BM_InvalidateAndPumpPerCell);

}  // namespace
