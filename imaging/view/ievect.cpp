// The vector layer's object model: construction, the object and draw-order arrays, the template,
// copying and freeing records, the selection, object properties and the extension registry.
#include "imaging/view/ievect.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/view/ietextc.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Text.h"
#include "platform/system/Locale.h"
#include "platform/system/Streams.h"
#include "platform/user/WinUser.h"

namespace {

// The stock error icon's id; the platform has no stock icons, so it is drawn here.
constexpr Integer IEVIconError = 32513;

// The character set that the primary language of the locale at start-up asks for: Greek or
// Russian, else the default.
BYTE StartupCharset() {
  static const BYTE Charset = [] {
    switch (PRIMARYLANGID(GetUserDefaultLangID())) {
      case 0x08:
        return BYTE{161};
      case 0x19:
        return BYTE{204};
      default:
        return BYTE{DEFAULT_CHARSET};
    }
  }();
  return Charset;
}

bool KeepsDirection(TIEVObjectKind Kind) {
  return Kind == ievoLine || Kind == ievoRuler || Kind == ievoPolyline || Kind == ievoLineLabel;
}

bool UsesBitmap(const TIEVObject& Record) {
  return Record.Kind == ievoBitmap || (Record.Kind == ievoMemo && Record.MemoHasBitmap != 0);
}

// Identical pictures: same size and format, same alpha presence, same rows (alpha rows too).
bool SameRows(TIEBitmap* A, TIEBitmap* B) {
  if (A->GetWidth() != B->GetWidth() || A->GetHeight() != B->GetHeight() ||
      A->GetPixelFormat() != B->GetPixelFormat())
    return false;
  const std::size_t Bytes = (static_cast<std::size_t>(A->GetWidth()) * A->GetBitCount() + 7) / 8;
  for (Integer Row = 0; Row < A->GetHeight(); ++Row)
    if (std::memcmp(A->GetScanline(Row), B->GetScanline(Row), Bytes) != 0) return false;
  return true;
}

bool EqualPictures(TIEBitmap* A, TIEBitmap* B) {
  if (A->HasAlphaChannel() != B->HasAlphaChannel()) return false;
  if (!SameRows(A, B)) return false;
  return !A->HasAlphaChannel() || SameRows(A->GetAlphaChannel(), B->GetAlphaChannel());
}

std::unique_ptr<TIEBitmap> CopyPicture(TIEBitmap* Source) {
  auto Copy = std::make_unique<TIEBitmap>();
  Copy->Assign(Source);
  return Copy;
}

}  // namespace

// ---- Construction ----

TZezudIdVect::TZezudIdVect(TComponent* Owner) : TZezudIdView(Owner) {
  FEditingObject = -1;
  FLocaleCharset = StartupCharset();
  FTextEditor = new TIEEdit(this);
  FTextEditor->SetVisible(false);
  FMemoEditor = new TIETextControl(this);
  FMemoEditor->SetVisible(false);

  FObjGripImage = std::make_unique<TPicture>();

  FTemplate = std::make_unique<TIEVObject>();
  FTemplate->RulerUnit = FMUnit;
  SetObjBitmapFromIcon(IEV_TEMPLATE, IEVIconError, 64, 64);
  GetCanvas()->GetFont()->SetName("Arial");
  SetObjFont(IEV_TEMPLATE, GetCanvas()->GetFont());

  FHintBitmap = std::make_unique<TBitmap>();
  FHintBitmap->SetSize(1, 1);
  FHintFont = std::make_unique<TFont>();
  FHintFont->SetColor(clBlack);
  FHintFont->SetStyle(TFontStyles{fsBold});
  FHintBrush = std::make_unique<TBrush>();
  FHintBrush->SetColor(0x60FFFF);
  FHintBrush->SetStyle(bsSolid);

  FGripPen = std::make_unique<TPen>();
  FGripPen->SetColor(clBlack);
  FGripPen->SetStyle(psSolid);
  FGripPen->SetMode(pmCopy);
  FGripPen->SetWidth(1);
  FGripBrush = std::make_unique<TBrush>();
  FGripBrush->SetColor(0xBAFFFF);
  FGripBrush->SetStyle(bsSolid);

  FFastDrawTimer = new TTimer(this);
  FFastDrawTimer->SetEnabled(false);
  FFastDrawTimer->SetInterval(50);
  FFastDrawTimer->SetOnTimer(TNotifyEvent(this, &TZezudIdVect::FastDrawTimer));

  FRubberBandPen = std::make_unique<TPen>();
  FRubberBandPen->SetColor(clBlack);
  FRubberBandPen->SetMode(pmNot);
  FRubberBandPen->SetWidth(1);
  FRubberBandPen->SetStyle(psSolid);
}

