#pragma once
// TZezudIdVect: an image view that keeps vector objects over its picture - lines, boxes,
// ellipses, arcs, bitmaps, text boxes, multi-line text boxes, rulers, polylines, angle
// measures, lines with a label box and objects of registered extension classes. Objects live
// in bitmap pixels and are named by handles (indices into the object array, never reused while
// the array lives); handle -1 is the template every new object starts from, -2 the most
// recently added object, -3 "all objects" (or "none" as a search result).
//
// Ownership: the control owns every object record and what the records own (texts, fonts,
// curve and polyline points, memo formats, shadow, extension, user data copied by
// SetObjUserDataLength), the shared bitmap table and its pictures, the snapshot streams, the
// work and hint bitmaps, and the two hidden text editors (as their owner component).
//
// One header for one unit split over several .cpp files: each section below names the files
// that implement it.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/view/ietextc.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/Menus.h"
#include "platform/gdi/FontEngine.h"
#include "platform/system/Delegates.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Sets.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TFont;
class TIEBitmap;
class TIEBrush;
class TIECanvas;
class TIEPen;
class TMemoryStream;
class TPen;
class TBrush;
class TPicture;
class TStream;
class TTimer;
class TZezudIdVect;

// Handles with a fixed meaning wherever a handle is accepted.
constexpr Integer IEV_TEMPLATE = -1;
constexpr Integer IEV_LAST = -2;
constexpr Integer IEV_ALL = -3;   // also "no object" as a search result
constexpr Integer IEV_NONE = -4;  // "no grip" from FindGrip
// An angle point whose x is this is not yet set.
constexpr Integer IEV_UNSETPOINT = -1000000;
// The array growth step: at every multiple of 512 entries, 522 more.
constexpr Integer IEV_ARRAYSTEP = 512;
constexpr Integer IEV_ARRAYGROW = 522;

enum TIEVObjectKind : Byte {
  ievoNone = 0,
  ievoLine = 1,
  ievoBox = 2,
  ievoEllipse = 3,
  ievoArc = 4,
  ievoBitmap = 5,
  ievoText = 6,
  ievoRuler = 7,
  ievoPolyline = 8,
  ievoAngle = 9,
  ievoMemo = 10,
  ievoLineLabel = 11,
  ievoExtension = 12,
};

enum TIEUnits : Byte {
  ieuPIXELS,
  ieuINCHES,
  ieuKM,
  ieuMETERS,
  ieuCENTIMETERS,
  ieuMILLIMETERS,
  ieuMICRONS,
  ieuNANOMETERS,
  ieuFEET,
  ieuYARDS,
  ieuMILES,
};

enum TIEVValType : Byte { ievtAREA, ievtLENGTH };
enum TIEVUndoMode : Byte { ieumSeparated, ieumShared };

enum TIEVInteractItem : Byte {
  ivMeasureArea = 0,
  ivMeasureLength = 1,
  ivPutLine = 2,
  ivPutBox = 3,
  ivPutEllipse = 4,
  ivPutBitmap = 5,
  ivPutText = 6,
  ivSelectObjects = 7,
  ivDragLength = 8,
  ivPutRuler = 9,
  ivPutPolyline = 10,
  ivPutAngle = 11,
  ivPutMemo = 12,
  ivPutLineLabel = 13,
  ivEditPolyline = 14,
  ivDragToCreate = 15,
  ivPutExtension = 16,
};
using TIEVInteract = TSet<TIEVInteractItem, 32>;

// The platform font quality codes by FontQuality index.
constexpr std::array<Byte, 7> IEVFontQualities{4, 5, 6, 0, 1, 3, 2};

// The drop shadow of one object (and of the template).
class TIEVSoftShadow {
 public:
  bool Enabled = false;
  Double Radius = 3.0;
  Integer OffsetX = 0;
  Integer OffsetY = 0;
  Integer Intensity = 100;  // 0..100
  TIERGBTriple ShadowColor{0, 0, 0};
};

struct TIEVPointD {
  Double X = 0;
  Double Y = 0;
};

class TIEVExtension;
using TIEVExtensionPtr = std::unique_ptr<TIEVExtension>;

