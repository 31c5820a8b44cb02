// The skinned hint component: installs the skinned hint window in the application and runs
// the text hints of things that are not controls.
#include <algorithm>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/form/bsSkinHint.h"

namespace {

// Every live component, and what the application had before the first one installed itself.
std::vector<TbsSkinHint*>& LiveHints() {
  static std::vector<TbsSkinHint*> List;
  return List;
}
THintWindowClass SavedHintWindowClass = nullptr;
TShowHintEvent SavedShowHint;

// Makes the application build its hint window anew, leaving ShowHint as it was.
void RecreateApplicationHintWindow() {
  const bool Show = Application->GetShowHint();
  Application->SetShowHint(!Show);
  Application->SetShowHint(Show);
}

// Reads a control's hint title and image, when it is one of the skinned kinds.
template <class T>
bool TakeHintData(TControl* Control, TbsSkinHint* Hint) {
  auto* C = dynamic_cast<T*>(Control);
  if (C == nullptr) return false;
  Hint->HintTitle = C->GetHintTitle();
  Hint->HintImageIndex = C->GetHintImageIndex();
  Hint->HintImageList = C->GetHintImageList();
  return true;
}

}  // namespace

TbsSkinHint* FindActiveSkinHint() {
  TCustomForm* Main = Application != nullptr ? Application->GetMainForm() : nullptr;
  if (Main == nullptr) return nullptr;
  for (Integer I = 0; I < Main->GetComponentCount(); ++I) {
    auto* Hint = dynamic_cast<TbsSkinHint*>(Main->GetComponent(I));
    if (Hint != nullptr && Hint->GetActive()) return Hint;
  }
  return nullptr;
}

TbsSkinHint::TbsSkinHint(TComponent* AOwner) : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FHintWindow = new TbsSkinHintWindow(this);
  FHintWindow->SetVisible(false);
  if (Designing()) return;
  if (LiveHints().empty()) {
    SavedHintWindowClass = HintWindowClass;
    SavedShowHint = Application->OnShowHint;
  }
  LiveHints().push_back(this);
  HintWindowClass = &CreateHintWindowOf<TbsSkinHintWindow>;
  RecreateApplicationHintWindow();
  InstallHandler();
  Application->SetHintShortPause(100);
}

TbsSkinHint::~TbsSkinHint() {
  StopTimer();
  if (!Designing()) UninstallFromApplication();
}

void TbsSkinHint::UninstallFromApplication() {
  auto& Live = LiveHints();
  Live.erase(std::remove(Live.begin(), Live.end(), this), Live.end());
  const TShowHintEvent Own(this, &TbsSkinHint::ShowHintHandler);
  if (!Live.empty()) {
    // Another skinned hint stays: it takes the handler over, the window class stays.
    if (Application->OnShowHint == Own) {
      TbsSkinHint* Next = Live.front();
      for (TbsSkinHint* H : Live)
        if (H->GetActive()) {
          Next = H;
          break;
        }
      Application->OnShowHint = TShowHintEvent(Next, &TbsSkinHint::ShowHintHandler);
    }
    return;
  }
  if (Application->OnShowHint == Own) Application->OnShowHint = SavedShowHint;
  SavedShowHint = TShowHintEvent();
  if (HintWindowClass == &CreateHintWindowOf<TbsSkinHintWindow>) {
    HintWindowClass = SavedHintWindowClass;
    RecreateApplicationHintWindow();
  }
  SavedHintWindowClass = nullptr;
}

void TbsSkinHint::InstallHandler() {
  Application->OnShowHint = TShowHintEvent(this, &TbsSkinHint::ShowHintHandler);
}

void TbsSkinHint::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  TCustomForm* Main = Application != nullptr ? Application->GetMainForm() : nullptr;
  if (Main != nullptr)
    for (Integer I = 0; I < Main->GetComponentCount(); ++I) {
      auto* Other = dynamic_cast<TbsSkinHint*>(Main->GetComponent(I));
      if (Other != nullptr && Other != this && Other->GetActive()) Other->SetActive(false);
    }
  if (!Designing()) InstallHandler();
}

void TbsSkinHint::SetSkinData(TbsSkinData* Value) {
  if (FSkinData == Value) return;
  if (FSkinData != nullptr) FSkinData->RemoveFreeNotification(this);
  FSkinData = Value;
  if (FSkinData != nullptr) FSkinData->FreeNotification(this);
}

void TbsSkinHint::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
}

void TbsSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinData) FSkinData = nullptr;
}