TZezudIdVect::~TZezudIdVect() {
  FDestroying = true;
  if (FEditingObject >= 0) {
    EndTextEdit();
    FEditingObject = -1;
  }
  for (auto& Record : FObjects)
    if (Record) FreeRecordParts(*Record);
  FObjects.clear();
  FDrawOrder.clear();
  FSelected.clear();
  if (FTemplate) FreeRecordParts(*FTemplate);
  FTemplate.reset();
  FBitmaps.clear();
  FHintBitmap.reset();
  FHintFont.reset();
  FHintBrush.reset();
  FWorkBitmap.reset();
  FObjUndoList.clear();
  FGripPen.reset();
  FGripBrush.reset();
  FObjGripImage.reset();
  FRubberBandPen.reset();
  // The editors and the timer are owned components and go with the component.
}

// ---- Records and arrays ----

TIEVObject* TZezudIdVect::ObjectRecord(Integer hobj) {
  if (hobj == IEV_TEMPLATE) return FTemplate.get();
  if (hobj == IEV_LAST) return FObjects.empty() ? nullptr : FObjects.back().get();
  if (hobj < 0 || hobj >= static_cast<Integer>(FObjects.size())) return nullptr;
  return FObjects[hobj].get();
}

Integer TZezudIdVect::GetObjIndex(Integer hobj) const {
  const auto It = std::find(FDrawOrder.begin(), FDrawOrder.end(), hobj);
  return It == FDrawOrder.end() ? -1 : static_cast<Integer>(It - FDrawOrder.begin());
}

void TZezudIdVect::GrowArrays() {
  if (FObjects.size() % IEV_ARRAYSTEP == 0) FObjects.reserve(FObjects.size() + IEV_ARRAYGROW);
  if (FDrawOrder.size() % IEV_ARRAYSTEP == 0) FDrawOrder.reserve(FDrawOrder.size() + IEV_ARRAYGROW);
}

void TZezudIdVect::CopyOwnedParts(TIEVObject& Dest, Integer DestHandle, const TIEVObject& Source) {
  Dest.BitmapIndex = -1;
  Dest.UserData = nullptr;
  Dest.UserDataLen = 0;
  Dest.BlendOperation = Source.BlendOperation;
  Dest.SoftShadow =
      std::make_unique<TIEVSoftShadow>(Source.SoftShadow ? *Source.SoftShadow : TIEVSoftShadow());

  if (Dest.Kind == ievoExtension && Source.Extension) {
    Dest.Extension = Source.Extension->Duplicate();
    if (Dest.Extension) {
      Dest.Extension->Tie(this, &Dest);
      Dest.Extension->SetHandle(DestHandle);
    }
  }
  auto CopyFont = [&] {
    if (Source.LogFont) Dest.LogFont = std::make_unique<LOGFONTA>(*Source.LogFont);
  };
  switch (Dest.Kind) {
    case ievoText:
    case ievoLineLabel:
    case ievoExtension:
      Dest.Text = Source.Text;
      CopyFont();
      if (Source.CurveCount() >= 1) Dest.CurvePoints = Source.CurvePoints;
      break;
    case ievoMemo:
      Dest.Text = Source.Text;
      CopyFont();
      if (!Source.MemoCharFormats.empty()) {
        // One index per character: a shorter array is padded with format 0.
        Dest.MemoCharFormats = Source.MemoCharFormats;
        Dest.MemoCharFormats.resize(Source.Text.size(), 0);
        Dest.MemoFormats = Source.MemoFormats;
      }
      break;
    case ievoBitmap:
      // The objects file stores a bitmap object's text; keep it rather than lose it on reading.
      Dest.Text = Source.Text;
      break;
    case ievoRuler:
    case ievoAngle:
      CopyFont();
      break;
    default:
      break;
  }
  Dest.Name = Source.Name;

  if (!KeepsDirection(Dest.Kind)) {
    if (Dest.X1 > Dest.X2) std::swap(Dest.X1, Dest.X2);
    if (Dest.Y1 > Dest.Y2) std::swap(Dest.Y1, Dest.Y2);
  }
  if (Dest.Kind == ievoPolyline) {
    Dest.PolyPoints = Source.PolyPoints;
    Dest.PolyBase = Source.PolyBase;
  }
}

