// Skinned popup menus: opening a 30-item menu (items built, sized, placed, shown and painted)
// and closing it again, in the default look.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

// The display interface and the class library both name a TMouseButton; only the headless
// back end is used here, so the display's one is renamed for this file.
#define TMouseButton TDisplayMouseButton
#include "platform/display/HeadlessDisplay.h"
#undef TMouseButton

#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "skin/form/bsSkinPopupMenus.h"

namespace {

void BM_OpenThirtyItemPopupMenu(benchmark::State& State) {
  Headless();
  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetBounds(50, 50, 300, 200);
  Form->Show();
  auto* Menu = new TbsSkinMenu(Form.get(), Form.get());
  auto* Items = new TPopupMenu(Form.get());
  for (Integer I = 0; I < 30; ++I) {
    auto* Item = new TMenuItem(Form.get());
    Item->SetCaption(I % 10 == 9 ? std::string("-") : "Menu item " + std::to_string(I));
    if (I % 7 == 3) Item->SetShortCut(ShortCut('A' + I % 26, TShiftState{ssCtrl}));
    Items->GetItems()->Add(Item);
  }
  Application->ProcessMessages();
  for (auto _ : State) {
    Menu->Popup(nullptr, nullptr, false, Items->GetItems(), Rect(100, 100, 100, 100), 0);
    // Painted as the loop paints it.
    Application->ProcessMessages();
    Menu->CloseMenus();
    Application->ProcessMessages();
  }
}
BENCHMARK(BM_OpenThirtyItemPopupMenu)->Unit(benchmark::kMicrosecond);

}  // namespace