bool TbsSkinHint::SkinInUse() const {
  if (FSkinData == nullptr || FSkinData->Empty) return false;
  const Integer I = FSkinData->HintWindow->WindowPictureIndex;
  return I >= 0 && I < static_cast<Integer>(FSkinData->ActivePictures.size());
}

void TbsSkinHint::ClearHintData() {
  HintTitle.clear();
  HintImageIndex = 0;
  HintImageList = nullptr;
}

void TbsSkinHint::ShowHintHandler(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
  ClearHintData();
  if (!TakeHintData<TbsSkinControl>(HintInfo.HintControl, this))
    TakeHintData<TbsGraphicSkinControl>(HintInfo.HintControl, this);
  if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TbsSkinHint::StartTimer(Cardinal Interval, void (TbsSkinHint::*Tick)(TObject*)) {
  StopTimer();
  FHintTimer = new TTimer(this);
  FHintTimer->SetInterval(Interval);
  FHintTimer->SetOnTimer(TNotifyEvent(this, Tick));
}

void TbsSkinHint::StopTimer() {
  TTimer* T = FHintTimer;
  FHintTimer = nullptr;
  delete T;
}

void TbsSkinHint::ShowHintText(const std::string& Text) {
  StopTimer();
  HintText = Text;
  ClearHintData();
  StartTimer(static_cast<Cardinal>(Application->GetHintPause()), &TbsSkinHint::ShowTimerTick);
}

void TbsSkinHint::ShowTimerTick(TObject*) {
  POINT P{0, 0};
  GetCursorPos(&P);
  P.Y += GetCursorHeightMargin();
  FHintWindow->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), HintText);
  FHintWindow->SetVisible(true);
  // The timer runs this very handler: it is re-armed, not freed.
  FHintTimer->SetInterval(static_cast<Cardinal>(Application->GetHintHidePause()));
  FHintTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinHint::HideTimerTick));
}

void TbsSkinHint::HideTimerTick(TObject*) {
  // The timer is inside its own tick here: it stops now and is freed with the next hint.
  FHintTimer->SetEnabled(false);
  HideWindow();
}

void TbsSkinHint::HideHint() {
  StopTimer();
  HideWindow();
}

void TbsSkinHint::HideWindow() {
  if (!FHintWindow->GetVisible()) return;
  FHintWindow->SetVisible(false);
  if (FHintWindow->HandleAllocated())
    SetWindowPos(FHintWindow->GetWindowHandle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  ClearHintData();
}

Integer TbsSkinHint::GetCursorHeightMargin() {
  ICONINFO Info;
  if (!GetIconInfo(GetCursor(), &Info)) return GetSystemMetrics(SM_CYCURSOR);
  Integer Result = GetSystemMetrics(SM_CYCURSOR);
  BITMAP Bm{};
  if (Info.hbmMask != nullptr && GetObject(Info.hbmMask, sizeof(Bm), &Bm) == sizeof(Bm) &&
      Bm.bmBitsPixel == 1 && Bm.bmPlanes == 1 && Bm.bmWidthBytes > 0) {
    const Integer Stride = Bm.bmWidthBytes;
    std::vector<Byte> Bits(static_cast<size_t>(Stride) * static_cast<size_t>(Bm.bmHeight));
    if (GetBitmapBits(Info.hbmMask, static_cast<LONG>(Bits.size()), Bits.data()) > 0) {
      // The last row the shape reaches: the mask area's last byte that is not white, or, when
      // that area is blank and a second half lies before it, that half's last byte not black.
      const bool TwoHalves = Bm.bmHeight >= 2 * Bm.bmWidth;
      const Integer AreaRows = TwoHalves ? Bm.bmHeight / 2 : Bm.bmHeight;
      const Integer AreaBytes = AreaRows * Stride;
      const Integer AreaStart = static_cast<Integer>(Bits.size()) - AreaBytes;
      Integer Last = -1;
      for (Integer I = AreaBytes; I-- > 0;)
        if (Bits[static_cast<size_t>(AreaStart + I)] != 0xFF) {
          Last = I;
          break;
        }
      if (Last < 0 && TwoHalves)
        for (Integer I = AreaStart; I-- > 0;)
          if (Bits[static_cast<size_t>(I)] != 0) {
            Last = I % AreaBytes;
            break;
          }
      if (Last >= 0) Result = Last / Stride + 1 - static_cast<Integer>(Info.yHotspot);
    }
  }
  if (Info.hbmMask != nullptr) DeleteObject(Info.hbmMask);
  if (Info.hbmColor != nullptr) DeleteObject(Info.hbmColor);
  return Result;
}
