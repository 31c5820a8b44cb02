// The mouse cursor: loading, creating, showing through the back end, and DefWindowProc's
// WM_SETCURSOR.
#include <cstring>

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/CursorInternals.h"
#include "platform/user/InputState.h"

namespace {

struct TCursorState {
  HCURSOR Current = nullptr;
  Integer ShowCount = 0;
  // What the back end shows now, to skip repeated calls with the same cursor.
  TDisplayBackend* Backend = nullptr;
  HCURSOR Shown = nullptr;
  bool Visible = false;
};
TCursorState GCursor;

void Present() {
  TCursorState& S = GCursor;
  TDisplayBackend* B = GetDisplayBackend();
  const bool Visible = S.ShowCount >= 0 && S.Current != nullptr;
  if (B == nullptr || (B == S.Backend && S.Shown == S.Current && S.Visible == Visible)) return;
  S.Backend = B;
  S.Shown = S.Current;
  S.Visible = Visible;
  if (!Visible) {
    B->SetCursorShape(nullptr, 0, 0, {});
    return;
  }
  HICON C = S.Current;
  if (C->Shape.empty()) C->Shape = IconImage(C);
  B->SetCursorShape(C->Shape.data(), C->Width, C->Height, {C->XHotspot, C->YHotspot});
}

// Premultiplied ARGB of an opaque colour.
DWORD Opaque(COLORREF C) {
  return 0xFF000000u | (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C);
}

bool MaskSet(const TSurface& M, Integer X, Integer Y) {
  return (PixelToColor(M, GetRawPixel(M, X, Y)) & 0xFFFFFF) != 0;
}

bool IsButtonDownMessage(UINT Msg) {
  return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN || Msg == WM_XBUTTONDOWN;
}

}  // namespace

std::vector<DWORD> IconImage(HICON Icon) {
  const Integer W = Icon->Width, H = Icon->Height;
  std::vector<DWORD> Out(static_cast<std::size_t>(W) * H, 0);
  const TSurface& M = Icon->Mask->Surface;
  for (Integer Y = 0; Y < H; ++Y) {
    DWORD* Row = Out.data() + static_cast<std::size_t>(Y) * W;
    for (Integer X = 0; X < W; ++X) {
      const bool And = MaskSet(M, X, Y);
      if (Icon->Color == nullptr) {
        const bool Xor = MaskSet(M, X, Y + H);
        // Kept: transparent; inverted shows black.
        Row[X] = And && !Xor ? 0 : (Xor && !And ? 0xFFFFFFFFu : 0xFF000000u);
        continue;
      }
      const TSurface& C = Icon->Color->Surface;
      const DWORD Raw = GetRawPixel(C, X, Y);
      if (Icon->HasAlpha) {
        const DWORD A = Raw >> 24;
        auto Mul = [A](DWORD V) { return (V * A + 127) / 255; };
        Row[X] =
            (A << 24) | (Mul((Raw >> 16) & 0xFF) << 16) | (Mul((Raw >> 8) & 0xFF) << 8) | Mul(Raw & 0xFF);
        continue;
      }
      const COLORREF Color = PixelToColor(C, Raw);
      Row[X] = !And ? Opaque(Color) : ((Color & 0xFFFFFF) != 0 ? 0xFF000000u : 0);
    }
  }
  return Out;
}

HCURSOR LoadCursor(HINSTANCE Instance, LPCSTR Name) {
  if (Name == nullptr) return nullptr;
  HCURSOR C = nullptr;
  if (Instance == nullptr)
    C = IS_INTRESOURCE(Name) ? StandardCursor(reinterpret_cast<std::uintptr_t>(Name)) : nullptr;
  else
    C = LoadCursorResource(Instance, Name);
  if (C == nullptr) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return C;
}

HCURSOR CreateCursor(HINSTANCE, Integer XHotspot, Integer YHotspot, Integer Width, Integer Height,
                     const void* AndPlane, const void* XorPlane) {
  if (Width <= 0 || Height <= 0 || AndPlane == nullptr || XorPlane == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Both planes in one bitmap of twice the height: rows are padded to 16 bits either way.
  const std::size_t Plane = static_cast<std::size_t>((Width + 15) / 16) * 2 * Height;
  std::vector<Byte> Bits(2 * Plane);
  std::memcpy(Bits.data(), AndPlane, Plane);
  std::memcpy(Bits.data() + Plane, XorPlane, Plane);
  HBITMAP Mask = CreateBitmap(Width, 2 * Height, 1, 1, Bits.data());
  return NewIcon(nullptr, Mask, false, XHotspot, YHotspot);
}

HCURSOR SetCursor(HCURSOR Cursor) {
  TCursorState& S = GCursor;
  const HCURSOR Old = S.Current;
  if (Cursor != nullptr && !IsIconHandle(Cursor)) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return Old;
  }
  S.Current = Cursor;
  Present();
  return Old;
}

HCURSOR GetCursor() {
  return GCursor.Current;
}

Integer ShowCursor(BOOL Show) {
  GCursor.ShowCount += Show ? 1 : -1;
  Present();
  return GCursor.ShowCount;
}

LRESULT DefSetCursor(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const auto Hit = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam)));
  const UINT MouseMsg = HIWORD(static_cast<std::uintptr_t>(LParam));
  // A child lets its parent decide first, except on its own sizing border.
  if ((W->Style & WS_CHILD) && W->Parent != nullptr && W->Parent->Parent != nullptr &&
      !(Hit >= HTSIZEFIRST && Hit <= HTSIZELAST)) {
    const HWND H = W->Handle;
    if (SendTo(W->Parent, Msg, WParam, LParam)) return TRUE;
    if ((W = PeekWindow(H)) == nullptr) return FALSE;
  }
  LPCSTR Standard = IDC_ARROW;
  switch (Hit) {
    case HTERROR:
      // A click on a window disabled by a modal window brings that window forward.
      if (IsButtonDownMessage(MouseMsg)) {
        MessageBeep(0);
        if (TWindow* Under = PeekWindow(reinterpret_cast<HWND>(WParam))) {
          TWindow* Top = TopLevelOf(Under);
          const HWND Popup = GetLastActivePopup(Top->Handle);
          if ((Top->Style & WS_DISABLED) && Popup != Top->Handle) SetActiveWindow(Popup);
        }
      }
      break;
    case HTCLIENT: {
      // The class cursor of the window under the mouse; without one the cursor stays.
      const TWindow* Under = PeekWindow(reinterpret_cast<HWND>(WParam));
      if (Under == nullptr) Under = W;
      if (Under->Class->Cursor == nullptr) return FALSE;
      SetCursor(Under->Class->Cursor);
      return TRUE;
    }
    case HTLEFT:
    case HTRIGHT:
      Standard = IDC_SIZEWE;
      break;
    case HTTOP:
    case HTBOTTOM:
      Standard = IDC_SIZENS;
      break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
    case HTGROWBOX:
      Standard = IDC_SIZENWSE;
      break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      Standard = IDC_SIZENESW;
      break;
    default:
      // Hit codes the platform does not know get no cursor from it.
      if (Hit < HTNOWHERE || Hit > HTHELP) return FALSE;
      break;
  }
  SetCursor(LoadCursor(nullptr, Standard));
  return TRUE;
}