Integer TZezudIdVect::AddObjectRecord(const TIEVObject& Record) {
  GrowArrays();
  auto Copy = std::make_unique<TIEVObject>();
  static_cast<TIEVObjectFields&>(*Copy) = static_cast<const TIEVObjectFields&>(Record);
  const Integer Handle = static_cast<Integer>(FObjects.size());
  CopyOwnedParts(*Copy, Handle, Record);
  FDrawOrder.reserve(FDrawOrder.size() + 1);
  FObjects.push_back(std::move(Copy));
  FDrawOrder.push_back(Handle);
  TIEVObject& Added = *FObjects.back();
  if (UsesBitmap(Added)) AssignBitmapIndex(Added, Record.BitmapIndex);
  FLastAdded = Handle;
  return Handle;
}

Integer TZezudIdVect::AddNewObject(TIEVObjectKind Kind) {
  const TIEVObjectKind Saved = FTemplate->Kind;
  FTemplate->Kind = Kind;
  const Integer Handle = AddObjectRecord(*FTemplate);
  FTemplate->Kind = Saved;
  return Handle;
}

void TZezudIdVect::FreeRecordParts(TIEVObject& Record) {
  if (Record.BitmapIndex >= 0) ReleaseBitmapEntry(Record.BitmapIndex);
  Record.BitmapIndex = -1;
  Record.Name.clear();
  Record.LogFont.reset();
  Record.Text.clear();
  Record.MemoCharFormats.clear();
  Record.MemoFormats.clear();
  Record.CurvePoints.clear();
  Record.PolyPoints.clear();
  Record.PolyScreen.clear();
  Record.SoftShadow.reset();
  if (FExtensionUnderMouse == Record.Extension.get()) FExtensionUnderMouse = nullptr;
  Record.Extension.reset();
  Record.UserDataCopy.clear();
  Record.UserData = nullptr;
  Record.UserDataLen = 0;
}

void TZezudIdVect::RemoveObject(Integer hobj) {
  if (hobj == IEV_LAST) hobj = static_cast<Integer>(FObjects.size()) - 1;
  TIEVObject* Record = hobj >= 0 ? ObjectRecord(hobj) : nullptr;
  if (!Record) return;
  if (hobj == FEditingObject) CancelInteraction();
  FSelected.erase(std::remove(FSelected.begin(), FSelected.end(), hobj), FSelected.end());
  FDrawOrder.erase(std::remove(FDrawOrder.begin(), FDrawOrder.end(), hobj), FDrawOrder.end());
  FreeRecordParts(*Record);
  FObjects[hobj].reset();
  DoVectorialChanged();
  Update();
}

