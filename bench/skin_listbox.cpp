// One page (20 rows) of a skinned list box painted again, with 100 and with 100,000 items:
// only the visible rows are composed, so both cost the same.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/WindowPaint.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"

namespace {

void ListPage(benchmark::State& State) {
  Headless();
  TForm Form(nullptr);
  Form.SetBounds(10, 10, 300, 500);
  auto* List = new TbsSkinListBox(&Form);
  List->SetParent(&Form);
  List->SetBounds(10, 10, 200, 20 * 20 + 4);
  TStringList Items;
  for (Integer I = 0; I < State.range(0); ++I) Items.Add("Item " + std::to_string(I));
  List->SetItems(&Items);
  List->SetItemIndex(static_cast<Integer>(State.range(0) / 2));
  Form.Show();
  Application->ProcessMessages();
  const HWND Inner = List->ListBox->GetHandle();
  for (auto _ : State) RedrawWindow(Inner, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  State.counters["rows"] = List->ListBox->GetHeight() / List->ListBox->GetItemHeight();
}
BENCHMARK(ListPage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
