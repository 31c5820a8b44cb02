#pragma once
// TZezudIdProc: the imaging library's processing component. It works on one picture (its own,
// a caller's TIEBitmap, an image control's platform bitmap, or an attached view's) and runs
// every operation through one frame: PrepareBitmap checks the picture and its pixel format, an
// optional undo entry is saved, the work is done, Refresh repaints the attached control and
// DoFinishWork reports 100 per cent.
//
// Files: zezudidproc.cpp (construction, attachment, the operation frame), zezudidprocundo.cpp
// (undo and redo lists); the operations live in zezudidproc<topic>.cpp beside their routines.
//
// Only the user-interface thread calls the component; resampling workers report progress
// through OnProgress from their own threads.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/io/ieview.h"
#include "imaging/proc/ieprocdialogparams.h"
#include "platform/classes/Colors.h"
#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/system/Sets.h"
#include "platform/system/Types.h"

class TBitmap;
class TFont;
class TForm;
class TImage;
class TIEBitmap;
class TIEMask;

// What an undo or redo entry holds.
enum TIEUndoSource : Byte {
  ieuUnknown = 0,
  ieuImage = 1,            // a copy of the picture
  ieuSelection = 2,        // the view's selection
  ieuObject = 3,           // the vector objects
  ieuLayer = 4,            // the layers without their bitmaps
  ieuFullLayer = 5,        // the layers, the current one with its bitmap
  ieuObjectsAndLayers = 6  // layers and vector objects together
};

// How ConvertTo and ConvertToPalette make a two-colour picture.
enum TIEDitherMethod : Byte { ieOrdered = 0, ieThreshold = 1 };

// The interpolation of Rotate when anti-aliasing is asked for.
enum TIERotateAntialias : Byte { raShearBlend = 0, raBilinear = 1, raBicubic = 2 };

enum TPRPreviewsParamsItems : Byte { prppShowResetButton, prppHardReset };
using TPRPreviewsParams = TSet<TPRPreviewsParamsItems, 2>;

using TIEPixelFormatSet = TSet<TIEPixelFormat, IEPixelFormatCount>;
using TIEPreviewEvent = TDelegate<void(TObject* Sender, TForm* PreviewForm)>;
using TIESaveUndoEvent = TDelegate<void(TObject* Sender, TIEUndoSource Source)>;

// Language of the preview dialogs; 0 follows the system.
using TProcMsgLanguage = Byte;

// Where MakeConsistentBitmap looks for a format the operation accepts, per current format;
// ieNull ends a row.
extern const std::array<std::array<TIEPixelFormat, 7>, IEPixelFormatCount> IEFormatFallbackTable;

class TZezudIdProc : public TComponent {
 public:
  // AutoUndo is on exactly when there is an owner.
  explicit TZezudIdProc(TComponent* Owner);
  ~TZezudIdProc() override;
  TZezudIdProc(const TZezudIdProc&) = delete;
  TZezudIdProc& operator=(const TZezudIdProc&) = delete;

  // One entry of the undo or redo list (defined inside the component's own files).
  struct TIEUndoEntry;

  // A component without owner and without AutoUndo, working on Bitmap (not owned).
  static std::unique_ptr<TZezudIdProc> CreateFromBitmap(TIEBitmap* Bitmap);

  // ---- The picture and what it is attached to --------------------------------------------
  // The working picture; nil after SetAttachedIEBitmap(nil) while detached.
  TIEBitmap* GetIEBitmap() const { return FIEBitmap; }
  TBitmap* GetAttachedBitmap() const { return FAttachedBitmap; }
  TIEView* GetAttachedZezudId() const { return FAttachedZezudId; }
  TImage* GetAttachedTImage() const { return FAttachedTImage; }
  void SetAttachedZezudId(TIEView* View);
  void SetAttachedTImage(TImage* Image);
  // Nil while a view or image control is attached changes nothing.
  void SetAttachedIEBitmap(TIEBitmap* Bitmap);
  // Makes Bitmap (not owned) the working picture and forgets any platform bitmap.
  void UseBitmap(TIEBitmap* Bitmap);

