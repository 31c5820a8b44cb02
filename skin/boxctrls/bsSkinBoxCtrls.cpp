// TbsCustomEdit and TbsSkinNumEdit: the native edit inside the skinned controls and its
// numeric form.
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinEditMenu.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/Caret.h"
#include "platform/user/Clipboard.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/GlobalMemory.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/data/bsUtils.h"

// ---- TbsCustomEdit --------------------------------------------------------------------------

TbsCustomEdit::TbsCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  TControlStyle S = GetControlStyle();
  S.Include(csOpaque);
  SetControlStyle(S);
}

TbsCustomEdit::~TbsCustomEdit() {
  FreeContextMenu();
}

void TbsCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FContextMenu) FContextMenu = nullptr;
}

void TbsCustomEdit::SetTransparent(bool Value) {
  FTransparent = Value;
  if (HandleAllocated()) RecreateWnd();
}

bool TbsCustomEdit::TransparentActive() const {
  return FTransparent && !GetComponentState().Contains(csDesigning);
}

void TbsCustomEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  // The skinned owner draws every border.
  Params.Style &= ~WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  if (FTransparent) Params.ExStyle |= WS_EX_TRANSPARENT;
  // A multi-line edit can take a formatting rectangle that leaves room for images.
  if (GetPasswordChar() != 0)
    Params.Style |= ES_PASSWORD;
  else
    Params.Style |= ES_MULTILINE;
}

void TbsCustomEdit::Invalidate() {
  if (!TransparentActive()) {
    TCustomMaskEdit::Invalidate();
    return;
  }
  TWinControl* P = GetParent();
  if (P == nullptr || !HandleAllocated()) return;
  if (P->HandleAllocated()) {
    // The parent's background under the text is painted again.
    const TPoint O = P->ScreenToClient(ClientToScreen({0, 0}));
    const TRect C = GetClientRect();
    const RECT R{O.X, O.Y, O.X + C.Right, O.Y + C.Bottom};
    InvalidateRect(P->GetHandle(), &R, TRUE);
  }
  RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TbsCustomEdit::Change() {
  TCustomMaskEdit::Change();
  if (TransparentActive()) Invalidate();
}

void TbsCustomEdit::WndProc(TMessage& Message) {
  const UINT Msg = Message.Msg;
  switch (Msg) {
    case WM_KEYDOWN:
      if (FReadOnly && Message.WParam == VK_DELETE) return;
      break;
    case WM_PASTE:
      if (FReadOnly) return;
      PasteOneLine();
      if (TransparentActive()) Invalidate();
      return;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
      if (FReadOnly) return;
      break;
    case WM_CHAR:
      if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
        // Enter and Escape belong to the form's default and cancel buttons; the window never
        // sees them, so it does not beep.
        if (OnKeyPress) {
          char Key = static_cast<char>(Message.WParam);
          OnKeyPress(this, Key);
        }
        if (TCustomForm* Form = GetParentForm(this))
          Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam);
        return;
      }
      // The window is multi-line (for its formatting rectangle) but the text is one line.
      if (FReadOnly || Message.WParam == '\n') return;
      break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (TransparentActive()) {
        auto* DC = reinterpret_cast<HDC>(Message.WParam);
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, ColorToRGB(GetFont()->GetColor()));
        Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return;
      }
      break;
    case WM_ERASEBKGND:
      // Nothing is erased: what lies behind shows through. (Invalidating from inside the erase
      // would only ask for the same paint again.)
      if (TransparentActive()) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CONTEXTMENU:
      // The edit's own PopupMenu first; else the built-in menu through the skinned menus.
      if (GetPopupMenu() == nullptr) {
        ShowContextMenu(Message.LParam);
        return;
      }
      break;
    case WM_EDITMENUDONE:
      FreeContextMenu();
      return;
    case WM_LBUTTONDOWN:
      Down = true;
      break;
    case WM_LBUTTONUP:
      Down = false;
      break;
    default:
      break;
  }
  TCustomMaskEdit::WndProc(Message);
  switch (Msg) {
    case WM_SETFONT:
      if (HandleAllocated())
        SendMessage(GetHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(2, 0));
      break;
    case WM_SETFOCUS:
      if (GetAutoSelect()) SelectAll();
      if (TransparentActive()) Invalidate();
      break;
    case CM_CANCELMODE:
      if (OnCancelMode) OnCancelMode(reinterpret_cast<TObject*>(Message.LParam));
      break;
    case WM_KEYDOWN:
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_LBUTTONDOWN:
    case WM_KILLFOCUS:
      if (TransparentActive()) Invalidate();
      break;
    case WM_MOUSEMOVE:
      if (Down && TransparentActive()) Invalidate();
      break;
    default:
      break;
  }
}

