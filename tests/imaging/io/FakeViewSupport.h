#pragma once
// A view that stands in for the image view: it holds a TIEBitmap (or only a platform bitmap),
// tells its bitmap-change listener about swaps and its end, and logs what the component asks
// of it and the private messages it receives. The log may be written by worker threads.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/io/ieview.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/Bitmap.h"
#include "platform/user/Messages.h"

class TFakeView : public TIEView {
 public:
  explicit TFakeView(TComponent* Owner, bool WithIEBitmap = true, bool ImageView = true)
      : TIEView(Owner), FImageView(ImageView) {
    if (WithIEBitmap) {
      Picture = std::make_unique<TIEBitmap>();
    } else {
      Platform = std::make_unique<TBitmap>();
      Platform->SetPixelFormat(pf24bit);
    }
  }
  ~TFakeView() override {
    if (FCallback) FCallback(this, true);
  }

  TIEBitmap* GetIEBitmap() override { return Picture.get(); }
  TBitmap* GetTBitmap() override { return Platform.get(); }
  Integer GetDpiX() override { return DpiX; }
  Integer GetDpiY() override { return DpiY; }
  void SetDpiX(Integer Value) override { SetDpi(Value, DpiY); }
  void SetDpiY(Integer Value) override { SetDpi(DpiX, Value); }
  void SetDpi(Integer X, Integer Y) override {
    DpiX = X;
    DpiY = Y;
    Add("dpi " + std::to_string(X) + " " + std::to_string(Y));
  }
  void ImageChange() override { Add("imagechange"); }
  void Update() override { Add("update"); }
  TColor GetBackground() override { return Background; }
  TIEBitmapChangeHandle AddBitmapChangeEvent(TIEBitmapChangeEvent Callback) override {
    FCallback = Callback;
    return this;
  }
  void RemoveBitmapChangeEvent(TIEBitmapChangeHandle Registration) override {
    if (Registration == this) FCallback.Clear();
  }
  bool IsImageView() const override { return FImageView; }
  void LockUpdate() override { Add("lock"); }
  void UnlockUpdateNoRefresh() override { Add("unlock"); }

  // A new picture of the view, as loading into the view does; the listener hears of it.
  void SwapPicture() {
    Picture = std::make_unique<TIEBitmap>();
    if (FCallback) FCallback(this, false);
  }
  bool IsFollowed() const { return static_cast<bool>(FCallback); }

  std::vector<std::string> TakeLog() {
    std::lock_guard Guard(FLock);
    return std::exchange(FLog, {});
  }

  std::unique_ptr<TIEBitmap> Picture;
  std::unique_ptr<TBitmap> Platform;
  Integer DpiX = 96;
  Integer DpiY = 96;
  TColor Background = 0x123456;

 protected:
  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case IEM_UPDATE:
        Add("message update");
        break;
      case IEM_PROGRESS:
        Add("message progress " + std::to_string(Message.WParam));
        break;
      case IEM_FINISHWORK:
        Add("message finish");
        break;
      default:
        TIEView::Dispatch(Message);
    }
  }

 private:
  void Add(const std::string& Line) {
    std::lock_guard Guard(FLock);
    FLog.push_back(Line);
  }

  bool FImageView;
  TIEBitmapChangeEvent FCallback;
  std::mutex FLock;
  std::vector<std::string> FLog;
};