void TZezudIdVect::RemoveAllObjects() {
  CancelInteraction();
  SaveAutoUndo();
  FExtensionUnderMouse = nullptr;
  // The template's picture survives as the template's entry; everything else goes.
  std::unique_ptr<TIEBitmap> TemplatePicture;
  const Integer TemplateEntry = FTemplate->BitmapIndex;
  if (TemplateEntry >= 0 && TemplateEntry < static_cast<Integer>(FBitmaps.size()))
    TemplatePicture = std::move(FBitmaps[TemplateEntry].Bitmap);
  for (auto& Record : FObjects)
    if (Record) {
      Record->BitmapIndex = -1;  // the table goes as a whole below
      FreeRecordParts(*Record);
    }
  FObjects.clear();
  FDrawOrder.clear();
  FSelected.clear();
  FBitmaps.clear();
  FTemplate->BitmapIndex = -1;
  if (TemplatePicture) FTemplate->BitmapIndex = NewBitmapEntry(std::move(TemplatePicture));
  FLastAdded = -1;
  DoVectorialChanged();
  Update();
}

// ---- Selection ----

void TZezudIdVect::AddToSelection(Integer hobj) {
  if (hobj == IEV_LAST) hobj = static_cast<Integer>(FObjects.size()) - 1;
  TIEVObject* Record = hobj >= 0 ? ObjectRecord(hobj) : nullptr;
  if (Record && (Record->Style & IEVSTYLE_SELECTABLE) != 0) FSelected.push_back(hobj);
}

void TZezudIdVect::SelObject(Integer hobj) {
  AddToSelection(hobj);
  if (OnSelectObject) OnSelectObject(this);
}

void TZezudIdVect::UnSelObject(Integer hobj) {
  const auto It = std::find(FSelected.begin(), FSelected.end(), hobj);
  if (It == FSelected.end()) return;
  FSelected.erase(It);
  if (OnSelectObject) OnSelectObject(this);
}

void TZezudIdVect::ClearSelection() {
  FSelected.clear();
  if (OnSelectObject) OnSelectObject(this);
}

void TZezudIdVect::UnSelAllObjects() {
  ClearSelection();
  Update();
}

bool TZezudIdVect::IsSelected(Integer hobj) const {
  return std::find(FSelected.begin(), FSelected.end(), hobj) != FSelected.end();
}

// ---- Properties ----

void TZezudIdVect::UpdateUnlessTemplate(Integer hobj) {
  if (hobj != IEV_TEMPLATE) Update();
}

void TZezudIdVect::SetObjKind(Integer hobj, TIEVObjectKind Kind) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  Record->Kind = Kind;
  UpdateUnlessTemplate(hobj);
}

TIEVObjectKind TZezudIdVect::GetObjKind(Integer hobj) {
  const TIEVObject* Record = ObjectRecord(hobj);
  return Record ? Record->Kind : ievoNone;
}

void TZezudIdVect::SetObjRect(Integer hobj, const TRect& Rect) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  Record->X1 = Rect.Left;
  Record->Y1 = Rect.Top;
  Record->X2 = Rect.Right;
  Record->Y2 = Rect.Bottom;
  UpdateUnlessTemplate(hobj);
}

TRect TZezudIdVect::GetObjRect(Integer hobj) {
  const TIEVObject* Record = ObjectRecord(hobj);
  return Record ? TRect{Record->X1, Record->Y1, Record->X2, Record->Y2} : TRect{};
}

void TZezudIdVect::SetObjText(Integer hobj, const std::string& Text) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  Record->Text = Text;
  if (Record->Kind == ievoMemo && !Record->MemoCharFormats.empty())
    Record->MemoCharFormats.resize(Text.size(), 0);
  UpdateUnlessTemplate(hobj);
}

std::string TZezudIdVect::GetObjText(Integer hobj) {
  const TIEVObject* Record = ObjectRecord(hobj);
  return Record ? Record->Text : std::string();
}

void TZezudIdVect::SetObjName(Integer hobj, const std::string& Name) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  Record->Name = Name;
  UpdateUnlessTemplate(hobj);
}

void TZezudIdVect::SetObjStyle(Integer hobj, Byte Style) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  Record->Style = Style;
  UpdateUnlessTemplate(hobj);
}

void TZezudIdVect::SetObjUserData(Integer hobj, void* Data) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  Record->UserDataCopy.clear();
  Record->UserData = Data;
  Record->UserDataLen = 0;
  UpdateUnlessTemplate(hobj);
}