// The fields of an object record that copy as they are. X1..Y2 is the bounding rectangle in
// bitmap pixels: lines, rulers, polylines and lines with label keep their direction (X1, Y1 is
// the start), every other kind is kept with X1 <= X2 and Y1 <= Y2.
struct TIEVObjectFields {
  Integer X1 = 0, Y1 = 0, X2 = 63, Y2 = 63;
  TIEVObjectKind Kind = ievoNone;
  Integer Transparency = 255;  // opacity of pen, brush and bitmap
  Byte KeepAspect = 0;
  Byte BlendOperation = 0;  // 0: plain copy
  Byte BeginShape = 0;      // 0 none, 1 and 2 the two triangle forms
  Byte EndShape = 0;
  Integer ShapeWidth = 10;
  Integer ShapeLength = 20;
  Integer LabelBrushColor = 0xFFFFFF;
  Byte LabelBrushStyle = 0;
  Byte LabelPosition = 1;  // 1 at X2,Y2; 0 at X1,Y1
  Byte LabelBorder = 1;    // 0 no outline, 1 rectangle, 2 rounded, 3 ellipse
  TRect LabelRect{};       // computed at drawing; never stored
  TColor PenColor = 0;
  Byte PenStyle = 0;  // TPenStyle
  Integer PenWidth = 1;
  TColor BrushColor = 0xFFFFFF;
  Byte BrushStyle = 1;  // TBrushStyle, 1 clear
  Byte Highlight = 0;
  Double ArcStart = 0;
  Double ArcEnd = 6.283185307179586;
  Integer BitmapIndex = -1;  // entry of the shared bitmap table
  Byte BitmapBorder = 0;
  Byte FontQuality = 0;  // index into IEVFontQualities
  Byte TextAlign = 0;    // 0 left, 1 right, 2 centre, 3 justified
  Byte TextAutoSize = 0;
  Byte MemoFixedFormat = 1;
  Integer CurveCharAngle = -10;  // tenths of a degree; -10 follows the path
  Byte TextEditable = 1;
  Integer MemoLineSpacing = 0;
  Integer MemoBorderColor = 0xFFFFFF;
  Byte MemoBorderStyle = 0;
  Integer MemoFixedLineHeight = 0;
  Byte MemoHasBitmap = 0;
  std::array<Double, 4> MemoMargins{};  // left, top, right, bottom
  Byte MemoBackgroundStyle = 0;
  std::array<Byte, 4> Reserved{};
  Byte Style = 15;  // bit 0 selectable, 1 movable, 2 resizable, 3 visible
  TIEUnits RulerUnit = ieuPIXELS;
  Byte RulerType = 2;  // 0 scale; 1, 2, 3 label at start, middle, end
  TRect PolyBase{};    // bounding box of PolyPoints as stored
  Byte PolyClosed = 0;
  std::array<TPoint, 3> AnglePoints{TPoint{0, 0}, TPoint{50, 0}, TPoint{50, 50}};
  TRect DragStartRect{};
  TRect DrawnExtent{};
  Integer DrawnPenWidth = 0;
};

// Style bits.
constexpr Byte IEVSTYLE_SELECTABLE = 1;
constexpr Byte IEVSTYLE_MOVABLE = 2;
constexpr Byte IEVSTYLE_RESIZABLE = 4;
constexpr Byte IEVSTYLE_VISIBLE = 8;

// One object: the plain fields and what the record owns. Copies are made by
// TZezudIdVect::AddObjectRecord (which duplicates the owned parts by kind), never implicitly.
struct TIEVObject : TIEVObjectFields {
  TIEVObject();
  ~TIEVObject();
  TIEVObject(const TIEVObject&) = delete;
  TIEVObject& operator=(const TIEVObject&) = delete;

  // Caller's bytes: UserData points at them; when UserDataLen is positive they are the
  // control's copy held in UserDataCopy.
  void* UserData = nullptr;
  Integer UserDataLen = 0;
  std::vector<Byte> UserDataCopy;
  std::string Text;  // texts, lines with label, extensions, multi-line boxes
  std::string Name;
  std::unique_ptr<LOGFONTA> LogFont;    // nil: no font of its own
  std::vector<TIEVPointD> CurvePoints;  // CurveCount = size; 0..1 of the box
  // Multi-line box: format index per character and the formats; empty when absent. The text
  // control takes both over (moved) while it edits the box and hands them back.
  std::vector<Integer> MemoCharFormats;
  TIECharFormatList MemoFormats;
  std::vector<TPoint> PolyPoints;  // PolyCount = size
  std::vector<TPoint> PolyScreen;  // view-coordinate cache filled at drawing
  std::unique_ptr<TIEVSoftShadow> SoftShadow;
  TIEVExtensionPtr Extension;  // kind 12 only

  Integer CurveCount() const { return static_cast<Integer>(CurvePoints.size()); }
  Integer PolyCount() const { return static_cast<Integer>(PolyPoints.size()); }
};

// An object of a pluggable class (kind 12). Classes are registered by name with
// IEVRegisterExtension; a file naming an unregistered class is refused.
class TIEVExtension {
 public:
  TIEVExtension() = default;
  virtual ~TIEVExtension() = default;
  TIEVExtension(const TIEVExtension&) = delete;
  TIEVExtension& operator=(const TIEVExtension&) = delete;

