#pragma once
// Helpers of the mosaic program's tests: 24-bit bitmaps made from a function of the position
// and read back as 0x00BBGGRR colours, a started main window, and regions of a wire frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/JPEGImage.h"
#include "platform/classes/Screen.h"
#include "platform/classes/StdCtrls.h"
#include "platform/display/HeadlessDisplay.h"
#include "raster/RS32_Image.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

// A 24-bit bitmap of W x H whose pixel (X, Y) has the colour Color(X, Y).
inline std::unique_ptr<TBitmap> MakeBitmap(Integer W, Integer H,
                                           const std::function<TColor(Integer, Integer)>& Color) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  const TBitmapRows Rows(B.get());
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) SetPixelColor(Rows[Y] + 3 * X, Color(X, Y));
  return B;
}

inline TColor PixelAt(TBitmap* B, Integer X, Integer Y) {
  return PixelColor(static_cast<Byte*>(B->GetScanLine(Y)) + 3 * X);
}

inline TColor Rgb(Integer R, Integer G, Integer B) {
  return static_cast<TColor>(R | (G << 8) | (B << 16));
}

// A path as the file dialogs return it: with '/' separators only.
inline std::string Slashed(std::string Path) {
  std::replace(Path.begin(), Path.end(), '\\', '/');
  return Path;
}

// ---- Answers and counts ----------------------------------------------------------------------

// Answers the next modal dialogs while it lives: a message box (skinned or the platform's) is
// read and confirmed, a file dialog gets FileName (an empty name cancels it), the font dialog
// gets FontSize and is confirmed; a save dialog's overwrite question is confirmed and counted.
struct TDialogAnswers {
  std::string FileName;
  std::string FontSize;
  std::vector<std::string> Messages;
  Integer FileDialogs = 0;
  Integer Overwrites = 0;
  TDialogAnswers() {
    SetModalHook([this] {
      TForm* Active = Screen->GetActiveForm();
      if (auto* Box = dynamic_cast<TbsMessageForm*>(Active)) {
        // The save dialogs' overwrite question is counted apart from the program's messages.
        if (Box->Message->GetCaption() == "Do you want to overwrite old file?")
          ++Overwrites;
        else
          Messages.push_back(Box->Message->GetCaption());
        Box->SetModalResult(mrOk);
      } else if (auto* Text =
                     Active != nullptr ? dynamic_cast<TLabel*>(Active->FindComponent("Message")) : nullptr) {
        // The platform's own message dialog.
        Messages.push_back(Text->GetCaption());
        Active->SetModalResult(mrOk);
      } else if (auto* Files = dynamic_cast<TbsOpenDlgForm*>(Active)) {
        // The name is typed and entered as a user would, so that a question the dialog asks
        // (overwrite) comes up in its own loop and is answered here; a dialog still open at
        // its next look is cancelled.
        if (Files->GetTag() == 0 && !FileName.empty()) {
          ++FileDialogs;
          Files->SetTag(1);
          Files->FileNameEdit->SetText(FileName);
          Files->FileNameEdit->SetFocus();
          Headless().KeyPress(VK_RETURN);
          return;
        }
        if (Files->GetTag() == 0) ++FileDialogs;
        if (Files->GetModalResult() == mrNone) Files->SetModalResult(mrCancel);
      } else if (Active != nullptr && Active->FindComponent("SizeEdit") != nullptr) {
        static_cast<TEdit*>(Active->FindComponent("SizeEdit"))->SetText(FontSize);
        static_cast<TButton*>(Active->FindComponent("OkButton"))->Click();
      }
    });
  }
  ~TDialogAnswers() { SetModalHook(nullptr); }
  TDialogAnswers(const TDialogAnswers&) = delete;
  TDialogAnswers& operator=(const TDialogAnswers&) = delete;
};

// Counts finished builds: each hands its result to ResultJpeg once.
struct TBuildCounter {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
  void Attach() { ResultJpeg->OnChange = TNotifyEvent(this, &TBuildCounter::Changed); }
};

// ---- The main window ------------------------------------------------------------------------

// A main window made and started for each test, and the load of a source picture through the
// text picture's road (no dialog).
class TMosaicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TForm1>(nullptr);
    RunUntilIdle();
  }
  void TearDown() override {
    Form.reset();
    RunUntilIdle();
  }
  void LoadSource(TBitmap* Picture) {
    Picture->SaveToFile(ResultsDir + "\\TextOut.bmp");
    TextMode = 1;
    Form->LoadPicture(Form->LoadPicBtn);
    TextMode = 0;
  }
  void LoadUniform(Integer W, Integer H, TColor C) {
    auto B = MakeBitmap(W, H, [C](Integer, Integer) { return C; });
    LoadSource(B.get());
  }
  std::unique_ptr<TForm1> Form;
};

// The 4-connected regions of pixels that are not black, numbered from 1 (black pixels: 0).
inline std::vector<Integer> LabelRegions(TBitmap* B, Integer& Count) {
  const Integer W = B->GetWidth(), H = B->GetHeight();
  std::vector<Integer> Label(static_cast<std::size_t>(W) * H, 0);
  std::vector<Integer> Stack;
  Count = 0;
  for (Integer Start = 0; Start < W * H; ++Start) {
    if (Label[Start] != 0 || PixelAt(B, Start % W, Start / W) == clBlack) continue;
    Label[Start] = ++Count;
    Stack.push_back(Start);
    while (!Stack.empty()) {
      const Integer P = Stack.back();
      Stack.pop_back();
      const Integer X = P % W, Y = P / W;
      const Integer Next[4][2] = {{X - 1, Y}, {X + 1, Y}, {X, Y - 1}, {X, Y + 1}};
      for (const auto& N : Next) {
        if (N[0] < 0 || N[1] < 0 || N[0] >= W || N[1] >= H) continue;
        const Integer Q = N[1] * W + N[0];
        if (Label[Q] != 0 || PixelAt(B, N[0], N[1]) == clBlack) continue;
        Label[Q] = Count;
        Stack.push_back(Q);
      }
    }
  }
  return Label;
}
