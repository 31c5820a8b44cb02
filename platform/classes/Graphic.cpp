#include "platform/classes/Graphic.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Icon.h"
#include "platform/classes/JPEGImage.h"
#include "platform/classes/Metafile.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/Strings.h"

// ---- TGraphic ----

void TGraphic::LoadFromFile(const std::string& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  TReplacingFileStream Stream(FileName);
  SaveToStream(&Stream);
  Stream.Commit();
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

bool TGraphic::Equals(TGraphic* Graphic) {
  if (Graphic == nullptr || typeid(*Graphic) != typeid(*this)) return false;
  if (Graphic == this) return true;
  const bool MineEmpty = Empty(), OtherEmpty = Graphic->Empty();
  if (MineEmpty || OtherEmpty) return MineEmpty && OtherEmpty;
  TMemoryStream Mine, Other;
  WriteData(&Mine);
  Graphic->WriteData(&Other);
  return Mine.GetSize() == Other.GetSize() &&
         std::memcmp(Mine.GetMemory(), Other.GetMemory(), static_cast<std::size_t>(Mine.GetSize())) == 0;
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::AssignTo(TPersistent* Dest) {
  auto* B = dynamic_cast<TBitmap*>(Dest);
  if (B == nullptr) {
    TPersistent::AssignTo(Dest);
    return;
  }
  // A fresh white bitmap of the graphic's size, in the bitmap's pixel format, drawn on.
  B->SetSize(0, 0);
  B->SetSize(GetWidth(), GetHeight());
  if (!Empty()) B->GetCanvas()->Draw(0, 0, this);
}

// ---- The format registry ----

namespace {

struct TFileFormat {
  std::string Extension;  // lower case, without the dot
  std::string Description;
  TGraphicClass GraphicClass;
};

struct TClipboardFormat {
  UINT Format;
  TGraphicClass GraphicClass;
};

struct TFormatRegistry {
  std::recursive_mutex Lock;  // class samples made under it may register
  std::vector<TFileFormat> FileFormats;
  std::vector<TClipboardFormat> ClipboardFormats;

  // Looked up last to first, so the built-in order gives the platform's filter order.
  TFormatRegistry() {
    FileFormats.push_back({"wmf", "Metafiles", GraphicClassOf<TMetafile>()});
    FileFormats.push_back({"emf", "Enhanced Metafiles", GraphicClassOf<TMetafile>()});
    FileFormats.push_back({"ico", "Icons", GraphicClassOf<TIcon>()});
    FileFormats.push_back({"bmp", "Bitmaps", GraphicClassOf<TBitmap>()});
    FileFormats.push_back({"jpeg", "JPEG Image File", GraphicClassOf<TJPEGImage>()});
    FileFormats.push_back({"jpg", "JPEG Image File", GraphicClassOf<TJPEGImage>()});
    ClipboardFormats.push_back({2, GraphicClassOf<TBitmap>()});  // CF_BITMAP
  }
};

TFormatRegistry& Registry() {
  static TFormatRegistry R;
  return R;
}

struct TKnownClasses {
  std::mutex Lock;
  std::vector<TGraphicClass> Classes;
};

TKnownClasses& KnownClasses() {
  static TKnownClasses K;
  return K;
}

// The formats matching GraphicClass, latest first: "Desc (*.ext)|*.ext|..." and "*.ext;...".
void BuildFilterStrings(TGraphicClass GraphicClass, std::string& Descriptions, std::string& Filters,
                        Integer& Count) {
  TFormatRegistry& R = Registry();
  std::lock_guard<std::recursive_mutex> G(R.Lock);
  Descriptions.clear();
  Filters.clear();
  Count = 0;
  for (auto It = R.FileFormats.rbegin(); It != R.FileFormats.rend(); ++It) {
    if ((GraphicClass != nullptr && !It->GraphicClass->InheritsFrom(GraphicClass)) || It->Extension.empty())
      continue;
    if (Count != 0) {
      Descriptions += '|';
      Filters += ';';
    }
    Descriptions += It->Description + " (*." + It->Extension + ")|*." + It->Extension;
    Filters += "*." + It->Extension;
    ++Count;
  }
}

}  // namespace

bool TGraphicClassInfo::InheritsFrom(const TGraphicClassInfo* AClass) const {
  if (AClass == this) return true;
  if (AClass == nullptr || Create == nullptr) return false;
  const std::unique_ptr<TGraphic> Sample(Create());
  return AClass->IsInstance(Sample.get());
}

TGraphicClass RegisterGraphicClassInfo(const TGraphicClassInfo* Info) {
  TKnownClasses& K = KnownClasses();
  std::lock_guard<std::mutex> G(K.Lock);
  K.Classes.push_back(Info);
  return Info;
}

TGraphicClass GraphicClassOfObject(const TGraphic* Graphic) {
  if (Graphic == nullptr) return nullptr;
  InitGraphicFormats();
  const std::type_index Type(typeid(*Graphic));
  TKnownClasses& K = KnownClasses();
  std::lock_guard<std::mutex> G(K.Lock);
  for (TGraphicClass C : K.Classes)
    if (C->Type == Type) return C;
  return nullptr;
}

void InitGraphicFormats() {
  Registry();
}

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicClass AGraphicClass) {
  TFormatRegistry& R = Registry();
  std::lock_guard<std::recursive_mutex> G(R.Lock);
  R.FileFormats.push_back({AnsiLowerCase(Extension), Description, AGraphicClass});
}

void TPicture::RegisterClipboardFormat(UINT AFormat, TGraphicClass AGraphicClass) {
  TFormatRegistry& R = Registry();
  std::lock_guard<std::recursive_mutex> G(R.Lock);
  R.ClipboardFormats.push_back({AFormat, AGraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass AClass) {
  TFormatRegistry& R = Registry();
  std::lock_guard<std::recursive_mutex> G(R.Lock);
  std::erase_if(R.FileFormats,
                [AClass](const TFileFormat& F) { return F.GraphicClass->InheritsFrom(AClass); });
  std::erase_if(R.ClipboardFormats,
                [AClass](const TClipboardFormat& F) { return F.GraphicClass->InheritsFrom(AClass); });
}

bool TPicture::SupportsClipboardFormat(UINT AFormat) {
  TFormatRegistry& R = Registry();
  std::lock_guard<std::recursive_mutex> G(R.Lock);
  for (const TClipboardFormat& F : R.ClipboardFormats)
    if (F.Format == AFormat) return true;
  return false;
}

TGraphicClass FindGraphicClassByExtension(std::string_view Extension) {
  TFormatRegistry& R = Registry();
  std::lock_guard<std::recursive_mutex> G(R.Lock);
  const std::string Ext = AnsiLowerCase(Extension);
  for (auto It = R.FileFormats.rbegin(); It != R.FileFormats.rend(); ++It)
    if (It->Extension == Ext) return It->GraphicClass;
  return nullptr;
}

std::string GraphicFilter(TGraphicClass GraphicClass) {
  std::string Descriptions, Filters;
  Integer Count;
  BuildFilterStrings(GraphicClass, Descriptions, Filters, Count);
  if (Count > 1) return "All (" + Filters + ")|" + Filters + "|" + Descriptions;
  return Descriptions;
}

std::string GraphicExtension(TGraphicClass GraphicClass) {
  TFormatRegistry& R = Registry();
  std::lock_guard<std::recursive_mutex> G(R.Lock);
  for (auto It = R.FileFormats.rbegin(); It != R.FileFormats.rend(); ++It)
    if (It->GraphicClass == GraphicClass) return It->Extension;
  return {};
}

std::string GraphicFileMask(TGraphicClass GraphicClass) {
  std::string Descriptions, Filters;
  Integer Count;
  BuildFilterStrings(GraphicClass, Descriptions, Filters, Count);
  return Filters;
}

// ---- TPicture ----

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(TGraphic* NewGraphic) {
  FGraphic.reset(NewGraphic);
  if (FGraphic) FGraphic->OnChange = TNotifyEvent(this, &TPicture::Changed);
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == nullptr) {
    Adopt(nullptr);
    return;
  }
  TGraphicClass C = GraphicClassOfObject(Value);
  if (C == nullptr || C->Create == nullptr)
    throw EConvertError(Format("Cannot assign a %s to a %s", {Value->ClassName(), ClassName()}));
  std::unique_ptr<TGraphic> Copy(C->Create());
  Copy->Assign(Value);
  Adopt(Copy.release());
}

void TPicture::ForceType(TGraphicClass GraphicType) {
  if (FGraphic && GraphicType->IsInstance(FGraphic.get())) return;
  Adopt(GraphicType->Create());
}

TBitmap* TPicture::GetBitmap() {
  ForceType(GraphicClassOf<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::SetBitmap(TBitmap* Value) {
  SetGraphic(Value);
}

TIcon* TPicture::GetIcon() {
  ForceType(GraphicClassOf<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::SetIcon(TIcon* Value) {
  SetGraphic(Value);
}

Integer TPicture::GetWidth() const {
  return FGraphic ? FGraphic->GetWidth() : 0;
}

Integer TPicture::GetHeight() const {
  return FGraphic ? FGraphic->GetHeight() : 0;
}

void TPicture::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    SetGraphic(nullptr);
  } else if (auto* P = dynamic_cast<TPicture*>(Source)) {
    if (P != this) SetGraphic(P->GetGraphic());
  } else if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(G);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  // A graphic of the destination's own class (or one derived from it) assigns itself.
  if (FGraphic && dynamic_cast<TGraphic*>(Dest) != nullptr) {
    TGraphicClass DestClass = GraphicClassOfObject(static_cast<TGraphic*>(Dest));
    const TGraphic& Source = *FGraphic;
    if ((DestClass != nullptr && DestClass->IsInstance(FGraphic.get())) || typeid(*Dest) == typeid(Source)) {
      Dest->Assign(FGraphic.get());
      return;
    }
  }
  TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const std::string& FileName) {
  std::string Ext = ExtractFileExt(FileName);
  if (!Ext.empty()) Ext.erase(0, 1);
  TGraphicClass C = FindGraphicClassByExtension(Ext);
  if (C == nullptr || C->Create == nullptr)
    throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {Ext}));
  std::unique_ptr<TGraphic> NewGraphic(C->Create());
  NewGraphic->LoadFromFile(FileName);
  Adopt(NewGraphic.release());
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) {
  TGraphicClass C = nullptr;
  {
    TFormatRegistry& R = Registry();
    std::lock_guard<std::recursive_mutex> G(R.Lock);
    for (auto It = R.ClipboardFormats.rbegin(); It != R.ClipboardFormats.rend() && C == nullptr; ++It)
      if (It->Format == AFormat) C = It->GraphicClass;
  }
  if (C == nullptr || C->Create == nullptr) throw EInvalidGraphic("Unsupported clipboard format");
  std::unique_ptr<TGraphic> NewGraphic(C->Create());
  NewGraphic->LoadFromClipboardFormat(AFormat, AData, APalette);
  Adopt(NewGraphic.release());
}

void TPicture::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) {
  if (FGraphic) FGraphic->SaveToClipboardFormat(AFormat, AData, APalette);
}
