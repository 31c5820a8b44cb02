// The window procedure of a skinned form: the non-client messages answered from the skin, the
// component's window state and geometry kept in step, and the skin library's own messages.
#include "platform/classes/Bitmap.h"
#include "platform/gdi/Regions.h"
#include "platform/user/Cursors.h"
#include "platform/user/User.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"

namespace {

constexpr UINT WM_SKINRESSTRCHANGED = 1274;
constexpr UINT WM_CLOSESKINMENUS = 1228;
constexpr UINT WM_TRAYRESTORED = 1426;
constexpr UINT WM_SKINNEDFRAMEQUERY = 0xB1B2;
constexpr UINT WM_SUSPENDLAYEREDBORDER = 0xB1B3;
constexpr UINT WM_RESUMELAYEREDBORDER = 0xB1B4;
constexpr UINT WM_PAINTFRAMEQUERY = 0xB1C9;
constexpr UINT WM_PAINTFRAMEQUERY2 = 0xBC4B;
constexpr UINT FadeTimerId = 1;

TPoint MessagePoint(LPARAM L) {
  return Point(static_cast<short>(L & 0xFFFF), static_cast<short>((L >> 16) & 0xFFFF));
}

}  // namespace

void TbsSkinForm::FormWindowProc(TMessage& Message) {
  CloseMenusOnMessage(Message);
  if (AnswerAlone(Message)) return;
  if (FOldWindowProc) FOldWindowProc(Message);
  AfterSavedProc(Message);
}

void TbsSkinForm::PaintFrameInto(HDC DC) {
  if (FSkinApplied)
    PaintSkinFrame(DC, true);
  else
    PaintDefaultFrame(DC, true);
}

