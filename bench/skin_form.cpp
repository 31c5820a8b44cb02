// The skinned form's frame per resize step of a 1280 x 800 form: geometry, region and frame
// painting from the largest program skin, and the skinless default frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#define TMouseButton TDisplayMouseButton
#include "platform/display/HeadlessDisplay.h"
#undef TMouseButton

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataProgramSkins.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinLayerFrame.h"

namespace {

void ResizeSteps(benchmark::State& State, bool Skinned) {
  // A screen large enough that the form is not held to the work area.
  Headless().Resize(TSize{1600, 1000});
  Application->ProcessMessages();
  TbsSkinData Data(nullptr);
  TbsCompressedStoredSkin Stored(nullptr);
  if (Skinned) {
    const auto Skins = ProgramSkins();
    const TbsProgramSkin& Largest =
        *std::max_element(Skins.begin(), Skins.end(),
                          [](const TbsProgramSkin& A, const TbsProgramSkin& B) { return A.Size < B.Size; });
    TMemoryStream S;
    S.WriteBuffer(Largest.Data, static_cast<Integer>(Largest.Size));
    S.SetPosition(0);
    Stored.ReadCompressedSkinStream(&S);
  }
  {
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 1280, 800);
    Form->SetBorderStyle(bsSizeable);
    auto* SF = new TbsSkinForm(Form.get());
    if (Skinned) Data.LoadStoredSkin(&Stored);
    SF->SetSkinData(Skinned ? &Data : nullptr);
    Form->Show();
    Application->ProcessMessages();
    Integer Step = 0;
    for (auto _ : State) {
      // One step of a live resize: the window's new size, its frame rebuilt and painted.
      Form->SetWidth(1280 - (++Step & 1));
      Application->ProcessMessages();
    }
  }
  Application->ProcessMessages();
  Headless().Resize(TSize{1024, 768});
}

void SkinnedFrameResizeStep(benchmark::State& State) {
  ResizeSteps(State, true);
}
BENCHMARK(SkinnedFrameResizeStep)->Unit(benchmark::kMillisecond);

void DefaultFrameResizeStep(benchmark::State& State) {
  ResizeSteps(State, false);
}
BENCHMARK(DefaultFrameResizeStep)->Unit(benchmark::kMillisecond);

// The four layered-border images of a 1280 x 800 form rebuilt and pushed per resize step,
// from a 200 x 160 border picture with soft edges.
void LayeredBorderResizeStep(benchmark::State& State) {
  Headless().Resize(TSize{1600, 1000});
  Application->ProcessMessages();
  TbsSkinData Data(nullptr);
  for (Integer I = 0; I < 2; ++I) {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(200, 160);
    B->GetCanvas()->GetBrush()->SetColor(I == 0 ? clNavy : clGray);
    B->GetCanvas()->FillRect(Rect(0, 0, 200, 160));
    Data.ActivePictures.push_back(std::move(B));
  }
  Data.Empty = false;
  if (!Data.LayerFrame) Data.LayerFrame = std::make_unique<TbsDataSkinLayerFrame>();
  TbsDataSkinLayerFrame& LF = *Data.LayerFrame;
  LF.PictureIndex = 0;
  LF.MaskPictureIndex = 1;
  LF.ClientRect = Rect(30, 50, 170, 130);
  LF.LeftTopPoint = Point(40, 50);
  LF.RightTopPoint = Point(160, 50);
  LF.LeftBottomPoint = Point(40, 130);
  LF.RightBottomPoint = Point(160, 130);
  LF.BorderRect = Rect(20, 40, 180, 140);
  {
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(100, 100, 1280, 800);
    auto* SF = new TbsSkinForm(Form.get());
    Form->Show();
    Application->ProcessMessages();
    auto* Border = new TbsFormLayerBorder(SF);
    Border->SetupFromSkin(&Data, Form.get());
    Border->ShowBorder();
    Integer Step = 0;
    for (auto _ : State) Border->UpdateBorderBounds(100, 100, 1280 - (++Step & 1), 800);
  }
  Application->ProcessMessages();
  Headless().Resize(TSize{1024, 768});
}
BENCHMARK(LayeredBorderResizeStep)->Unit(benchmark::kMillisecond);

}  // namespace
