// Draws a sheet of one of the program's skins: every part and frame object with each of its
// state images as the skin holds them, the resizable parts once more laid out at a larger size,
// and the frame at its own and at a larger size. For looking at the skins, not used by the
// program.
//   tv_skinsheet <output folder> [skin index]   writes <folder>/<file stem>.png
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/IniFiles.h"
#include "platform/system/StringList.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsSkinDataProgramSkins.h"
#include "skin/data/bsUtils.h"
#include "tools/skingen/SkinStyle.h"

namespace {

constexpr Integer SheetWidth = 1100, LabelWidth = 170, Gap = 6;

// Rectangles of a record that lie in the part's own coordinates rather than in its picture.
bool InPartCoordinates(TObject& Record, const std::string& Key) {
  static const std::set<std::string> Local{"clientrect", "trackarea",   "progressarea",    "checkimagearea",
                                           "textarea",   "captionrect", "textrect",        "itemtextrect",
                                           "imagerect",  "itemsrect",   "trackbuttonrect", "frametextrect"};
  if (Local.count(Key) != 0) return true;
  const bool LocalButtons = dynamic_cast<TbsDataSkinScrollBarControl*>(&Record) != nullptr ||
                            dynamic_cast<TbsDataSkinUpDownControl*>(&Record) != nullptr ||
                            dynamic_cast<TbsDataSkinSpinEditControl*>(&Record) != nullptr;
  if (LocalButtons && (Key == "upbuttonrect" || Key == "downbuttonrect")) return true;
  const bool LocalButton = dynamic_cast<TbsDataSkinComboBox*>(&Record) != nullptr ||
                           dynamic_cast<TbsDataSkinEditControl*>(&Record) != nullptr;
  return LocalButton && Key == "buttonrect";
}

// The record's image rectangles in the order its writer lists them.
template <class TRecord>
std::vector<std::pair<std::string, TRect>> Images(TRecord& Record) {
  TMemIniFile Ini("");
  Record.SaveToIni(&Ini);
  TStringList Lines;
  Ini.ReadSectionValues(Record.IDName, &Lines);
  std::vector<std::pair<std::string, TRect>> L;
  for (Integer I = 0; I < Lines.GetCount(); ++I) {
    const std::string Line = Lines.GetStrings(I);
    const std::string Key = Line.substr(0, Line.find('=')), Value = Line.substr(Line.find('=') + 1);
    TRect R;
    if (std::sscanf(Value.c_str(), "%d,%d,%d,%d", &R.Left, &R.Top, &R.Right, &R.Bottom) != 4) continue;
    if (IsEmptyRect(R) || InPartCoordinates(Record, Key)) continue;
    L.emplace_back(Key, R);
  }
  return L;
}

class TSheet {
 public:
  TSheet() {
    FBitmap.SetPixelFormat(pf24bit);
    FBitmap.SetSize(SheetWidth, 6000);
    Canvas()->GetBrush()->SetColor(0xE8E8E8);
    Canvas()->FillRect(Rect(0, 0, SheetWidth, 6000));
    Canvas()->GetFont()->SetName("Arial");
    Canvas()->GetFont()->SetHeight(12);
  }
  TCanvas* Canvas() { return FBitmap.GetCanvas(); }

  // A row: the label, then each image cut from Picture, then an optional larger layout.
  void Row(const std::string& Label, TBitmap* Picture, const std::vector<std::pair<std::string, TRect>>& Cuts,
           TBitmap* Extra = nullptr) {
    Integer X = LabelWidth, Height = 16;
    Canvas()->GetBrush()->SetStyle(bsClear);
    Canvas()->TextOut(4, FY + 2, Label);
    for (const auto& [Key, R] : Cuts) {
      const Integer W = GetRectWidth(R), H = GetRectHeight(R);
      if (X + W > SheetWidth - Gap) {
        FY += Height + Gap;
        X = LabelWidth;
        Height = 16;
      }
      if (Picture != nullptr && R.Right <= Picture->GetWidth() && R.Bottom <= Picture->GetHeight())
        Canvas()->CopyRect(Rect(X, FY, X + W, FY + H), Picture->GetCanvas(), R);
      X += W + Gap;
      Height = std::max(Height, H);
    }
    if (Extra != nullptr) {
      if (X + Extra->GetWidth() > SheetWidth - Gap) {
        FY += Height + Gap;
        X = LabelWidth;
        Height = 16;
      }
      Canvas()->Draw(X, FY, Extra);
      Height = std::max(Height, Extra->GetHeight());
    }
    FY += Height + Gap;
    Canvas()->GetPen()->SetColor(0xC8C8C8);
    Canvas()->MoveTo(0, FY - Gap / 2);
    Canvas()->LineTo(SheetWidth, FY - Gap / 2);
  }

  bool Save(const std::string& Path) {
    TScreenshot Shot;
    Shot.Width = SheetWidth;
    Shot.Height = FY;
    Shot.Pixels.resize(static_cast<std::size_t>(Shot.Width) * Shot.Height);
    for (Integer Y = 0; Y < Shot.Height; ++Y) {
      const auto* Row = static_cast<const Byte*>(FBitmap.GetScanLine(Y));
      for (Integer X = 0; X < Shot.Width; ++X)
        Shot.Pixels[static_cast<std::size_t>(Y) * Shot.Width + X] =
            (DWORD{Row[X * 3 + 2]} << 16) | (DWORD{Row[X * 3 + 1]} << 8) | Row[X * 3];
    }
    return SavePng(Path, Shot);
  }

