// The builder's frame of work: the picture list, the places and faces in the parts picture,
// the walk over the required names and the dispatch to each record class's routine.
#include "tools/skingen/SkinBuilder.h"

#include <algorithm>
#include <map>

#include "platform/classes/Canvas.h"
#include "platform/system/Exceptions.h"
#include "platform/system/StringList.h"
#include "platform/system/Strings.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataObjects.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr Integer PartsWidth = 480;
constexpr Integer PartsMaxHeight = 2048;

}  // namespace

TSkinBuilder::TSkinBuilder(const TSkinStyle& Style)
    : FStyle(Style), FIni(""), FWritten(""), FParts(PartsWidth, PartsMaxHeight), FPacker(PartsWidth) {
  // The picture list: the parts picture first, then what the style's looks need.
  Integer Next = 1;
  if (Style.PerPixelAlpha) FAlphaIndex = Next++;
  FPopupIndex = Next++;
  FHintIndex = Next++;
  if (Style.LayeredFrame) {
    FLayerIndex = Next++;
    FLayerMaskIndex = Next++;
  }
  if (Style.ButtonGlow) {
    FGlowIndex = Next++;
    FGlowMaskIndex = Next++;
  }
  FPictureCount = Next;
}

TSkinBuilder::~TSkinBuilder() = default;

TSkinBuilder::TControlRoutine TSkinBuilder::ControlRoutine(const std::string& TypeWord) {
  static const std::map<std::string, TControlRoutine> Routines{
      {"button", &TSkinBuilder::ButtonPart},
      {"menubutton", &TSkinBuilder::MenuButtonPart},
      {"panel", &TSkinBuilder::PanelPart},
      {"checkradio", &TSkinBuilder::CheckRadioPart},
      {"gauge", &TSkinBuilder::GaugePart},
      {"trackbar", &TSkinBuilder::TrackBarPart},
      {"label", &TSkinBuilder::LabelPart},
      {"stdlabel", &TSkinBuilder::StdLabelPart},
      {"scrollbar", &TSkinBuilder::ScrollBarPart},
      {"splitter", &TSkinBuilder::SplitterPart},
      {"treeview", &TSkinBuilder::TreeViewPart},
      {"listview", &TSkinBuilder::ListViewPart},
      {"listbox", &TSkinBuilder::ListBoxPart},
      {"combobox", &TSkinBuilder::ComboBoxPart},
      {"edit", &TSkinBuilder::EditPart},
      {"memo", &TSkinBuilder::MemoPart},
      {"spinedit", &TSkinBuilder::SpinEditPart},
      {"updown", &TSkinBuilder::UpDownPart},
      {"scrollbox", &TSkinBuilder::ScrollBoxPart},
      {"tab", &TSkinBuilder::TabPart},
      {"mainmenubar", &TSkinBuilder::MainMenuBarPart},
      {"appmenu", &TSkinBuilder::AppMenuPart},
      {"bevel", &TSkinBuilder::BevelPart},
  };
  const auto Found = Routines.find(TypeWord);
  if (Found == Routines.end()) throw Exception("no drawing routine for the part class \"" + TypeWord + "\"");
  return Found->second;
}

TSkinBuilder::TObjectRoutine TSkinBuilder::ObjectRoutine(const std::string& TypeWord) {
  static const std::map<std::string, TObjectRoutine> Routines{
      {"caption", &TSkinBuilder::CaptionObject},
      {"stdbutton", &TSkinBuilder::StdButtonObject},
      {"mainmenubarbutton", &TSkinBuilder::MenuBarButtonObject},
      {"menuitem", &TSkinBuilder::MenuItemObject},
      {"mainmenubaritem", &TSkinBuilder::MenuBarItemObject},
  };
  const auto Found = Routines.find(TypeWord);
  if (Found == Routines.end())
    throw Exception("no drawing routine for the object class \"" + TypeWord + "\"");
  return Found->second;
}

