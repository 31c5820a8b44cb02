#pragma once
// Image lists: equally sized images (16 x 16 by default), each with a mask whose set bits are
// transparent, drawn onto canvases normally or in the platform's disabled look (the image's
// non-white pixels embossed in button highlight and shadow colours).
//
// The images live in a native image list (Handle), which the views and tab controls draw from.
// Images are copied in: a bitmap of several images side by side adds one image per Width
// pixels. The pixels a mask marks transparent are stored black.
#include <memory>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Colors.h"
#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/user/CommonControls.h"

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;
  void Assign(TPersistent* Source) override;

  Integer GetWidth() const { return FWidth; }
  // A new size empties the list.
  void SetWidth(Integer Value);
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value);
  Integer GetCount() const;
  // The native list (made on first use; the image list owns it).
  HIMAGELIST GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  // Adds the images of Image (Width pixels each, left to right) with the same part of Mask
  // (white pixels of Mask are transparent; null: opaque); returns the index of
  // the first one added, -1 when Image is empty.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // The same with the pixels of MaskColor transparent (clDefault: the colour of the bottom-left
  // pixel).
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  // Replaces the image at Index (the first Width pixels of Image).
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  // Raises EInvalidOperation "Invalid ImageList Index" for a bad index.
  void Delete(Integer Index);
  void Clear();

  // Draws image Index at (X, Y): masked, over BkColor when that is not clNone, in DrawingStyle
  // (dsFocus and dsSelected mix BlendColor in by a quarter and a half) and ImageType; disabled
  // in the embossed look. A bad index draws nothing.
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  // Sizes Image to Width x Height and draws image Index onto it.
  void GetBitmap(Integer Index, TBitmap* Image);

  TColor GetBkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  // clNone and clDefault blend the highlight colour.
  TColor GetBlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value) { FBlendColor = Value; }
  TDrawingStyle GetDrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }
  TImageType GetImageType() const { return FImageType; }
  void SetImageType(TImageType Value) { FImageType = Value; }
  bool GetMasked() const { return FMasked; }
  void SetMasked(bool Value);
  Integer GetAllocBy() const { return FAllocBy; }
  void SetAllocBy(Integer Value) { FAllocBy = Value; }

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  void CheckIndex(Integer Index) const;
  void DrawDisabled(TCanvas* Canvas, Integer X, Integer Y, Integer Index);
  // Drops the native list (a new size or mask setting makes the next one).
  void FreeHandle();

  HIMAGELIST FHandle = nullptr;
  std::unique_ptr<TBitmap> FMonoBitmap;
  Integer FWidth = 16;
  Integer FHeight = 16;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FMasked = true;
  Integer FAllocBy = 4;
};

class TImageList : public TCustomImageList {
 public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