void TbsCustomEdit::FreeContextMenu() {
  delete FContextMenu;
  FContextMenu = nullptr;
}

void TbsCustomEdit::ShowContextMenu(LPARAM MessagePoint) {
  FreeContextMenu();
  if (TbsEditMenuShow Show = GetEditMenuShow())
    FContextMenu = Show(this, EditMenuEntries(this), EditMenuPoint(this, MessagePoint));
  if (FContextMenu != nullptr) FContextMenu->FreeNotification(this);
}

std::string TbsCustomEdit::ClipboardText() {
  std::string Text;
  if (!OpenClipboard(HandleAllocated() ? GetHandle() : nullptr)) return Text;
  if (HANDLE Data = GetClipboardData(CF_TEXT)) {
    if (const auto* Chars = static_cast<const char*>(GlobalLock(Data))) {
      Text = Chars;
      GlobalUnlock(Data);
    }
  }
  CloseClipboard();
  return Text;
}

void TbsCustomEdit::PasteOneLine() {
  std::string Text = ClipboardText();
  // Line breaks would split the one line the edit shows.
  std::erase_if(Text, [](char C) { return C == '\r' || C == '\n'; });
  if (Text.empty() || !HandleAllocated()) return;
  SendMessage(GetHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text.c_str()));
}

// ---- TbsSkinNumEdit -------------------------------------------------------------------------

TbsSkinNumEdit::TbsSkinNumEdit(TComponent* AOwner) : TbsCustomEdit(AOwner) {}

bool TbsSkinNumEdit::IsValidChar(char Key) {
  const auto K = static_cast<unsigned char>(Key);
  bool Result = Key == '-' || (Key >= '0' && Key <= '9') || (FloatInput && Key == SpinDecimalSeparator) ||
                (K < 32 && K != 13);
  if (Result && !EditorEnabled && (K == 8 || K >= 32)) Result = false;
  const std::string Text = GetText();
  if (Result && Key == SpinDecimalSeparator && Text.find(SpinDecimalSeparator) != std::string::npos)
    return false;
  if (Result && Key == '-' && Text.find('-') != std::string::npos) return false;
  return Result;
}

void TbsSkinNumEdit::KeyPress(char& Key) {
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key != 0) TbsCustomEdit::KeyPress(Key);
}

void TbsSkinNumEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP) {
    if (OnStepUp) OnStepUp(this);
    return;
  }
  if (Key == VK_DOWN) {
    if (OnStepDown) OnStepDown(this);
    return;
  }
  TbsCustomEdit::KeyDown(Key, Shift);
}

void TbsSkinNumEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      if (static_cast<SHORT>(HIWORD(Message.WParam)) > 0) {
        if (OnStepDown) OnStepDown(this);
      } else if (OnStepUp) {
        OnStepUp(this);
      }
      Message.Result = 1;
      break;
    case CM_MOUSEENTER:
      TbsCustomEdit::Dispatch(Message);
      if (Message.LParam == 0 && OnEditMouseEnter) OnEditMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      TbsCustomEdit::Dispatch(Message);
      if (Message.LParam == 0 && OnEditMouseLeave) OnEditMouseLeave(this);
      break;
    default:
      TbsCustomEdit::Dispatch(Message);
      break;
  }
}