 private:
  TBitmap FBitmap;
  Integer FY = Gap;
};

// A resizable part laid out at a larger size, as a control of that size draws it.
std::unique_ptr<TBitmap> Resized(TbsDataSkinCustomControl& P, TBitmap* Picture) {
  // A part whose anchors coincide never resizes (up-downs).
  if (IsEmptyRect(P.SkinRect) || Picture == nullptr || P.LeftTopPoint.X == P.RightBottomPoint.X ||
      P.LeftTopPoint.Y == P.RightBottomPoint.Y)
    return nullptr;
  const Integer Dx = GetRectWidth(P.SkinRect) * 3 / 4 + 20, Dy = GetRectHeight(P.SkinRect) / 2 + 6;
  const Integer W = GetRectWidth(P.SkinRect) + Dx, H = GetRectHeight(P.SkinRect) + Dy;
  auto B = std::make_unique<TBitmap>();
  const TRect NC =
      Rect(P.ClientRect.Left, P.ClientRect.Top, P.ClientRect.Right + Dx, P.ClientRect.Bottom + Dy);
  CreateSkinImage(
      P.LeftTopPoint, P.RightTopPoint, P.LeftBottomPoint, P.RightBottomPoint, P.ClientRect, P.LeftTopPoint,
      Point(P.RightTopPoint.X + Dx, P.RightTopPoint.Y), Point(P.LeftBottomPoint.X, P.LeftBottomPoint.Y + Dy),
      Point(P.RightBottomPoint.X + Dx, P.RightBottomPoint.Y + Dy), NC, B.get(), Picture, P.SkinRect, W, H,
      true, P.LeftStretch, P.TopStretch, P.RightStretch, P.BottomStretch, P.StretchEffect, P.StretchType);
  return B;
}

TBitmap* PictureAt(TbsSkinData& D, Integer Index) {
  return Index >= 0 && Index < static_cast<Integer>(D.ActivePictures.size()) ? D.ActivePictures[Index].get()
                                                                             : nullptr;
}

bool DrawSheet(const TbsProgramSkin& Skin, const std::string& Path) {
  TbsCompressedStoredSkin Stored(nullptr);
  TMemoryStream M;
  M.WriteBuffer(Skin.Data, static_cast<Integer>(Skin.Size));
  Stored.ReadCompressedSkinStream(&M);
  TbsSkinData D(nullptr);
  D.LoadStoredSkin(&Stored);
  TSheet Sheet;
  // The frame, active and inactive, and laid out larger with its anchors.
  TbsDataSkinCustomControl Frame("frame");
  Frame.SkinRect = Rect(0, 0, D.Picture->GetWidth(), D.Picture->GetHeight());
  Frame.LeftTopPoint = D.LeftTopPoint;
  Frame.RightTopPoint = D.RightTopPoint;
  Frame.LeftBottomPoint = D.LeftBottomPoint;
  Frame.RightBottomPoint = D.RightBottomPoint;
  Frame.ClientRect = D.ClientRect;
  Frame.LeftStretch = D.LeftStretch, Frame.TopStretch = D.TopStretch;
  Frame.RightStretch = D.RightStretch, Frame.BottomStretch = D.BottomStretch;
  const auto Large = Resized(Frame, D.Picture.get());
  Sheet.Row(std::string(Skin.Name) + ": frame", D.Picture.get(), {{"picture", Frame.SkinRect}}, Large.get());
  Sheet.Row("inactive frame", D.InActivePicture.get(), {{"picture", Frame.SkinRect}});
  if (!D.Mask->Empty()) Sheet.Row("frame mask", D.Mask.get(), {{"mask", Frame.SkinRect}});
  for (auto& O : D.SkinObjects) {
    TBitmap* Picture = O->SkinRectInAPicture ? PictureAt(D, O->ActivePictureIndex) : D.Picture.get();
    Sheet.Row(O->IDName, Picture, Images(*O));
  }
  for (auto& P : D.SkinControls) {
    auto* Custom = dynamic_cast<TbsDataSkinCustomControl*>(P.get());
    TBitmap* Picture = PictureAt(D, P->PictureIndex);
    const auto Large = Custom != nullptr ? Resized(*Custom, Picture) : nullptr;
    Sheet.Row(P->IDName, Picture, Images(*P), Large.get());
  }
  for (std::size_t I = 0; I < D.ActivePictures.size(); ++I) {
    TBitmap* B = D.ActivePictures[I].get();
    if (B->GetWidth() <= 200 && B->GetHeight() <= 200)
      Sheet.Row("picture " + std::to_string(I), B, {{"all", Rect(0, 0, B->GetWidth(), B->GetHeight())}});
  }
  return Sheet.Save(Path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: tv_skinsheet <output folder> [skin index]\n";
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  const auto Skins = ProgramSkins();
  for (std::size_t I = 0; I < Skins.size(); ++I) {
    if (argc == 3 && std::to_string(I) != argv[2]) continue;
    const std::string Path = std::string(argv[1]) + "/" + SkinStyles()[I].FileName + ".png";
    if (!DrawSheet(Skins[I], Path)) {
      std::cerr << "tv_skinsheet: cannot write " << Path << "\n";
      return 1;
    }
    std::cout << Path << "\n";
  }
  return 0;
}