// The rows that answer a message themselves; false lets it pass on.
bool TbsSkinForm::AnswerAlone(TMessage& Message) {
  auto* Skin = reinterpret_cast<TbsSkinData*>(Message.WParam);
  const bool SkinMsg = Message.LParam == SkinMessageParam;
  switch (Message.Msg) {
    case WM_DESTROY:
      StopTimers();
      return false;
    case WM_SIZE:
      if (FInSizeMove && FFullDrag) {
        if (!FLogoBitMap->Empty()) Repaint();
        return false;
      }
      WMSize(Message);
      return true;
    case WM_ACTIVATE:
      if (!FSkinnable) return false;
      if (FOldWindowProc) FOldWindowProc(Message);
      RepaintFrame();
      ResetObjectStates();
      SetCaptionActive(true);
      return true;
    case WM_SETTEXT:
      if (!FSkinnable) return false;
      if (FOldWindowProc) FOldWindowProc(Message);
      if (!NoBorder()) RepaintFrame();
      return true;
    case WM_ERASEBKGND: {
      const HDC DC = reinterpret_cast<HDC>(Message.WParam);
      if (FSkinApplied) {
        if (FSD->BGPictureIndex == -1)
          PaintClientPiece(DC);
        else
          PaintBGPicture(DC);
      } else {
        EraseDefaultBackground(DC);
      }
      return true;
    }
    case WM_SHOWWINDOW:
      WMShowWindowBefore(Message);
      return false;
    case WM_SETCURSOR:
      if (FSkinnable && UseFormCursorInNCArea) {
        const Integer Hit = static_cast<short>(Message.LParam & 0xFFFF);
        if (Hit != HTCLIENT && !(Hit >= HTLEFT && Hit <= HTBOTTOMRIGHT))
          Message.LParam = (Message.LParam & ~static_cast<LPARAM>(0xFFFF)) | HTCLIENT;
      }
      return false;
    case WM_GETMINMAXINFO:
      if (FSkinnable) {
        auto* MM = reinterpret_cast<MINMAXINFO*>(Message.LParam);
        MM->ptMinTrackSize = Point(GetMinWidth(), GetMinHeight());
        MM->ptMaxTrackSize = Point(GetMaxWidth(), GetMaxHeight());
      }
      return false;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(Message);
      return false;
    case WM_DISPLAYCHANGE:
      if (!NoBorder() && (GetMaxWidth() < FForm->GetWidth() || GetMaxHeight() < FForm->GetHeight()))
        NudgeWidth();
      return false;
    case WM_NCCALCSIZE:
      if (!FSkinnable) return false;
      WMNCCalcSize(Message);
      return true;
    case WM_NCHITTEST: {
      if (!FSkinnable) return false;
      const TPoint P = ScreenToFrame(MessagePoint(Message.LParam));
      Message.Result = FSkinApplied ? SkinHitTest(P) : DefaultHitTest(P);
      if (!FHoverTimer->GetEnabled() && Message.Result == 19) {
        TestActive(P.X, P.Y, true);
        StartHoverTimer();
      }
      return true;
    }
    case WM_NCPAINT:
      if (!FSkinnable) return false;
      if (NoBorder()) return true;
      if (FSkinApplied)
        PaintSkinFrame(nullptr, false);
      else if (!FSkinChanging)
        PaintDefaultFrame(nullptr, false);
      return true;
    case WM_NCACTIVATE:
      if (!FSkinnable) return false;
      WMNCActivate(Message);
      return true;
    case WM_SYNCPAINT:
      if (!FSkinnable || !FRolledUp) return false;
      RepaintFrame();
      Message.Result = 0;
      return true;
    case WM_SYSCOMMAND:
      if ((Message.WParam & 0xFFF0) == SC_RESTORE && OnRestore) OnRestore(this);
      if ((Message.WParam & 0xFFF0) == SC_KEYMENU) {
        MenuKeyCommand();
        return true;
      }
      return false;
    case WM_TIMER:
      if (Message.WParam == FadeTimerId) WMTimerFade();
      return false;
    case WM_SIZING:
      if (!(FInSizeMove && FFullDrag)) return false;
      WMSizing(Message);
      return true;
    case WM_MOVING:
      if (FSkinnable) WMMoving(Message);
      return false;
    case WM_ENTERSIZEMOVE:
      if (FSkinnable) WMEnterSizeMove();
      return false;
    case WM_EXITSIZEMOVE:
      if (FSkinnable) WMExitSizeMove();
      return false;
    case WM_BEFORECHANGESKINDATA:
      if (SkinMsg && Skin == FSD && FSD != nullptr) {
        FSkinChanging = true;
        FSkinApplied = false;
        StopTimers();
        FreeObjects();
        BeforeSkinChangeControls(Skin, FForm);
        if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
      }
      return false;
    case WM_CHANGESKINDATA:
      if (SkinMsg) {
        FSkinChanging = false;
        if (Skin == FSD && FSD != nullptr) ApplySkin();
        ApplySkinChangeControls(Skin, FForm);
      }
      return false;
    case WM_AFTERCHANGESKINDATA:
      if (SkinMsg && OnAfterChangeSkinData) OnAfterChangeSkinData(this);
      return false;
    case WM_CLOSESKINMENUS:
      CloseSkinMenus();
      return false;
    case WM_SKINRESSTRCHANGED:
      UpdateObjectHints();
      return false;
    case WM_CHANGEFORMSKINNABLE:
      if (SkinMsg && FSD != nullptr && Skin == FSD && FForm->GetFormStyle() != fsMDIChild)
        SetSkinnable(FSD->GetSkinnableForm());
      return false;
    case WM_TRAYRESTORED:
      if (FForm->GetTag() == -10000) FForm->SetTag(0);
      return false;
    case WM_SKINNEDFRAMEQUERY:
      Message.Result = 12853;
      return true;
    case WM_SUSPENDLAYEREDBORDER:
    case WM_RESUMELAYEREDBORDER:
      return false;
    case WM_PAINTFRAMEQUERY:
      if (!FSkinnable) return false;
      if (Message.WParam != 0 && !NoBorder()) {
        PaintFrameInto(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 12851;
      }
      return true;
    case WM_PAINTFRAMEQUERY2:
      if (!FSkinnable || Message.LParam != 16802) return false;
      if (Message.WParam != 0 && !NoBorder()) PaintFrameInto(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 16802;
      return true;
    default:
      return false;
  }
}

// The rows that follow the saved procedure; they never change the result.
void TbsSkinForm::AfterSavedProc(TMessage& Message) {
  const UINT M = Message.Msg;
  if (M == WM_LBUTTONUP) {
    ObjectsMouseUp(mbLeft, -1, -1);
    return;
  }
  if (M == WM_RBUTTONUP) {
    ObjectsMouseUp(mbRight, -1, -1);
    return;
  }
  if (!FSkinnable || M < WM_NCMOUSEMOVE || M > WM_NCRBUTTONDBLCLK) return;
  const TPoint P = ScreenToFrame(MessagePoint(Message.LParam));
  const bool OnCaption = Message.WParam == HTCAPTION;
  switch (M) {
    case WM_NCMOUSEMOVE:
      ObjectsMouseMove(P.X, P.Y);
      break;
    case WM_NCLBUTTONDOWN:
      // A size/move loop that ran inside the saved procedure is over by now.
      if (FInSizeMove) {
        FInSizeMove = false;
        break;
      }
      TestActive(P.X, P.Y, true);
      ObjectsMouseDown(mbLeft, P.X, P.Y);
      if (OnCaption) FPressedIndex = -1;
      break;
    case WM_NCLBUTTONUP:
      ObjectsMouseUp(mbLeft, P.X, P.Y);
      break;
    case WM_NCLBUTTONDBLCLK:
      TestActive(P.X, P.Y, true);
      ObjectsMouseDown(mbLeft, P.X, P.Y);
      ObjectsDblClick();
      if (OnCaption) {
        CaptionDblClick();
        FPressedIndex = -1;
      }
      break;
    case WM_NCRBUTTONDOWN:
      TestActive(P.X, P.Y, true);
      ObjectsMouseDown(mbRight, P.X, P.Y);
      if (OnCaption) {
        FPressedIndex = -1;
        if (!DisableSystemMenu) {
          TPoint C;
          GetCursorPos(&C);
          PopupSystemMenuAtPoint(C.X, C.Y);
        }
      }
      break;
    case WM_NCRBUTTONUP:
      ObjectsMouseUp(mbRight, P.X, P.Y);
      break;
    case WM_NCRBUTTONDBLCLK:
      TestActive(P.X, P.Y, true);
      ObjectsMouseDown(mbRight, P.X, P.Y);
      if (OnCaption) FPressedIndex = -1;
      break;
    default:
      break;
  }
}

void TbsSkinForm::WMSize(TMessage& Message) {
  if (!FLayerDragging) {
    if (FOldWindowProc) FOldWindowProc(Message);
    FFrameWidth = FForm->GetWidth();
    FFrameHeight = FForm->GetHeight();
  }
  FSnapLeft = FSnapTop = FSnapRight = FSnapBottom = false;
  if (!FSkinApplied && FSkinnable) {
    SetFrameRegion(true);
    RepaintFrame();
  } else if (FSkinApplied && FSD != nullptr && FSkinnable && FFrameWidth >= GetMinWidth() &&
             FFrameHeight >= GetMinHeight()) {
    UpdateFrame(true);
  }
  if (FLayerDragging && FOldWindowProc) FOldWindowProc(Message);
  if (FAlphaBlend && FAlphaBlendValue < 255 && IsLayeredWindowAvailable()) {
    RepaintFrame();
    Repaint();
  }
  if (!FLogoBitMap->Empty() && FForm->GetFormStyle() != fsMDIForm) Repaint();
}

void TbsSkinForm::WMEnterSizeMove() {
  TPoint C;
  GetCursorPos(&C);
  FSnapCursorX = C.X;
  FSnapCursorY = C.Y;
  ResetObjectStates();
  FHoverTimer->SetEnabled(false);
  FHoverIndex = FPressedIndex = -1;
  FInSizeMove = true;
  BOOL Full = TRUE;
  SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0);
  FFullDrag = Full != FALSE;
}

void TbsSkinForm::WMExitSizeMove() {
  if (FSizeMoveSized && (FForm->GetWidth() != FFrameWidth || FForm->GetHeight() != FFrameHeight)) {
    FFrameLeft = FForm->GetLeft();
    FFrameTop = FForm->GetTop();
    FFrameWidth = FForm->GetWidth();
    FFrameHeight = FForm->GetHeight();
    UpdateFrame(true);
  }
  FSizeMoveSized = FInSizeMove = false;
  FHoverTimer->SetEnabled(false);
  FHoverIndex = FOldHoverIndex = FPressedIndex = -1;
  if (SkinReady()) RepaintFrame();
}