  // ---- Properties -------------------------------------------------------------------------
  bool GetAutoUndo() const { return FAutoUndo; }
  void SetAutoUndo(bool Value) { FAutoUndo = Value; }
  // The view's background when a view is attached, else the component's own.
  TColor GetBackground() const;
  void SetBackground(TColor Value);
  TProcMsgLanguage GetMsgLanguage() const { return FMsgLanguage; }
  void SetMsgLanguage(TProcMsgLanguage Value) { FMsgLanguage = Value; }
  TPRPreviewsParams GetPreviewsParams() const { return FPreviewsParams; }
  void SetPreviewsParams(TPRPreviewsParams Value) { FPreviewsParams = Value; }
  TFont* GetPreviewFont() const { return FPreviewFont.get(); }
  // Copies Font into the owned preview font.
  void SetPreviewFont(TFont* Font);
  TIPDialogParams* GetIPDialogParams() const { return FIPDialogParams.get(); }
  bool GetAutoConvertFormat() const { return FAutoConvertFormat; }
  void SetAutoConvertFormat(bool Value) { FAutoConvertFormat = Value; }
  TIELocation GetUndoLocation() const { return FUndoLocation; }
  void SetUndoLocation(TIELocation Value) { FUndoLocation = Value; }
  // The most entries each of the undo and redo lists keeps; 0 turns both off.
  Integer GetUndoLimit() const { return FUndoLimit; }
  void SetUndoLimit(Integer Value) { FUndoLimit = Value; }

  TIEProgressEvent GetOnProgress() const { return FOnProgress; }
  void SetOnProgress(TIEProgressEvent Value) { FOnProgress = Value; }
  TNotifyEvent GetOnFinishWork() const { return FOnFinishWork; }
  void SetOnFinishWork(TNotifyEvent Value) { FOnFinishWork = Value; }
  TIESaveUndoEvent GetOnSaveUndo() const { return FOnSaveUndo; }
  void SetOnSaveUndo(TIESaveUndoEvent Value) { FOnSaveUndo = Value; }
  TIEPreviewEvent GetOnPreview() const { return FOnPreview; }
  void SetOnPreview(TIEPreviewEvent Value) { FOnPreview = Value; }

  // ---- The operation frame ----------------------------------------------------------------
  // False without a picture; re-wraps an attached platform bitmap, then MakeConsistentBitmap.
  bool PrepareBitmap(TIEPixelFormatSet Allowed);
  // True when Allowed is empty or holds the picture's format; otherwise, with
  // AutoConvertFormat, converts to the first fallback in Allowed and answers true.
  bool MakeConsistentBitmap(TIEPixelFormatSet Allowed);
  // Start of an operation that respects the view's selection. Work is the picture itself, or
  // a new bitmap (freed by EndImageProcessing) holding the selection's box; X2 and Y2 are
  // exclusive.
  bool BeginImageProcessing(TIEPixelFormatSet Allowed, Integer& X1, Integer& Y1, Integer& X2, Integer& Y2,
                            TIEBitmap*& Work, const std::string& Caption, TIEMask*& Mask);
  // Copies the selected pixels of a separate Work back, frees it, then Refresh.
  void EndImageProcessing(TIEBitmap* Work, TIEMask* Mask);
  // The selection's box (exclusive X2, Y2), polygon and mask of an attached view; false when
  // there is no selection (the box is then the whole picture).
  virtual bool GetSelectionInfo(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2, void*& Polygon,
                                Integer& PolygonCount, TIEMask*& Mask);
  // After a change of the picture: repaints the attached view or marks the platform bitmap.
  void Refresh();
  // OnProgress(100), then OnFinishWork.
  virtual void DoFinishWork();
  // Called by an attached view: Destroying true when it goes, false when it changed bitmaps.
  void NotifyAttachedChange(TObject* Sender, bool Destroying);

  // ---- Undo and redo (positions count from the newest entry, 0 = newest) ----------------
  virtual bool CanUndo() const;
  virtual bool CanRedo() const;
  virtual Integer UndoCount() const;
  virtual Integer RedoCount() const;
  // Empty outside the list.
  virtual std::string GetRedoCaption(Integer Position) const;
  virtual std::string GetUndoCaption(Integer Position) const;
  virtual void SaveUndo(TIEUndoSource Source = ieuImage);
  virtual void SaveUndoCaptioned(const std::string& Caption, TIEUndoSource Source = ieuImage);
  // Removes the newest entry.
  virtual void ClearUndo();
  virtual void ClearAllUndo();
  // Restores the newest entry without removing it; with SaveRedo the current state of that
  // kind goes to the redo list first.
  virtual void Undo(bool SaveRedo = false);
  virtual void UndoAt(Integer Position, bool SaveRedo = false);
  virtual void SaveRedo(TIEUndoSource Source = ieuImage);
  virtual void SaveRedoCaptioned(const std::string& Caption, TIEUndoSource Source = ieuImage);
  virtual void ClearAllRedo();
  virtual void ClearRedo();
  virtual void Redo();
  virtual void RedoAt(Integer Position);
  void ClearUndoAt(Integer Position);
  // The source of the undo entry at Index counted from the oldest; ieuUnknown outside.
  TIEUndoSource GetUndoSource(Integer Index) const;