  TZezudIdVect* GetOwner() const { return FOwner; }
  TIEVObject* GetRecord() const { return FRecord; }
  Integer GetHandle() const { return FHandle; }
  void Tie(TZezudIdVect* Owner, TIEVObject* Record) {
    FOwner = Owner;
    FRecord = Record;
  }
  // The name the class was registered under; the objects file stores it.
  const std::string& GetClassName() const { return FClassName; }
  void SetClassName(const std::string& Value) { FClassName = Value; }
  // A copy made by Clone that keeps the class name.
  TIEVExtensionPtr Duplicate() const;

  virtual void Init() {}
  virtual void SetHandle(Integer Handle) { FHandle = Handle; }
  virtual void SaveToStream(TStream* Stream) = 0;
  // Raises on data it cannot read.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual TIEVExtensionPtr Clone() const = 0;
  virtual void MouseDown(TMouseButton, TShiftState, Integer, Integer) {}
  virtual void MouseUp(TMouseButton, TShiftState, Integer, Integer) {}
  virtual void MouseMove(TShiftState, Integer, Integer) {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void KeyDown(Word, TShiftState) {}
  virtual void Draw(TBitmap* Target, const TRect& Rect, Double ZoomX, Double ZoomY, bool DrawingAlpha) = 0;

 protected:
  TZezudIdVect* FOwner = nullptr;
  TIEVObject* FRecord = nullptr;
  Integer FHandle = -1;
  std::string FClassName;
};
using TIEVExtensionFactory = std::function<TIEVExtensionPtr()>;
// The unit-wide registry of extension classes (empty at start-up, freed at shut-down).
void IEVRegisterExtension(const std::string& Name, TIEVExtensionFactory Factory);
// Nil when no class of that name is registered.
TIEVExtensionPtr IEVCreateExtension(const std::string& Name);
void IEVClearExtensions();

// One entry of the shared bitmap table; a free entry has no picture.
struct TIEVBitmapEntry {
  std::unique_ptr<TIEBitmap> Bitmap;
  Integer RefCount = 0;
};

using TIEUserSelectObject = TDelegate<void(TObject* Sender, Integer hobj)>;
using TIEVMeasureHintEvent = TDelegate<void(TObject* Sender, const std::string& Text, Double Value)>;
using TIEOnPresentMeasure =
    TDelegate<void(TObject* Sender, const std::string& Text, TIEVValType ValType, Double Value)>;
using TIEVDragLenEndEvent = TDelegate<void(TObject* Sender, Double Value)>;
using TIEVNewObject = TDelegate<void(TObject* Sender, Integer hobj)>;
using TIEVObjectMoveResizeEvent =
    TDelegate<void(TObject* Sender, Integer hobj, Integer Grip, Integer& OffsetX, Integer& OffsetY)>;
using TIEVObjectClickEvent = TDelegate<void(TObject* Sender, Integer hobj)>;
using TIEDrawObjectEvent = TDelegate<void(TObject* Sender, Integer hobj, TBitmap* Destination,
                                          const TRect& DestRect, bool DrawingAlpha, bool& Handled)>;

// Raised by the objects file reader for data it cannot take, and by its writer.
TV_DECLARE_EXCEPTION(EIEVectError, Exception)

// The platform's LOGFONTA as the objects file stores it: 60 bytes, the face cut at 31 characters.
constexpr Integer IEVLogFontSize = 60;
void IEVLogFontToBytes(const LOGFONTA& Font, Byte* Block);
LOGFONTA IEVLogFontFromBytes(const Byte* Block);
// Font takes LogFont's face and styles at Height, keeping its colour.
void IEVFontFromLogFont(TFont* Font, const LOGFONTA* LogFont, Integer Height);

// The version character the writer stores; the reader takes '1' up to it.
constexpr char IEVLastVersion = 'R';

inline bool IEVIsTextKind(TIEVObjectKind Kind) {
  return Kind == ievoText || Kind == ievoLineLabel || Kind == ievoExtension;
}

// An objects stream as read, before a control takes it.
struct TIEVParsedFile {
  Double MeasureScale = 1.0;
  std::vector<std::unique_ptr<TIEBitmap>> Pictures;  // nil: an empty entry
  std::vector<std::unique_ptr<TIEVObject>> Objects;  // in draw order, group members on their own
};
// Reads what follows the magic and the version character V ('1' up to IEVLastVersion); fields
// the version lacks take Template's values. Raises EIEVectError for data it cannot take.
void IEVParseStream(TStream* Stream, char V, const TIEVObject& Template, TIEVParsedFile& File);

// How many of an angle measure's points are set (the first unset one ends them).
Integer IEVAnglePointsSet(const std::array<TPoint, 3>& Points);

// Unit names by TIEUnits: "pixels", "inches", "km", "mt", ...
extern const std::array<const char*, 11> IEUnitNames;
// The name of a unit, "" for a value outside TIEUnits.
inline std::string IEUnitName(TIEUnits Unit) {
  return Unit <= ieuMILES ? IEUnitNames[Unit] : "";
}

// Content tests: "IEV" and a version '1'..'R'; a combined stream whose offset lies inside the
// stream, whose layers the layer test accepts and whose objects IsIEVStream accepts. Both put
// the stream back where it was.
bool IsIEVStream(TStream* Stream);
bool IsAllStream(TStream* Stream);

class TZezudIdVect : public TZezudIdView {
 public:
  // ----------------------------------------------------------------------------------------
  // --- object model --- (ievect.cpp, ievectbitmaps.cpp)
  // ----------------------------------------------------------------------------------------
  explicit TZezudIdVect(TComponent* Owner);
  ~TZezudIdVect() override;
  TZezudIdVect(const TZezudIdVect&) = delete;
  TZezudIdVect& operator=(const TZezudIdVect&) = delete;