void TSkinBuilder::Build() {
  WriteVersion();
  DrawFrame();
  for (const TbsRequiredSkinName& N : RequiredSkinNames()) {
    switch (N.List) {
      case TbsSkinNameList::Section:
        Section(N.Name);
        break;
      case TbsSkinNameList::Controls:
        (this->*ControlRoutine(N.TypeWord))(N.Name);
        break;
      case TbsSkinNameList::Objects:
        (this->*ObjectRoutine(N.TypeWord))(N.Name);
        break;
    }
  }
  FIni.WriteInteger("SKINCONTROLS", "count", FControlCount);
  FIni.WriteInteger("SKINOBJECTS", "count", FObjectCount);
  FParts.Crop(FPacker.UsedHeight());
  WritePictures();
  TStringList Lines;
  FIni.GetStrings(&Lines);
  FWritten.SetStrings(&Lines);
  DropNegativeValues();
}

void TSkinBuilder::Section(const std::string& Name) {
  if (Name == "FORMINFO")
    WriteFormInfo();
  else if (Name == "POPUPWINDOW")
    WritePopupWindow();
  else if (Name == "HINTWINDOW")
    WriteHintWindow();
  else if (Name == "LAYERFRAME")
    WriteLayerFrame();
  else if (Name == "SKINCOLORS")
    WriteSkinColors();
  else
    throw Exception("no writer for the section \"" + Name + "\"");
}

void TSkinBuilder::Add(std::unique_ptr<TbsDataSkinControl> Part, const char* TypeWord) {
  Part->SaveToIni(&FIni);
  FIni.WriteString("SKINCONTROLS", IntToStr(FControlCount++), Part->IDName + ":" + TypeWord);
}

void TSkinBuilder::Add(std::unique_ptr<TbsDataSkinObject> Object, const char* TypeWord) {
  Object->SaveToIni(&FIni);
  FIni.WriteString("SKINOBJECTS", IntToStr(FObjectCount++), Object->IDName + ":" + TypeWord);
}

TRect TSkinBuilder::Place(Integer W, Integer H, TColor Background) {
  const TRect R = FPacker.Reserve(W, H);
  if (R.Bottom >= PartsMaxHeight) throw Exception("the parts picture is full");
  FParts.Fill(R, Background);
  return R;
}

TRect TSkinBuilder::Look(Integer W, Integer H, const TFaceLook& L, TColor Background) {
  const TRect R = Place(W, H, Background);
  PaintFace(FParts, R, L);
  return R;
}

TRect TSkinBuilder::LookOver(Integer W, Integer H, const TFaceLook& L, const TSkinPicture& Under,
                             const TPoint& At) {
  const TRect R = Place(W, H, SkinKeyColor);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) FParts.Put(R.Left + X, R.Top + Y, Under.Get(At.X + X, At.Y + Y));
  PaintFace(FParts, R, L);
  return R;
}

TRect TSkinBuilder::Face(Integer W, Integer H, Integer State) {
  TFaceLook L = StyleFace(FStyle, State == 4 ? 0 : State);
  if (State == 4) L.Outline = FStyle.Accent;
  return Look(W, H, L, FStyle.Panel);
}

TRect TSkinBuilder::Glyph(Integer W, Integer H, Integer Kind, TColor Color) {
  const TRect R = Place(W, H, SkinKeyColor);
  DrawGlyph(R, Kind, Color);
  return R;
}

