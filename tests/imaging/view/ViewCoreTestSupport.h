#pragma once
// A view that counts its updates, a parent form for views that need a window, and a folder
// for files the tests write.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"

class TCountingView : public TZezudIdView {
 public:
  using TZezudIdView::TZezudIdView;
  void Update() override {
    ++Updates;
    TZezudIdView::Update();
  }
  int Updates = 0;
};

// A shown form holding one view of ViewClass; the form (and the view with it) goes before the
// last message pump, so the windows' final messages are handled.
template <class ViewClass = TCountingView>
class TViewOnForm {
 public:
  TViewOnForm() : Form(std::make_unique<TForm>(nullptr)) {
    Form->SetBounds(0, 0, 300, 200);
    View = new ViewClass(Form.get());
    View->SetParent(Form.get());
    View->SetBounds(0, 0, 200, 150);
    Form->Show();
    Application->ProcessMessages();
  }
  ~TViewOnForm() {
    Form.reset();
    Application->ProcessMessages();
  }
  std::unique_ptr<TForm> Form;
  ViewClass* View = nullptr;
};

// A private folder under the temporary folder, removed with the object.
class TTestFolder {
 public:
  TTestFolder() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "tv-view-XXXXXX").string();
    FPath = mkdtemp(Pattern.data());
  }
  ~TTestFolder() { std::filesystem::remove_all(FPath); }
  std::u16string Path(const std::string& Name) const {
    const std::string Full = (FPath / Name).string();
    return std::u16string(Full.begin(), Full.end());
  }

 private:
  std::filesystem::path FPath;
};

// A Width x Height picture whose pixel (x, y) is (red x * 10, green y * 20, blue 100).
inline std::unique_ptr<TIEBitmap> PatternPicture(Integer Width, Integer Height) {
  auto Picture = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      Picture->SetPixel24(X, Y, TIERGBTriple{100, static_cast<Byte>(Y * 20), static_cast<Byte>(X * 10)});
  return Picture;
}