  void Assign(TPersistent* Source) override;
  void Update() override;
  void SetDpiX(Integer Value) override;
  void SetDpiY(Integer Value) override;
  void SetMouseInteract(TIEMouseInteract Value) override;
  void DoViewChange(Integer Change) override;
  void OffsetSelectionPoints(Integer DX, Integer DY) override;
  void Select(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer Operation = 0) override;
  void AddSelectionPoint(Integer X, Integer Y) override;

  // The record of a handle (-1 the template, -2 the last added); nil for -3 and -4.
  TIEVObject* ObjectRecord(Integer hobj);
  // Appends a copy of Record (owned parts duplicated by kind) on top of the draw order.
  Integer AddObjectRecord(const TIEVObject& Record);
  // A new object of Kind from the template; its handle.
  Integer AddNewObject(TIEVObjectKind Kind);
  void RemoveObject(Integer hobj);
  void RemoveAllObjects();
  // Live objects in draw order (first drawn first).
  Integer ObjectsCount() const { return static_cast<Integer>(FDrawOrder.size()); }
  Integer GetObj(Integer Index) const { return FDrawOrder[Index]; }
  Integer GetObjIndex(Integer hobj) const;  // its position in the draw order, -1 when absent

  // Selection (handles in the order of selection).
  void SelObject(Integer hobj);
  void AddToSelection(Integer hobj);
  void UnSelObject(Integer hobj);
  void ClearSelection();
  void UnSelAllObjects();
  bool IsSelected(Integer hobj) const;
  Integer SelObjectsCount() const { return static_cast<Integer>(FSelected.size()); }
  Integer GetSelObjects(Integer Index) const { return FSelected[Index]; }

  // Object properties; with a handle other than -1 each ends with Update.
  void SetObjKind(Integer hobj, TIEVObjectKind Kind);
  TIEVObjectKind GetObjKind(Integer hobj);
  void SetObjRect(Integer hobj, const TRect& Rect);  // X1, Y1, X2, Y2 as given
  TRect GetObjRect(Integer hobj);
  void SetObjText(Integer hobj, const std::string& Text);
  std::string GetObjText(Integer hobj);
  void SetObjName(Integer hobj, const std::string& Name);
  void SetObjStyle(Integer hobj, Byte Style);
  void SetObjUserData(Integer hobj, void* Data);
  // A positive length makes the control keep its own copy of that many bytes of the data.
  void SetObjUserDataLength(Integer hobj, Integer Length);
  // Copies the font's LOGFONTA into the record and its colour into PenColor.
  void SetObjFont(Integer hobj, TFont* Font);
  TFontStyles ObjFontStyles(Integer hobj);
  void AddPolylinePoint(Integer hobj, Integer X, Integer Y);
  void RemovePolylinePoint(Integer hobj, Integer Index);

  // Shared bitmap table.
  void SetObjBitmap(Integer hobj, TIEBitmap* Bitmap);
  void SetObjBitmapIndex(Integer hobj, Integer Index);
  void SetObjBitmapFromIcon(Integer hobj, Integer IconId, Integer Width, Integer Height);
  TIEBitmap* ObjBitmap(Integer Index);
  Integer BitmapEntryCount() const { return static_cast<Integer>(FBitmaps.size()); }
  Integer BitmapRefCount(Integer Index) const;
  void CompactBitmaps();

  void CopyObjectsTo(TZezudIdVect* Target);
  TRect GetObjectsExtent();
  void CancelInteraction();

