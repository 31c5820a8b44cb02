#pragma once
// TMetafile, the picture class of enhanced (.emf) and old-style (.wmf) metafiles, and
// TMetafileCanvas, which records drawing into one. The metafile owns its handle. Sizes: Width and
// Height in screen pixels, MMWidth and MMHeight in 0.01 mm; an old-style file's placeable header
// gives its units per inch (Inch), which sets the size as the file was drawn.
#include <string>

#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/gdi/EnhMetaFile.h"

class TMetafile : public TGraphic {
 public:
  TMetafile() = default;
  ~TMetafile() override;

  void Assign(TPersistent* Source) override;
  // Reads an enhanced metafile, or an old-style one with or without its placeable header; raises
  // EInvalidGraphic "Metafile is not valid" for anything else and keeps what it held.
  void LoadFromStream(TStream* Stream) override;
  // The enhanced metafile's bytes, also for a metafile read from an old-style file.
  void SaveToStream(TStream* Stream) override;
  void Clear();

  HENHMETAFILE GetHandle() const { return FHandle; }
  // Takes Value over; its frame becomes the size.
  void SetHandle(HENHMETAFILE Value);
  // Gives the handle to the caller and empties the metafile.
  HENHMETAFILE ReleaseHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  bool GetEnhanced() const { return FEnhanced; }
  void SetEnhanced(bool Value) { FEnhanced = Value; }
  Integer GetMMWidth() const { return FMMWidth; }
  Integer GetMMHeight() const { return FMMHeight; }
  void SetMMWidth(Integer Value);
  void SetMMHeight(Integer Value);
  Word GetInch() const { return FInch; }
  void SetInch(Word Value) { FInch = Value; }
  // Texts of the enhanced metafile's description: application and picture.
  std::string GetCreatedBy() const;
  std::string GetDescription() const;

  Integer GetWidth() override;
  void SetWidth(Integer Value) override;
  Integer GetHeight() override;
  void SetHeight(Integer Value) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  bool GetEmpty() override { return FHandle == nullptr; }

 private:
  friend class TMetafileCanvas;
  void Adopt(HENHMETAFILE Value, bool Enhanced, Integer MMWidth, Integer MMHeight, Word Inch);
  std::string DescriptionPart(Integer Index) const;
  HENHMETAFILE FHandle = nullptr;
  bool FEnhanced = true;
  Integer FMMWidth = 0;
  Integer FMMHeight = 0;
  Word FInch = 0;
};

// A canvas whose drawing goes into a new enhanced metafile, handed to the metafile when the
// canvas is destroyed. The frame is the metafile's size when it has one, else what is drawn.
class TMetafileCanvas : public TCanvas {
 public:
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const std::string& CreatedBy,
                  const std::string& Description);
  ~TMetafileCanvas() override;
  TMetafileCanvas(const TMetafileCanvas&) = delete;
  TMetafileCanvas& operator=(const TMetafileCanvas&) = delete;

 private:
  TMetafile* FMetafile;
  HDC FDC = nullptr;
};