void TZezudIdVect::SetObjUserDataLength(Integer hobj, Integer Length) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  if (Length > 0 && Record->UserData) {
    std::vector<Byte> Copy(static_cast<const Byte*>(Record->UserData),
                           static_cast<const Byte*>(Record->UserData) + Length);
    Record->UserDataCopy = std::move(Copy);
    Record->UserData = Record->UserDataCopy.data();
    Record->UserDataLen = Length;
  } else {
    if (Record->UserDataLen > 0) Record->UserData = nullptr;  // the copy was ours
    Record->UserDataCopy.clear();
    Record->UserDataLen = 0;
  }
  UpdateUnlessTemplate(hobj);
}

void TZezudIdVect::SetObjFont(Integer hobj, TFont* Font) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record || !Font) return;
  if (!Record->LogFont) Record->LogFont = std::make_unique<LOGFONTA>();
  GetObject(Font->GetHandle(), sizeof(LOGFONTA), Record->LogFont.get());
  Record->PenColor = Font->GetColor();
  UpdateUnlessTemplate(hobj);
}

TFontStyles TZezudIdVect::ObjFontStyles(Integer hobj) {
  TFontStyles Styles;
  const TIEVObject* Record = ObjectRecord(hobj);
  if (!Record || !Record->LogFont) return Styles;
  if (Record->LogFont->lfWeight >= FW_BOLD) Styles.Include(fsBold);
  if (Record->LogFont->lfItalic) Styles.Include(fsItalic);
  if (Record->LogFont->lfUnderline) Styles.Include(fsUnderline);
  if (Record->LogFont->lfStrikeOut) Styles.Include(fsStrikeOut);
  return Styles;
}

void TZezudIdVect::AddPolylinePoint(Integer hobj, Integer X, Integer Y) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  auto& Points = Record->PolyPoints;
  if (!Points.empty() && Points.back().X == X && Points.back().Y == Y) return;
  if (Points.size() == Points.capacity()) Points.reserve(std::max<std::size_t>(1, Points.size() * 2));
  Points.push_back(TPoint{X, Y});
  TRect Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const TPoint& P : Points) {
    Box.Left = std::min(Box.Left, P.X);
    Box.Top = std::min(Box.Top, P.Y);
    Box.Right = std::max(Box.Right, P.X);
    Box.Bottom = std::max(Box.Bottom, P.Y);
  }
  Record->X1 = Box.Left;
  Record->Y1 = Box.Top;
  Record->X2 = Box.Right;
  Record->Y2 = Box.Bottom;
  Record->PolyBase = Box;
}

void TZezudIdVect::RemovePolylinePoint(Integer hobj, Integer Index) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record || Index < 0 || Index >= Record->PolyCount()) return;
  Record->PolyPoints.erase(Record->PolyPoints.begin() + Index);
}

// ---- Shared bitmap table ----

Integer TZezudIdVect::BitmapRefCount(Integer Index) const {
  if (Index < 0 || Index >= static_cast<Integer>(FBitmaps.size())) return 0;
  return FBitmaps[Index].RefCount;
}

TIEBitmap* TZezudIdVect::ObjBitmap(Integer Index) {
  if (Index < 0 || Index >= static_cast<Integer>(FBitmaps.size())) return nullptr;
  return FBitmaps[Index].Bitmap.get();
}

void TZezudIdVect::ReleaseBitmapEntry(Integer Index) {
  if (Index < 0 || Index >= static_cast<Integer>(FBitmaps.size())) return;
  TIEVBitmapEntry& Entry = FBitmaps[Index];
  if (Entry.RefCount <= 0) return;
  if (Entry.RefCount == 1) Entry.Bitmap.reset();
  --Entry.RefCount;
}

Integer TZezudIdVect::NewBitmapEntry(std::unique_ptr<TIEBitmap> Bitmap) {
  for (std::size_t I = 0; I < FBitmaps.size(); ++I)
    if (!FBitmaps[I].Bitmap) {
      FBitmaps[I].Bitmap = std::move(Bitmap);
      FBitmaps[I].RefCount = 1;
      return static_cast<Integer>(I);
    }
  FBitmaps.push_back(TIEVBitmapEntry{std::move(Bitmap), 1});
  return static_cast<Integer>(FBitmaps.size()) - 1;
}