  // Published properties.
  TIEUnits GetMUnit() const { return FMUnit; }
  void SetMUnit(TIEUnits Value);
  Integer GetFloatDigits() const { return FFloatDigits; }
  void SetFloatDigits(Integer Value);
  Integer GetFloatPrecision() const { return FFloatPrecision; }
  void SetFloatPrecision(Integer Value);
  bool GetShareBitmaps() const { return FShareBitmaps; }
  void SetShareBitmaps(bool Value) { FShareBitmaps = Value; }
  bool GetZoomObjectsWidth() const { return FZoomObjectsWidth; }
  void SetZoomObjectsWidth(bool Value);
  TResampleFilter GetBitmapResampleFilter() const { return FBitmapResampleFilter; }
  void SetBitmapResampleFilter(TResampleFilter Value);
  Integer GetObjUndoLimit() const { return FObjUndoLimit; }
  void SetObjUndoLimit(Integer Value) { FObjUndoLimit = Value; }
  bool GetObjAutoUndo() const { return FObjAutoUndo; }
  void SetObjAutoUndo(bool Value) { FObjAutoUndo = Value; }
  bool GetObjAntialias() const { return FObjAntialias; }
  void SetObjAntialias(bool Value);
  bool GetSelectOnMouseDown() const { return FSelectOnMouseDown; }
  void SetSelectOnMouseDown(bool Value) { FSelectOnMouseDown = Value; }
  TNotifyEvent GetOnTextEditCursorMoved();
  void SetOnTextEditCursorMoved(TNotifyEvent Value);
  TPicture* GetObjGripImage() const { return FObjGripImage.get(); }
  void SetObjGripImage(TPicture* Value);
  TIEVUndoMode GetObjUndoMode() const { return FObjUndoMode; }
  void SetObjUndoMode(TIEVUndoMode Value) { FObjUndoMode = Value; }

  // Public settings.
  TIEVInteract GetVectorInteract() const { return FVectorInteract; }
  void SetVectorInteract(TIEVInteract Value);
  Double GetMeasureScale() const { return FMeasureScale; }
  void SetMeasureScale(Double Value);
  Integer MaxSelectionDistance = -1;  // screen pixels; negative: no limit
  Integer InsideTolerance = 1;        // bitmap pixels
  Integer GripSize = 5;               // half-size in screen pixels
  Byte GripShape = 1;                 // 0 square, 1 circle
  bool CenterMoveGrip = false;
  bool BoxHitInside = false;
  bool CenterNewObjects = false;
  bool AllowOutsideMove = true;
  bool RubberBandSelect = true;
  bool EditTextOnCreate = true;
  Byte PolylineEndMode = 0;
  bool PointsOutsideImage = false;
  bool UprightLabels = true;
  bool ReflexAnglesAsAcute = false;
  bool FastDrawWhileDragging = true;
  bool BitmapHitByAlpha = true;
  bool HideObjects = false;
  bool LengthIncludesCursor = true;
  TPen* GetGripPen() const { return FGripPen.get(); }
  TBrush* GetGripBrush() const { return FGripBrush.get(); }
  TPen* GetRubberBandPen() const { return FRubberBandPen.get(); }
  TFont* GetMeasureHintFont() const { return FHintFont.get(); }
  TBrush* GetMeasureHintBrush() const { return FHintBrush.get(); }
  TColor MeasureHintBorder1 = 0x808080;
  TColor MeasureHintBorder2 = 0xFFFFFF;

  // Events.
  TNotifyEvent OnSelectObject;
  TIEUserSelectObject OnUserSelectObject;
  TIEUserSelectObject OnUserDeselectObject;
  TIEVMeasureHintEvent OnMeasureHint;
  TIEOnPresentMeasure OnPresentMeasure;
  TNotifyEvent OnVectorialChanged;
  TNotifyEvent OnBeforeVectorialChanged;  // stored; nothing of the control fires it
  TIEVDragLenEndEvent OnDragLenEnd;
  TIEVNewObject OnNewObject;
  TIEVObjectMoveResizeEvent OnObjectMoveResize;
  TIEVObjectClickEvent OnObjectClick;
  TIEVObjectClickEvent OnObjectDblClick;
  TIEVObjectClickEvent OnObjectOver;
  TKeyEvent OnTextKeyDown;
  TNotifyEvent OnActivateTextEdit;
  TNotifyEvent OnDeactivateTextEdit;
  TIEDrawObjectEvent OnBeforeDrawObject;
  TIEDrawObjectEvent OnAfterDrawObject;

  // The vector layer's own virtual operations, in their order.
  virtual void DrawRubberLine(bool Erase);
  virtual void DrawRubberBox(bool Erase);
  virtual void DrawRubberEllipse(bool Erase);
  virtual void DrawRulerPreview();
  virtual void DrawAnglePreview();
  virtual void DoVectorialChanged();
  virtual void PlaceTextEditor();
  virtual void DoObjectMoveResize(Integer hobj, Integer Grip, Integer& DX, Integer& DY);
  virtual void DoObjectClick(Integer hobj);
  virtual void DoObjectDblClick(Integer hobj);
  virtual void DoObjectOver(Integer hobj);
  virtual void SetSupersample(bool Value);
  virtual void DoBeforeVectorialChanged();
  virtual void DoNewObject(Integer hobj);
  virtual void DoUserSelectObject(Integer hobj);
  virtual void DoUserDeselectObject(Integer hobj);

