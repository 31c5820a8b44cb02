// Control canvases, TCustomControl and TGraphicControl.
#include <algorithm>
#include <vector>

#include "platform/classes/Controls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/WindowPaint.h"

namespace {

// Canvases holding a window DC they made; given back after each message (or when more than
// a few are held).
std::vector<TControlCanvas*>& CanvasList() {
  static std::vector<TControlCanvas*> List;
  return List;
}
constexpr std::size_t CanvasListCacheSize = 4;

}  // namespace

// ---- TControlCanvas ---------------------------------------------------------------------------

TControlCanvas::~TControlCanvas() {
  FreeHandle();
}

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle() {
  if (FControl == nullptr) {
    TCanvas::CreateHandle();
    return;
  }
  if (FDeviceContext == nullptr) {
    auto& List = CanvasList();
    if (List.size() >= CanvasListCacheSize) {
      TControlCanvas* Oldest = List.front();
      if (Oldest->GetLockCount() == 0) Oldest->FreeHandle();
    }
    FDeviceContext = FControl->GetDeviceContext(FWindowHandle);
    List.push_back(this);
  }
  SetHandle(FDeviceContext);
  UpdateTextFlags();
}

void TControlCanvas::FreeHandle() {
  if (FDeviceContext == nullptr) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  auto& List = CanvasList();
  List.erase(std::remove(List.begin(), List.end(), this), List.end());
}

void TControlCanvas::UpdateTextFlags() {}

void FreeDeviceContexts() {
  auto& List = CanvasList();
  if (List.empty()) return;
  for (TControlCanvas* Canvas : std::vector<TControlCanvas*>(List))
    if (Canvas->GetLockCount() == 0) Canvas->FreeHandle();
}

// ---- TCustomControl ---------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
  Destroying();
  // The window goes before the canvas: the last messages must not paint on a freed canvas.
  if (HandleAllocated()) DestroyHandle();
}

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT)
    WMPaint(Message);
  else
    TWinControl::Dispatch(Message);
}

void TCustomControl::WMPaint(TMessage& Message) {
  FControlState.Include(csCustomPaint);
  TWinControl::WMPaint(Message);
  FControlState.Exclude(csCustomPaint);
}

void TCustomControl::PaintWindow(HDC DC) {
  const TCanvasOnDC OnDC(FCanvas.get(), DC);
  FCanvas->UpdateTextFlags();
  Paint();
}

// ---- TGraphicControl ----------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() {
  Destroying();
  FCanvas->FreeHandle();
}

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT)
    WMPaint(Message);
  else
    TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message) {
  if (Message.WParam == 0 || GetComponentState().Contains(csDestroying)) return;
  const TCanvasOnDC OnDC(FCanvas.get(), reinterpret_cast<HDC>(Message.WParam));
  Paint();
}
