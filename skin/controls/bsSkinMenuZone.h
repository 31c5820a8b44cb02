#pragma once
// What the menu button and the menu speed button share: dropping a popup menu under the
// button, the menu zone at the button's edge, and the pictures drawn there.
//
// The skinned popup menus belong to the form library, which stands above this one: it puts its
// own way of dropping a menu in with SetPopupUnderRectHook. Without it the platform's menu opens
// at the rectangle's bottom-left corner, and the control is told at once when it has closed.
#include "platform/classes/Controls.h"
#include "skin/controls/bsSkinPartMixin.h"

class TPopupMenu;

// Message the popup menu sends to the control it dropped from when it closes.
constexpr UINT WM_MENUCLOSED_SKIN = 1228;
// The width of a menu button's menu zone.
constexpr Integer bsMenuZoneSize = 15;

using TbsPopupUnderRectHook = void (*)(TPopupMenu* Menu, TControl* Control, const TRect& R, bool PopupToUp);
void SetPopupUnderRectHook(TbsPopupUnderRectHook Hook);
// Drops Menu under R (screen coordinates); Control gets WM_MENUCLOSED_SKIN when it closes.
void PopupMenuUnderRect(TPopupMenu* Menu, TControl* Control, const TRect& R, bool PopupToUp);

// The control's rectangle on the screen.
TRect ScreenRectOf(TControl* Control);
// A part's track area moved for the control's size along the part's resize direction.
TRect FittedTrackRect(const TbsSkinPartGeometry& G, const TRect& Track, Integer Width, Integer Height);
// The state picture Src of a button part as a piece of W x H: stretched over the part's client
// (tool style) or as a 9-slice whose anchors grow with the piece (resize style).
void BuildMenuPiece(TBitmap* B, const TbsSkinPartGeometry& G, TBitmap* Picture, const TRect& Src, Integer W,
                    Integer H, bool Resize);
// Piece of Picture drawn transparent in TransparentColor, centred in Zone.
void DrawMenuMarker(TCanvas* C, TBitmap* Picture, const TRect& Piece, TColor TransparentColor,
                    const TRect& Zone);
// The plain look of a face piece without a part: hot, down or plain frame and fill.
enum class TbsPlainFace { Plain, Hot, Down, Flat };
void DrawPlainFace(TCanvas* C, const TRect& R, TbsPlainFace Face, TColor HotFrame);