 protected:
  void Dispatch(TMessage& Message) override;
  void WMSize(TMessage& Message);
  // Frees what a record owns and releases its bitmap entry.
  void FreeRecordParts(TIEVObject& Record);
  // Duplicates Source's owned parts into Dest by Dest's kind (AddObjectRecord steps 2 to 7).
  void CopyOwnedParts(TIEVObject& Dest, Integer DestHandle, const TIEVObject& Source);
  void GrowArrays();
  void ReleaseBitmapEntry(Integer Index);
  Integer NewBitmapEntry(std::unique_ptr<TIEBitmap> Bitmap);
  Integer FindEqualBitmap(TIEBitmap* Bitmap);
  // Releases the record's entry and takes Index (shared, or a copy without ShareBitmaps).
  void AssignBitmapIndex(TIEVObject& Record, Integer Index);
  void UpdateUnlessTemplate(Integer hobj);

  // Objects: the array indexed by handle (freed handles hold nil) and the draw order.
  std::vector<std::unique_ptr<TIEVObject>> FObjects;
  std::vector<Integer> FDrawOrder;
  std::vector<Integer> FSelected;
  std::unique_ptr<TIEVObject> FTemplate;
  Integer FLastAdded = -1;
  std::vector<TIEVBitmapEntry> FBitmaps;
  bool FShareBitmaps = true;
  bool FDestroying = false;

  TIEUnits FMUnit = ieuPIXELS;
  Integer FFloatDigits = 2;
  Integer FFloatPrecision = 15;
  bool FZoomObjectsWidth = true;
  TResampleFilter FBitmapResampleFilter = rfNone;
  Integer FObjUndoLimit = 1;
  bool FObjAutoUndo = false;
  bool FObjAntialias = true;
  bool FSelectOnMouseDown = true;
  TIEVUndoMode FObjUndoMode = ieumSeparated;
  TIEVInteract FVectorInteract{};
  Double FMeasureScale = 1.0;
  std::unique_ptr<TPicture> FObjGripImage;
  std::unique_ptr<TPen> FGripPen;
  std::unique_ptr<TBrush> FGripBrush;
  std::unique_ptr<TPen> FRubberBandPen;
  bool FObjChanged = false;          // set by every change notification; read by the auto undo
  bool FBeforeChangedFired = false;  // DoBeforeVectorialChanged's once-flag

  // ----------------------------------------------------------------------------------------
  // --- objects file and combined file --- (ievectfile*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  void SaveToStreamIEV(TStream* Stream);
  bool LoadFromStreamIEV(TStream* Stream);
  bool LoadFromFileIEV(const std::u16string& FileName);
  // Written to a temporary file beside FileName and renamed over it.
  void SaveToFileIEV(const std::u16string& FileName);
  void SaveToStreamAll(TStream* Stream, Integer LayerCompression);
  bool LoadFromStreamAll(TStream* Stream);
  bool LoadFromFileAll(const std::u16string& FileName);
  void SaveToFileAll(const std::u16string& FileName, Integer LayerCompression);

 protected:
  void WriteObjectRecord(TStream* Stream, Integer hobj, const TIEVObject& Record);
  // False for a wrong magic or version (4 bytes read); raises EIEVectError for damaged data.
  bool ParseIEV(TStream* Stream, TIEVParsedFile& File);
  // Replaces all objects, the bitmap table (but the template's picture) and the scale.
  void TakeParsed(TIEVParsedFile& File);

  // ----------------------------------------------------------------------------------------
  // --- measures and units --- (ievectmeasure*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  // The size of one bitmap pixel in Unit (times MeasureScale).
  void ComputeUnitsPerPixel(TIEUnits Unit, Double& Horizontal, Double& Vertical);
  Double GetUnitsPerPixelX() const { return FUnitsPerPixelX; }
  Double GetUnitsPerPixelY() const { return FUnitsPerPixelY; }
  Double GetSelectionLength();
  Double GetSelectionArea();
  // Fixed notation with FloatPrecision significant digits and FloatDigits decimals.
  std::string FormatMeasure(Double Value);
  // View coordinates; IEV_UNSETPOINT keeps the last coordinate.
  void ShowMeasureHint(Integer X, Integer Y);
  void HideMeasureHint();
  Double GetLastMeasure() const { return FLastMeasure; }
  bool GetMeasureHintOn() const { return FMeasureHintOn; }
  // S and E in target coordinates; Length -1 computes it from the ruler's unit and Zoom.
  void DrawRuler(TIECanvas* Canvas, TPoint S, TPoint E, Double Zoom, const LOGFONTA* Font, TColor Color,
                 Integer PenWidth, TIEUnits Unit, Byte RulerType, Double Length, TIEVObject* Record);
  // The angle at the second point in degrees and its text ("°" appended), as angle measures
  // show it; with ReflexAnglesAsAcute an angle of 180 or more is shown as 360 less it.
  std::string AngleMeasureText(const std::array<TPoint, 3>& Points);
  // Points in target coordinates, Count of them set (IEVAnglePointsSet of the stored points).
  void DrawAngle(TIECanvas* Canvas, const std::array<TPoint, 3>& Points, Integer Count, Double Zoom,
                 const LOGFONTA* Font, TColor Color, Integer PenWidth, TIEVObject* Record);

