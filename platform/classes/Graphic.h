#pragma once
// TGraphic, the picture classes' common base; TPicture, which holds any one of them; and the
// registry of picture file formats and clipboard formats the picture chooses classes from.
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <typeinfo>

#include "platform/gdi/Palettes.h"
#include "platform/system/Delegates.h"
#include "platform/system/Persistent.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

class TCanvas;
class TBitmap;
class TIcon;
class TGraphic;

// A graphic class as a value: how to make one and how to recognise one. The
// platform's "class of TGraphic" (virtual constructor and InheritsFrom).
struct TGraphicClassInfo {
  std::type_index Type;
  TGraphic* (*Create)();  // null for an abstract class
  bool (*IsInstance)(const TGraphic* Graphic);
  // True when this class is AClass or derives from it.
  bool InheritsFrom(const TGraphicClassInfo* AClass) const;
};
using TGraphicClass = const TGraphicClassInfo*;

// Makes a class known to GraphicClassOfObject; GraphicClassOf does it for every class it is
// asked for.
TGraphicClass RegisterGraphicClassInfo(const TGraphicClassInfo* Info);

template <class T>
TGraphic* CreateGraphicOf() {
  return new T;
}

template <class T>
TGraphicClass GraphicClassOf() {
  static_assert(std::is_base_of_v<TGraphic, T>);
  static const TGraphicClassInfo Info{std::type_index(typeid(T)),
                                      [] {
                                        if constexpr (std::is_abstract_v<T>)
                                          return static_cast<TGraphic* (*)()>(nullptr);
                                        else
                                          return &CreateGraphicOf<T>;
                                      }(),
                                      [](const TGraphic* G) { return dynamic_cast<const T*>(G) != nullptr; }};
  static const TGraphicClass Registered = RegisterGraphicClassInfo(&Info);
  return Registered;
}

// The class of exactly this object's type, once GraphicClassOf has been asked for it (the
// registered formats' classes always are); null otherwise.
TGraphicClass GraphicClassOfObject(const TGraphic* Graphic);

class TGraphic : public TPersistent {
  friend class TCanvas;
  friend class TPicture;

 public:
  TNotifyEvent OnChange;

  // Reads the whole file; raises what the class's LoadFromStream raises, EFOpenError when the
  // file cannot be opened.
  virtual void LoadFromFile(const std::string& FileName);
  virtual void SaveToFile(const std::string& FileName);
  // Reads from the stream's position to its end.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  // Clipboard data: a memory handle of the format, and a palette. Graphics without clipboard
  // support raise EInvalidGraphic "Unsupported clipboard format".
  virtual void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette);
  virtual void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette);
  // True for the same class with the same saved data.
  virtual bool Equals(TGraphic* Graphic);

  bool Empty() { return GetEmpty(); }
  Integer Width() { return GetWidth(); }
  Integer Height() { return GetHeight(); }
  virtual Integer GetWidth() = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual Integer GetHeight() = 0;
  virtual void SetHeight(Integer Value) = 0;
  virtual HPALETTE GetPalette() { return nullptr; }
  virtual void SetPalette(HPALETTE) {}
  virtual bool GetTransparent() { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool GetModified() const { return FModified; }
  void SetModified(bool Value);

 protected:
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual bool GetEmpty() = 0;
  // Marks the graphic modified and fires OnChange.
  virtual void Changed(TObject* Sender);
  // Drawing a graphic onto a bitmap of its size is how any graphic becomes a TBitmap.
  void AssignTo(TPersistent* Dest) override;
  // The form-file data of the graphic; LoadFromStream/SaveToStream unless a class says else.
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }

  bool FTransparent = false;

 private:
  bool FModified = false;
};

// Holds one graphic of any registered class, owned. The Bitmap and Icon accessors replace the
// graphic by an empty one of that class when it is of another.
class TPicture : public TPersistent {
 public:
  TPicture() = default;
  ~TPicture() override;
  TNotifyEvent OnChange;

  void Assign(TPersistent* Source) override;
  // Chooses the class by the extension; raises EInvalidGraphic "Unknown picture file
  // extension (.%s)" for an extension nobody registered. The graphic is replaced only when
  // the load succeeds.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette);
  void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette);

  TGraphic* GetGraphic() const { return FGraphic.get(); }
  // Keeps a copy of Value (made by Value's own class); null clears the picture.
  void SetGraphic(TGraphic* Value);
  TBitmap* GetBitmap();
  void SetBitmap(TBitmap* Value);
  TIcon* GetIcon();
  void SetIcon(TIcon* Value);
  Integer GetWidth() const;
  Integer GetHeight() const;

  // The format registry. Extensions are taken without the dot and compared without case; the
  // latest registration of an extension wins.
  static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                 TGraphicClass AGraphicClass);
  static void RegisterClipboardFormat(UINT AFormat, TGraphicClass AGraphicClass);
  // Removes every file and clipboard format whose class is AClass or derives from it.
  static void UnregisterGraphicClass(TGraphicClass AClass);
  static bool SupportsClipboardFormat(UINT AFormat);

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);

 private:
  void ForceType(TGraphicClass GraphicType);
  void Adopt(TGraphic* NewGraphic);
  std::unique_ptr<TGraphic> FGraphic;
};

// Registers the built-in formats (bmp, ico, jpg, jpeg; CF_BITMAP) once. Every registry call
// does it first, so calling this is only needed to have it done at a known time.
void InitGraphicFormats();

// Filters for file dialogs over the formats of GraphicClass and its descendants (null: all):
// "All (*.jpg;*.bmp)|*.jpg;*.bmp|JPEG Image File (*.jpg)|*.jpg|Bitmaps (*.bmp)|*.bmp"; the
// "All" entry only when more than one format matches.
std::string GraphicFilter(TGraphicClass GraphicClass);
// The extension of the latest format registered for exactly this class; empty when none.
std::string GraphicExtension(TGraphicClass GraphicClass);
// "*.jpg;*.bmp" for the formats of GraphicClass and its descendants.
std::string GraphicFileMask(TGraphicClass GraphicClass);
// The class registered for an extension (without the dot, any case); null when none.
TGraphicClass FindGraphicClassByExtension(std::string_view Extension);