Integer TZezudIdVect::FindEqualBitmap(TIEBitmap* Bitmap) {
  for (std::size_t I = 0; I < FBitmaps.size(); ++I)
    if (FBitmaps[I].Bitmap && EqualPictures(FBitmaps[I].Bitmap.get(), Bitmap)) return static_cast<Integer>(I);
  return -1;
}

void TZezudIdVect::AssignBitmapIndex(TIEVObject& Record, Integer Index) {
  if (Record.BitmapIndex >= 0) ReleaseBitmapEntry(Record.BitmapIndex);
  Record.BitmapIndex = -1;
  TIEBitmap* Picture = ObjBitmap(Index);
  if (Index < 0 || !Picture) return;
  if (FShareBitmaps) {
    ++FBitmaps[Index].RefCount;
    Record.BitmapIndex = Index;
  } else {
    Record.BitmapIndex = NewBitmapEntry(CopyPicture(Picture));
  }
}

void TZezudIdVect::SetObjBitmap(Integer hobj, TIEBitmap* Bitmap) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  if (Record->BitmapIndex >= 0) ReleaseBitmapEntry(Record->BitmapIndex);
  Record->BitmapIndex = -1;
  if (Bitmap) {
    const Integer Equal = FShareBitmaps ? FindEqualBitmap(Bitmap) : -1;
    if (Equal >= 0) {
      ++FBitmaps[Equal].RefCount;
      Record->BitmapIndex = Equal;
    } else {
      Record->BitmapIndex = NewBitmapEntry(CopyPicture(Bitmap));
    }
  }
  UpdateUnlessTemplate(hobj);
}

void TZezudIdVect::SetObjBitmapIndex(Integer hobj, Integer Index) {
  TIEVObject* Record = ObjectRecord(hobj);
  if (!Record) return;
  AssignBitmapIndex(*Record, Index);
  UpdateUnlessTemplate(hobj);
}

void TZezudIdVect::SetObjBitmapFromIcon(Integer hobj, Integer IconId, Integer Width, Integer Height) {
  auto Picture = std::make_unique<TIEBitmap>();
  Picture->SetLocation(ieTBitmap);
  Picture->Allocate(std::max(1, Width), std::max(1, Height), ie24RGB);
  Picture->Fill(0xFFFFFF);
  if (IconId == IEVIconError) {
    // A red disc with a white cross, as the stock error icon shows.
    TCanvas* Canvas = Picture->GetCanvas();
    const Integer Line = std::max(1, std::min(Width, Height) / 10);
    Canvas->GetPen()->SetColor(0x0000C0);
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetBrush()->SetColor(0x0000E0);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->Ellipse(1, 1, Width - 1, Height - 1);
    Canvas->GetPen()->SetColor(clWhite);
    Canvas->GetPen()->SetWidth(Line);
    Canvas->MoveTo(Width * 3 / 10, Height * 3 / 10);
    Canvas->LineTo(Width * 7 / 10, Height * 7 / 10);
    Canvas->MoveTo(Width * 7 / 10, Height * 3 / 10);
    Canvas->LineTo(Width * 3 / 10, Height * 7 / 10);
    Picture->SyncFromTBitmap();
  }
  SetObjBitmap(hobj, Picture.get());
}

void TZezudIdVect::CompactBitmaps() {
  std::vector<Integer> NewIndex(FBitmaps.size(), -1);
  std::vector<TIEVBitmapEntry> Kept;
  for (std::size_t I = 0; I < FBitmaps.size(); ++I)
    if (FBitmaps[I].Bitmap) {
      NewIndex[I] = static_cast<Integer>(Kept.size());
      Kept.push_back(std::move(FBitmaps[I]));
    }
  FBitmaps = std::move(Kept);
  auto Renumber = [&](TIEVObject& Record) {
    if (Record.BitmapIndex >= 0)
      Record.BitmapIndex =
          Record.BitmapIndex < static_cast<Integer>(NewIndex.size()) ? NewIndex[Record.BitmapIndex] : -1;
  };
  for (auto& Record : FObjects)
    if (Record) Renumber(*Record);
  Renumber(*FTemplate);
}