 protected:
  void RecomputeUnits();
  void RedrawMeasureHint();
  Double AngleDegrees(const std::array<TPoint, 3>& Points, bool& Reflex);
  // Pen, font (its size in points scaled by Zoom) and clear brush of rulers and angles.
  void SetMeasureCanvas(TIECanvas* Canvas, Double Zoom, const LOGFONTA* Font, TColor Color, Integer PenWidth);
  Double FUnitsPerPixelX = 1.0;
  Double FUnitsPerPixelY = 1.0;
  Double FLastMeasure = 0;
  bool FMeasureHintOn = false;
  TPoint FHintPos{0, 0};
  std::unique_ptr<TBitmap> FHintBitmap;  // the screen area under the hint
  std::unique_ptr<TFont> FHintFont;
  std::unique_ptr<TBrush> FHintBrush;
  BYTE FLocaleCharset = DEFAULT_CHARSET;  // Greek (161) or Russian (204) by the start-up locale

  // ----------------------------------------------------------------------------------------
  // --- drawing --- (ievectdraw*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  void DrawToBackBuffer(TIEBitmap* Dest, std::vector<Byte*>* RowCache, const TRect* UpdateRect,
                        bool DrawBackground, bool DrawBoxes) override;
  // Target nil draws over the view (into TargetBitmap, the back buffer's platform bitmap).
  void DrawObjectsTo(TIEBitmap* Target, bool ToImage, Integer hobj, bool Antialias, TBitmap* TargetBitmap);
  bool DrawObject(TIEVObject& Record, Integer hobj, bool DrawingAlpha, Integer Factor, TIEBitmap* Work,
                  bool ToScreen, bool Cull, TBitmap* TargetBitmap);
  void CopyObjectsToBack(bool Antialias);
  void DrawObjectsToBitmap(TIEBitmap* Picture, bool Antialias, Integer hobj = IEV_ALL);
  bool GetSupersample() const { return FSupersample; }
  bool GetFastDrawing() const { return FFastDrawing; }

 protected:
  void Paint() override;
  void FastDrawTimer(TObject* Sender);
  void DrawGrips(TCanvas* Canvas);
  void DrawPolylineVertices(TCanvas* Canvas);
  // Drawn without the work bitmap (no shadow, highlight, blend, or an opaque/non-text object).
  bool DrawsStraight(const TIEVObject& Record) const;
  // Through the work bitmap at Q times the target's size (Q 1 or 2), filled first with FillColor.
  void ComposeObject(TIEVObject& Record, Integer hobj, TBitmap* Target, Integer Q, bool FillColor);
  void HighlightRect(TBitmap* Target, const TRect& R, TColor Color);
  void DrawCurvedText(TCanvas* Canvas, TIEVObject& Record, const TRect& Box, Double Zoom);
  void DrawLineLabel(TIECanvas& IC, TIEVObject& Record, TPoint S, TPoint E, Double Zoom, Integer Factor);
  // Grip points of an object in view coordinates, in FindGrip's order.
  void GripPoints(const TIEVObject& Record, std::vector<TPoint>& Points);
  std::unique_ptr<TBitmap> FWorkAlpha;  // the alpha plane drawn in grey
  bool FDrawAntialias = true;
  std::unique_ptr<TIEBitmap> FWorkBitmap;
  bool FSupersample = false;
  bool FFastDrawing = false;
  TTimer* FFastDrawTimer = nullptr;  // owned as component; 50 ms, disabled
  Double FDrawZoomX = 1.0;           // zoom factors of the drawing in progress
  Double FDrawZoomY = 1.0;
  Integer FDrawFactor = 1;  // the supersampling factor of the drawing in progress
  bool FDrawToImage = false;