  // ---- Conversions ------------------------------------------------------------------------
  // Every selected pixel becomes its grey level; the picture stays 24-bit.
  void ConvertToGray();
  // Below 3 colours a 1-bit picture by Method; up to 1024 a quantized 24-bit picture.
  void ConvertTo(Integer NumColors, TIEDitherMethod Method = ieOrdered);
  // As ConvertTo; Palette (at least NumColors entries) receives the colours.
  void ConvertToPalette(Integer NumColors, TIERGBTriple* Palette, TIEDitherMethod Method = ieOrdered);

  // ---- Geometry ---------------------------------------------------------------------------
  // Background -1 takes the component's Background.
  void Rotate(double Angle, bool AntiAlias = true, TIERotateAntialias Mode = raShearBlend,
              TColor Background = -1);
  // All bounds inclusive.
  void Crop(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void CropRect(const TRect& Rect);
  // Crops away the fully transparent border; leaves no undo entry.
  void CropTransparency();
  // Changes the canvas size, keeping the content aligned by HorizAlign and VertAlign.
  void ImageResize(Integer NewWidth, Integer NewHeight, Integer HorizAlign = 0, Integer VertAlign = 0,
                   Integer AlphaFill = 255);

  // ---- Fills ------------------------------------------------------------------------------
  // Fills the picture or its selection with Color (RGB-packed, 0x00RRGGBB).
  void Fill(Integer Color);
  // Fills the whole picture with Background.
  void Clear();

  // ---- Resampling -------------------------------------------------------------------------
  void Resample(Integer NewWidth, Integer NewHeight, TResampleFilter Filter = rfNone);
  void ResampleTo(TIEBitmap* Dest, Integer NewWidth, Integer NewHeight, TResampleFilter Filter = rfNone);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  using TIEUndoList = std::vector<TIEUndoEntry>;

  void DetachFromView();
  void TakeOwnedPicture();
  void ReleaseOwnedPicture();
  void RewrapAttachedBitmap();
  // Adds an entry of Source to List (oldest dropped beyond UndoLimit); false when the source
  // cannot be saved here.
  bool AddEntry(TIEUndoList& List, TIEUndoSource Source);
  void Restore(const TIEUndoEntry& Entry);
  bool PictureTooSmall();

  bool FAutoUndo = false;
  TIEView* FAttachedZezudId = nullptr;  // not owned; free notification
  TIEBitmapChangeHandle FViewCallback = nullptr;
  TColor FBackground = 0;
  TProcMsgLanguage FMsgLanguage = 0;
  TPRPreviewsParams FPreviewsParams{prppShowResetButton, prppHardReset};
  std::unique_ptr<TFont> FPreviewFont;
  TIEPreviewEvent FOnPreview;
  TImage* FAttachedTImage = nullptr;  // not owned; free notification
  TIEBitmap* FIEBitmap = nullptr;     // the working picture, owned when FOwnIEBitmap is set
  std::unique_ptr<TIEBitmap> FOwnIEBitmap;
  std::unique_ptr<TIPDialogParams> FIPDialogParams;
  bool FAutoConvertFormat = true;
  std::unique_ptr<TIEUndoList> FUndo;
  TIELocation FUndoLocation = ieFile;
  Integer FUndoLimit = 1;
  std::unique_ptr<TIEUndoList> FRedo;
  TBitmap* FAttachedBitmap = nullptr;  // not owned: the platform bitmap the picture wraps
  TIEProgressEvent FOnProgress;
  TNotifyEvent FOnFinishWork;
  TIESaveUndoEvent FOnSaveUndo;
  bool FEntryAdded = false;  // the last SaveUndo or SaveRedo added an entry
};