void TSkinBuilder::DrawGlyph(const TRect& R, Integer Kind, TColor Color) {
  TCanvas* C = FParts.Image()->GetCanvas();
  C->GetPen()->SetColor(Color);
  C->GetBrush()->SetColor(Color);
  const Integer X = R.Left + (R.Right - R.Left - 11) / 2, Y = R.Top + (R.Bottom - R.Top - 10) / 2;
  switch (Kind) {
    case 1:
    case 2:
    case 3:
    case 4:
      DrawArrowGlyph(C, R, Color, Kind);
      break;
    case sgCheck:
      DrawCheckMark(C, R.Left + (R.Right - R.Left - 8) / 2, R.Top + (R.Bottom - R.Top - 8) / 2 - 1, Color);
      break;
    case sgRadio:
      DrawRadioMark(C, R.Left + (R.Right - R.Left) / 2 - 2, R.Top + (R.Bottom - R.Top) / 2 - 2, Color);
      break;
    case sgClose:
      DrawCloseGlyph(C, X, Y, Color);
      break;
    case sgMaximize:
      DrawMaximizeGlyph(C, X, Y, Color);
      break;
    case sgRestore:
      DrawRestoreGlyph(C, X, Y, Color);
      break;
    case sgMinimize:
      DrawMinimizeGlyph(C, X, Y, Color);
      break;
    case sgSysMenu:
      DrawSysMenuGlyph(C, X, Y, Color);
      break;
    case sgRollUp:
      DrawRollUpGlyph(C, X, Y, Color);
      break;
    case sgRollDown:
      DrawRollDownGlyph(C, X, Y, Color);
      break;
    case sgTray:
      DrawMinimizeToTrayGlyph(C, X, Y, Color);
      break;
    case sgComboArrow:
      DrawComboArrow(C, R, Color);
      break;
    case sgGrip:
    case sgDots: {
      // Raised dots: a light pixel over a dark one, every third pixel.
      const bool Line = Kind == sgDots;
      for (Integer Yy = R.Top + 1; Yy + 1 < R.Bottom; Yy += 3)
        for (Integer Xx = R.Left + 1; Xx + 1 < R.Right; Xx += 3) {
          if (!Line && Xx - R.Left < R.Bottom - Yy - 2) continue;  // the grip is a triangle
          FParts.Put(Xx, Yy, FStyle.Light);
          FParts.Put(Xx + 1, Yy + 1, Color);
        }
      break;
    }
    default:
      throw Exception("unknown glyph");
  }
  // What the canvas drew counts as inside for the masks.
  for (Integer Yy = R.Top; Yy < R.Bottom; ++Yy)
    for (Integer Xx = R.Left; Xx < R.Right; ++Xx)
      if (FParts.Get(Xx, Yy) != SkinKeyColor) FParts.Put(Xx, Yy, FParts.Get(Xx, Yy));
}

void TSkinBuilder::Anchor(TbsDataSkinCustomControl& P, Integer Edge, Integer W, Integer H) {
  Anchor(P, Rect(Edge, Edge, W - Edge, H - Edge));
}

void TSkinBuilder::Anchor(TbsDataSkinCustomControl& P, const TRect& Client) {
  P.LeftTopPoint = Point(Client.Left, Client.Top);
  P.RightTopPoint = Point(Client.Right, Client.Top);
  P.LeftBottomPoint = Point(Client.Left, Client.Bottom);
  P.RightBottomPoint = Point(Client.Right, Client.Bottom);
  P.ClientRect = Client;
  // Faces are even along their edges, so stretching keeps them smooth at any size.
  P.LeftStretch = P.TopStretch = P.RightStretch = P.BottomStretch = true;
  P.StretchEffect = true;
  P.StretchType = stFull;
}

bool TSkinBuilder::Big(const std::string& Name) const {
  return Name.starts_with("big");
}

void TSkinBuilder::DropNegativeValues() {
  TStringList Sections, Lines;
  FIni.ReadSections(&Sections);
  for (Integer S = 0; S < Sections.GetCount(); ++S) {
    const std::string Section = Sections.GetStrings(S);
    FIni.ReadSectionValues(Section, &Lines);
    for (Integer I = 0; I < Lines.GetCount(); ++I) {
      const std::string Line = Lines.GetStrings(I);
      const std::size_t Eq = Line.find('=');
      if (Eq != std::string::npos && Line.find('-', Eq) != std::string::npos &&
          Line.find_first_not_of("-0123456789,", Eq + 1) == std::string::npos)
        FIni.DeleteKey(Section, Line.substr(0, Eq));
    }
  }
}