  // ----------------------------------------------------------------------------------------
  // --- mouse editing --- (ievectmouse*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  Integer FindObjectAt(Integer X, Integer Y, bool SelectableOnly, Double& Distance);
  Integer FindObjectAtScreen(Integer X, Integer Y, Double& Distance);
  Double ObjectDistance(TIEVObject& Record, Integer X, Integer Y);
  // Position in the selection, or IEV_NONE; Grip the action (0 none .. 12).
  Integer FindGrip(Integer X, Integer Y, Integer& Grip);
  void SelectAt(TShiftState Shift, Integer X, Integer Y, bool FromPress);
  void SelectInRect(Integer hobj, Integer X1, Integer Y1, Integer X2, Integer Y2);
  void MoveObject(Integer hobj, Integer DX, Integer DY);
  void ResizeObject(Integer hobj, Integer Grip, Integer DX, Integer DY, bool KeepAspect);
  Integer FindPolylineVertex(Integer X, Integer Y);
  Integer FindPolylineSegment(Integer X, Integer Y);
  void UpdatePolylineBox(Integer hobj);

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

  TIEVObjectKind FCreatingKind = ievoNone;  // creation in progress
  Integer FGripAction = 0;                  // 0 none, 1..12
  TPoint FPressPoint{};                     // view coordinates
  TPoint FCurrentPoint{};                   // view coordinates
  TPoint FRawMousePoint{};
  TPoint FDragOffset{};          // offset already applied during a drag, bitmap pixels
  Integer FBuildingObject = -1;  // the polyline or angle being built
  TPoint FBuildingLastPoint{};   // view position of its last point
  Integer FGrabbedVertex = -1;
  Integer FHitSegment = -1;
  bool FDoubleClick = false;
  bool FDragging = false;
  bool FPendingClick = false;
  bool FIgnoreNextMove = false;
  TIEVExtension* FExtensionUnderMouse = nullptr;  // not owned
  // The point moved into the part of the view that shows the picture.
  TPoint ClampToPicture(Integer X, Integer Y);
  // The kind a press creates by VectorInteract (ievoNone: none).
  TIEVObjectKind CreationKind() const;
  void AnglePointClick(TPoint P, TShiftState Shift);
  void PolylinePointClick(TPoint P, TShiftState Shift);
  void MoveCursorAndHint(TShiftState Shift, Integer X, Integer Y);
  // The extension object exactly under a view point (nil: none).
  TIEVExtension* ExtensionAt(Integer X, Integer Y);

  // ----------------------------------------------------------------------------------------
  // --- undo, clipboard and text editing --- (ievectundo.cpp, ievecttext*.cpp)
  // ----------------------------------------------------------------------------------------
 public:
  void SaveObjUndo();
  void SaveAutoUndo();
  void DropLastObjUndo();
  void ClearObjUndo();
  Integer ObjUndoCount() const { return static_cast<Integer>(FObjUndoList.size()); }
  TMemoryStream* ObjUndoAt(Integer Index) const { return FObjUndoList[Index].get(); }
  void StartTextEdit();
  void EndTextEdit();
  bool IsTextEditing() const { return FEditingObject >= 0; }
  Integer GetEditingObject() const { return FEditingObject; }
  void SetEditingObject(Integer hobj) { FEditingObject = hobj; }
  TIEEdit* GetTextEditor() const { return FTextEditor; }
  TIETextControl* GetMemoEditor() const { return FMemoEditor; }
  // Puts the newest separated snapshot back (and drops it); false when there is none.
  bool UndoObjects();
  // The selected objects as an objects stream in the "ZEZUDID VECT" format; pasting adds them
  // on top and selects them.
  void CopySelectedObjectsToClipboard();
  bool PasteObjectsFromClipboard();
  // Settings of a multi-line box handed to a text control (editing and drawing).
  void SetupTextControl(TIETextControl* Control, const TIEVObject& Record, Double Zoom);

 protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void WMKeyDown(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void EditorKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void EditorChange(TObject* Sender);
  void MemoKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void WithdrawAutoUndo();
  TIEVObject* EditedRecord();
  std::string FEditStartText;  // the one-line text when editing began

  std::vector<std::unique_ptr<TMemoryStream>> FObjUndoList;
  bool FPressTookUndo = false;
  Integer FEditingObject = -1;
  TIEEdit* FTextEditor = nullptr;         // owned as component
  TIETextControl* FMemoEditor = nullptr;  // owned as component
};

// Start-up and shut-down of the unit: the "ZEZUDID VECT" clipboard format, the twelve text
// shortcuts (IETextShortCuts of ietextc) and the extension registry.
void IEVectInitialize();
void IEVectFinalize();
// The clipboard format number of "ZEZUDID VECT" (0 before the start-up).
UINT IEVectClipboardFormat();

// The vector layer's place in the library: its start-up hooks and what the I/O component
// reaches of it (call with ViewRegisterLibraryHooks, before the library start-up).
void VectRegisterLibraryHooks();
// The content tests of objects and combined files; the I/O start-up clears them, so the view
// unit's start-up, which runs after it, sets them.
void IERegisterVectDetection();
