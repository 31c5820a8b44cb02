// The file dialogs' hot paths: a folder of 10,000 files listed by the shell list view and
// sorted by Size and by Modified, and the preview of a 12-megapixel JPEG.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/JPEGImage.h"
#include "platform/display/HeadlessDisplay.h"
#include "skin/dialogs/bsSkinShellListView.h"

namespace {

// A folder made once for the program's run, removed at its end.
struct TBenchFolder {
  std::string Path;
  TBenchFolder() {
    std::string Pattern = "/tmp/tv-bench-dialogs-XXXXXX";
    if (mkdtemp(Pattern.data()) == nullptr) std::abort();
    Path = Pattern;
    for (Integer I = 0; I < 10000; ++I)
      std::ofstream(Path + "/file" + std::to_string(I) + ".jpg")
          << std::string(static_cast<std::size_t>(I % 97), 'x');
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(4000, 3000);
    B.GetCanvas()->GetBrush()->SetColor(clTeal);
    B.GetCanvas()->FillRect(Rect(0, 0, 4000, 3000));
    TJPEGImage J;
    J.Assign(&B);
    J.SaveToFile(Path + "/big.jpeg");
  }
  ~TBenchFolder() {
    std::error_code Ec;
    std::filesystem::remove_all(Path, Ec);
  }
};

TBenchFolder& Folder() {
  static TBenchFolder F;
  return F;
}

struct TListHost {
  TForm Form{nullptr};
  TbsSkinFileListView* List;
  TListHost() {
    Headless();
    Form.SetBounds(10, 10, 500, 400);
    List = new TbsSkinFileListView(&Form);
    List->SetParent(&Form);
    List->SetAlign(alClient);
    List->SetMask("*.jpg");
    List->SetRoot(Folder().Path);
    Form.Show();
    Application->ProcessMessages();
  }
};

void ListTenThousandFiles(benchmark::State& State) {
  TListHost H;
  for (auto _ : State) H.List->Refresh();
  State.counters["items"] = H.List->ItemCount();
}
BENCHMARK(ListTenThousandFiles)->Unit(benchmark::kMillisecond);

void SortTenThousandFiles(benchmark::State& State) {
  TListHost H;
  H.List->SetViewStyle(vsReport);
  const Integer Column = static_cast<Integer>(State.range(0));
  for (auto _ : State) H.List->SortByColumn(Column);
}
BENCHMARK(SortTenThousandFiles)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void PreviewTwelveMegapixels(benchmark::State& State) {
  Folder();
  TImage Image(nullptr);
  // What the preview shows: the picture read and its top-left corner drawn.
  TBitmap Shown;
  Shown.SetSize(200, 200);
  for (auto _ : State) {
    Image.GetPicture()->LoadFromFile(Folder().Path + "/big.jpeg");
    Shown.GetCanvas()->Draw(0, 0, Image.GetPicture()->GetGraphic());
  }
  State.counters["width"] = Image.GetPicture()->GetWidth();
}
BENCHMARK(PreviewTwelveMegapixels)->Unit(benchmark::kMillisecond);

}  // namespace