// ---- Copies ----

void TZezudIdVect::CopyObjectsTo(TZezudIdVect* Target) {
  if (!Target || Target == this) return;
  for (const Integer Handle : FDrawOrder) {
    TIEVObject& Source = *FObjects[Handle];
    // The target's table is its own: its copy gets a new entry of its own.
    const Integer SavedIndex = Source.BitmapIndex;
    Source.BitmapIndex = -1;
    Integer Added = -1;
    try {
      Added = Target->AddObjectRecord(Source);
    } catch (...) {
      Source.BitmapIndex = SavedIndex;
      throw;
    }
    Source.BitmapIndex = SavedIndex;
    TIEBitmap* Picture = UsesBitmap(Source) ? ObjBitmap(SavedIndex) : nullptr;
    if (Picture) Target->FObjects[Added]->BitmapIndex = Target->NewBitmapEntry(CopyPicture(Picture));
  }
  Target->Update();
}

void TZezudIdVect::Assign(TPersistent* Source) {
  TZezudIdView::Assign(Source);
  if (!Source) {
    CancelInteraction();
    RemoveAllObjects();
    return;
  }
  auto* Other = dynamic_cast<TZezudIdVect*>(Source);
  if (!Other || Other == this) return;
  CancelInteraction();
  RemoveAllObjects();
  Other->CopyObjectsTo(this);
  FMeasureScale = Other->FMeasureScale;
  RecomputeUnits();
  DoVectorialChanged();
  Update();
}

TRect TZezudIdVect::GetObjectsExtent() {
  if (FDrawOrder.empty()) return TRect{0, 0, 0, 0};
  Integer MaxX = INT_MIN;
  Integer MaxY = INT_MIN;
  for (const Integer Handle : FDrawOrder) {
    const TIEVObject& R = *FObjects[Handle];
    MaxX = std::max({MaxX, R.X1, R.X2});
    MaxY = std::max({MaxY, R.Y1, R.Y2});
  }
  return TRect{0, 0, MaxX == INT_MAX ? MaxX : MaxX + 1, MaxY == INT_MAX ? MaxY : MaxY + 1};
}

void TZezudIdVect::CancelInteraction() {
  FExtensionUnderMouse = nullptr;
  FCreatingKind = ievoNone;
  FGripAction = 0;
  FBuildingObject = -1;
  FDragging = false;
  FPendingClick = false;
  FGrabbedVertex = -1;
  FHitSegment = -1;
  if (FEditingObject >= 0) {
    EndTextEdit();
    FEditingObject = -1;
    Update();
  }
}

// ---- Published properties ----

void TZezudIdVect::SetMUnit(TIEUnits Value) {
  FMUnit = Value;
  FTemplate->RulerUnit = Value;
  RecomputeUnits();
  RedrawMeasureHint();
}

void TZezudIdVect::SetFloatDigits(Integer Value) {
  FFloatDigits = Value;
  RedrawMeasureHint();
}

void TZezudIdVect::SetFloatPrecision(Integer Value) {
  FFloatPrecision = Value;
  RedrawMeasureHint();
}

void TZezudIdVect::SetZoomObjectsWidth(bool Value) {
  FZoomObjectsWidth = Value;
  Update();
}

void TZezudIdVect::SetBitmapResampleFilter(TResampleFilter Value) {
  FBitmapResampleFilter = Value;
  Update();
}

void TZezudIdVect::SetObjAntialias(bool Value) {
  if (FObjAntialias == Value) return;
  FObjAntialias = Value;
  Update();
}

void TZezudIdVect::SetObjGripImage(TPicture* Value) {
  FObjGripImage->Assign(Value);
  TGraphic* Graphic = FObjGripImage->GetGraphic();
  if (Graphic && !Graphic->Empty()) GripSize = std::max(Graphic->GetWidth(), Graphic->GetHeight()) / 2;
}

