#pragma once
// Drawn annotations of document-imaging TIFF files (private tag 32932): lines, notes, stamps,
// pasted images. The marks travel as opaque attribute records; the view draws them.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TIEBitmap;

// Size of a mark's attribute record.
constexpr Integer IEAnnotAttributesSize = 164;

class TIEImagingObject : public TObject {
 public:
  TIEImagingObject();
  ~TIEImagingObject() override;

  // The attribute record as read: the mark type in its first 32-bit value, a LOGFONT from byte
  // 48 (so the font height is at byte 48).
  Byte* GetAttributes() { return FAttributes.data(); }
  const Byte* GetAttributes() const { return FAttributes.data(); }
  Integer GetMarkType() const;
  void SetMarkType(Integer Value);
  Integer GetFontHeight() const;
  void SetFontHeight(Integer Value);

  std::vector<TPoint>& GetPoints() { return FPoints; }
  const std::vector<TPoint>& GetPoints() const { return FPoints; }
  const std::string& GetText() const { return FText; }
  void SetText(std::string Value) { FText = std::move(Value); }
  // nullptr when the mark has no image.
  TIEBitmap* GetImage() const { return FImage.get(); }
  void SetImage(std::unique_ptr<TIEBitmap> Value);

  void Assign(const TIEImagingObject& Source);

 private:
  std::array<Byte, IEAnnotAttributesSize> FAttributes{};
  std::vector<TPoint> FPoints;
  std::string FText;
  std::unique_ptr<TIEBitmap> FImage;
};

// Mark types.
constexpr Integer ieamImage = 1;
constexpr Integer ieamStraightLine = 3;
constexpr Integer ieamFreehandLine = 4;
constexpr Integer ieamTypedText = 7;
constexpr Integer ieamAttachedNote = 10;

class TIEImagingAnnot : public TObject {
 public:
  // Owner: the parameters object the list belongs to (not owned; may be nullptr).
  explicit TIEImagingAnnot(TObject* Owner = nullptr);
  ~TIEImagingAnnot() override;
  TIEImagingAnnot(const TIEImagingAnnot&) = delete;
  TIEImagingAnnot& operator=(const TIEImagingAnnot&) = delete;

  void Clear();
  // A deep copy of every object of Source.
  void Assign(const TIEImagingAnnot* Source);
  // Replaces the marks by those of the annotation data; reading stops at a record that does
  // not fit in Length bytes, keeping the marks before it.
  void LoadFromBuffer(const void* Data, Integer Length);
  // The annotation data of the marks in a new buffer for the caller; nullptr and 0 when there
  // are none.
  void SaveToBuffer(std::unique_ptr<Byte[]>& Buffer, Integer& Length) const;

  Integer Count() const { return static_cast<Integer>(FObjects.size()); }
  TIEImagingObject* GetObject(Integer Index) const { return FObjects[Index].get(); }
  // Takes the object over; returns its index.
  Integer AddObject(std::unique_ptr<TIEImagingObject> Object);
  TObject* GetOwner() const { return FOwner; }

  // Cleared by LoadFromBuffer.
  bool GetUserChanged() const { return FUserChanged; }
  void SetUserChanged(bool Value) { FUserChanged = Value; }

 private:
  TObject* FOwner;
  std::vector<std::unique_ptr<TIEImagingObject>> FObjects;
  bool FUserChanged = false;
};