void TZezudIdVect::SetVectorInteract(TIEVInteract Value) {
  FVectorInteract = Value;
}

// ---- Overrides of the view ----

void TZezudIdVect::Update() {
  TZezudIdView::Update();
  PlaceTextEditor();
}

void TZezudIdVect::SetDpiX(Integer Value) {
  TZezudIdView::SetDpiX(Value);
  RecomputeUnits();
  RedrawMeasureHint();
  Update();
}

void TZezudIdVect::SetDpiY(Integer Value) {
  TZezudIdView::SetDpiY(Value);
  RecomputeUnits();
  RedrawMeasureHint();
  Update();
}

void TZezudIdVect::SetMouseInteract(TIEMouseInteract Value) {
  TZezudIdView::SetMouseInteract(Value);
  if (!Value.IsEmpty()) {
    // The view's own interaction leaves the vector layer only its measures and the drag flag.
    TIEVInteract Kept;
    for (const TIEVInteractItem Item : {ivMeasureArea, ivMeasureLength, ivDragToCreate})
      if (FVectorInteract.Contains(Item)) Kept.Include(Item);
    FVectorInteract = Kept;
  }
  CancelInteraction();
}

void TZezudIdVect::DoViewChange(Integer Change) {
  TZezudIdView::DoViewChange(Change);
  if (IsTextEditing()) PlaceTextEditor();
}

void TZezudIdVect::OffsetSelectionPoints(Integer DX, Integer DY) {
  TZezudIdView::OffsetSelectionPoints(DX, DY);
  FCurrentPoint.X -= DX;
  FCurrentPoint.Y -= DY;
}

void TZezudIdVect::Select(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer Operation) {
  TZezudIdView::Select(X1, Y1, X2, Y2, Operation);
}

void TZezudIdVect::AddSelectionPoint(Integer X, Integer Y) {
  TZezudIdView::AddSelectionPoint(X, Y);
}

void TZezudIdVect::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_KEYDOWN:
      WMKeyDown(Message);
      break;
    case WM_GETDLGCODE:
      WMGetDlgCode(Message);
      break;
    default:
      TZezudIdView::Dispatch(Message);
  }
}

void TZezudIdVect::WMSize(TMessage& Message) {
  TZezudIdView::Dispatch(Message);
  CancelInteraction();
  Update();
}

// ---- Notifications ----

void TZezudIdVect::DoVectorialChanged() {
  FObjChanged = true;
  FBeforeChangedFired = false;
  if (OnVectorialChanged) OnVectorialChanged(this);
}

void TZezudIdVect::DoBeforeVectorialChanged() {
  if (FBeforeChangedFired) return;
  FBeforeChangedFired = true;
  if (OnVectorialChanged) OnVectorialChanged(this);
}

void TZezudIdVect::DoObjectMoveResize(Integer hobj, Integer Grip, Integer& DX, Integer& DY) {
  if (OnObjectMoveResize) OnObjectMoveResize(this, hobj, Grip, DX, DY);
}

void TZezudIdVect::DoObjectClick(Integer hobj) {
  if (OnObjectClick) OnObjectClick(this, hobj);
}

void TZezudIdVect::DoObjectDblClick(Integer hobj) {
  if (OnObjectDblClick) OnObjectDblClick(this, hobj);
}

void TZezudIdVect::DoObjectOver(Integer hobj) {
  if (OnObjectOver) OnObjectOver(this, hobj);
}

void TZezudIdVect::SetSupersample(bool Value) {
  FSupersample = Value;
  Update();
}

void TZezudIdVect::DoNewObject(Integer hobj) {
  if (OnNewObject) OnNewObject(this, hobj);
}

void TZezudIdVect::DoUserSelectObject(Integer hobj) {
  if (OnUserSelectObject) OnUserSelectObject(this, hobj);
}

void TZezudIdVect::DoUserDeselectObject(Integer hobj) {
  if (OnUserDeselectObject) OnUserDeselectObject(this, hobj);
}
