// The skinned form's frame objects: building them, enabling the caption commands, tracking the
// object under the mouse, routing the non-client mouse, timers and the form's activation.
#include "platform/classes/Application.h"
#include "platform/gdi/Regions.h"
#include "platform/user/User.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"

namespace {

bool InR(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

// A caption-command object: every std button (animated objects are not built here).
TbsSkinStdButtonObject* CommandObject(TbsActiveSkinObject* O) {
  return dynamic_cast<TbsSkinStdButtonObject*>(O);
}

}  // namespace

void TbsSkinForm::FreeObjects() {
  FObjects.clear();
  FHoverIndex = FOldHoverIndex = FPressedIndex = -1;
}

void TbsSkinForm::CreateSkinObjects() {
  FreeObjects();
  if (!SkinReady()) return;
  for (const auto& Rec : FSD->SkinObjects) {
    TbsDataSkinObject* D = Rec.get();
    // Menu item records belong to the menus; stdbutton is tested before its base, button.
    if (dynamic_cast<TbsDataSkinMainMenuItem*>(D) != nullptr ||
        dynamic_cast<TbsDataSkinMenuItem*>(D) != nullptr ||
        dynamic_cast<TbsDataSkinMainMenuBarButton*>(D) != nullptr)
      continue;
    std::unique_ptr<TbsActiveSkinObject> O;
    if (dynamic_cast<TbsDataSkinStdButton*>(D) != nullptr)
      O = std::make_unique<TbsSkinStdButtonObject>(this, D);
    else if (dynamic_cast<TbsDataSkinButton*>(D) != nullptr)
      O = std::make_unique<TbsSkinButtonObject>(this, D);
    else if (dynamic_cast<TbsDataSkinCaption*>(D) != nullptr)
      O = std::make_unique<TbsSkinCaptionObject>(this, D);
    else if (dynamic_cast<TbsDataUserObject*>(D) != nullptr)
      O = std::make_unique<TbsUserObject>(this, D);
    // Animated objects are not offered by this library yet: their records make nothing.
    if (O) FObjects.push_back(std::move(O));
  }
}

void TbsSkinForm::CreateDefaultObjects() {
  FreeObjects();
  static const struct {
    const char* Name;
    Byte Command;
  } Defaults[] = {{"closebutton", 0},  {"maxbutton", 1},     {"minbutton", 2},
                  {"rollupbutton", 5}, {"sysmenubutton", 3}, {"traybutton", 6}};
  for (const auto& D : Defaults) {
    auto B = std::make_unique<TbsSkinStdButtonObject>(this, nullptr);
    B->IDName = D.Name;
    B->Command = D.Command;
    B->SkinRectInAPicture = true;
    B->SkinRect = B->ActiveSkinRect = B->DownRect = Rect(0, 0, 1, 1);
    FObjects.push_back(std::move(B));
  }
  UpdateCaptionButtons();
}

TbsActiveSkinObject* TbsSkinForm::FindObject(const std::string& IDName) const {
  for (const auto& O : FObjects)
    if (O->IDName == IDName) return O.get();
  return nullptr;
}

void TbsSkinForm::ResetObjectStates() {
  for (const auto& O : FObjects) {
    if (dynamic_cast<TbsSkinCaptionObject*>(O.get()) != nullptr) continue;
    O->Active = false;
    O->MouseOver = false;
    O->MorphFactor = 0;
  }
}

void TbsSkinForm::UpdateCaptionButtons() {
  using B = TbsBorderIcon;
  for (const auto& O : FObjects) {
    TbsSkinStdButtonObject* S = CommandObject(O.get());
    if (S == nullptr) continue;
    if (HideCaptionButtons) {
      S->Enabled = false;
      S->Visible = !S->SkinRectInAPicture;
      continue;
    }
    if (S->Command == 4) {
      bool ObjectVisible = false;
      if (OnActivateCustomObject) OnActivateCustomObject(S->IDName, ObjectVisible);
      S->Visible = ObjectVisible;
      continue;
    }
    switch (S->Command) {
      case 1:
        S->Enabled = FBorderIcons.Contains(B::biMaximize);
        break;
      case 2:
        S->Enabled = FBorderIcons.Contains(B::biMinimize);
        break;
      case 3:
        S->Enabled = FBorderIcons.Contains(B::biSystemMenu) && !DisableSystemMenu;
        break;
      case 5:
        S->Enabled = FBorderIcons.Contains(B::biRollUp);
        break;
      case 6:
        S->Enabled = FBorderIcons.Contains(B::biMinimizeToTray);
        break;
      default:
        break;
    }
    S->Visible = S->SkinRectInAPicture ? S->Enabled : true;
  }
  UpdateObjectHints();
}

void TbsSkinForm::UpdateObjectHints() {
  if (!UseDefaultObjectHint || FSD == nullptr) return;
  static const struct {
    const char* Key;
    const char* Text;
  } Hints[] = {{"CLOSEBUTTON_HINT", "Close"},
               {"MAXBUTTON_HINT", "Maximize"},
               {"MINBUTTON_HINT", "Minimize"},
               {"MENUBUTTON_HINT", "System menu"},
               {nullptr, nullptr},
               {"ROLLUPBUTTON_HINT", "Roll Up"},
               {"TRAYBUTTON_HINT", "Minimize to Tray"}};
  for (const auto& O : FObjects) {
    TbsSkinStdButtonObject* S = CommandObject(O.get());
    if (S == nullptr || S->Command > 6 || S->Command == 4) continue;
    S->Hint = ResString(Hints[S->Command].Key, Hints[S->Command].Text);
    S->NormalHint = S->Hint;
    S->RestoreHint = ResString("RESTORE_HINT", "Restore");
  }
}

std::string TbsSkinForm::ResString(const std::string& Key, const std::string& Default) const {
  if (FSD == nullptr || FSD->GetResourceStrData() == nullptr) return Default;
  const std::string S = FSD->GetResourceStrData()->LookupResString(Key);
  return S.empty() ? Default : S;
}

// ---- Tracking -------------------------------------------------------------------------------

void TbsSkinForm::TestActive(Integer X, Integer Y, bool Track) {
  if (FObjects.empty() || !IsFormActive() || FInSizeMove || FLayerDragging || NoBorder()) return;
  FOldHoverIndex = FHoverIndex;
  Integer Candidate = -1;
  for (Integer I = 0; I < static_cast<Integer>(FObjects.size()); ++I) {
    TbsActiveSkinObject* O = FObjects[static_cast<std::size_t>(I)].get();
    if (O->Enabled && O->Visible && InR(O->ObjectRect, X, Y) &&
        O->HitTest(X - O->ObjectRect.Left, Y - O->ObjectRect.Top)) {
      Candidate = I;
      break;
    }
  }
  FHoverIndex = Track ? Candidate : -1;
  // While another object is held down nothing else lights up.
  if (FPressedIndex != -1 && FPressedIndex != FHoverIndex) FHoverIndex = -1;
  const Integer Count = static_cast<Integer>(FObjects.size());
  if (FOldHoverIndex >= Count) FOldHoverIndex = -1;
  if (FHoverIndex >= Count) FHoverIndex = -1;
  if (FHoverIndex == FOldHoverIndex) return;
  if (FOldHoverIndex != -1) {
    TbsActiveSkinObject* Old = FObjects[static_cast<std::size_t>(FOldHoverIndex)].get();
    if (Old->Enabled && Old->Visible) Old->MouseLeave();
  }
  if (FHoverIndex != -1) {
    TbsActiveSkinObject* New = FObjects[static_cast<std::size_t>(FHoverIndex)].get();
    if (New->Enabled && New->Visible) New->MouseEnter();
  }
}

void TbsSkinForm::HoverTimerTick(TObject*) {
  if (!IsFormActive()) return;
  TPoint C;
  GetCursorPos(&C);
  const HWND Under = WindowFromPoint(C);
  if (!FForm->HandleAllocated() || Under != FForm->GetHandle()) {
    FHoverTimer->SetEnabled(false);
    TestActive(-1, -1, false);
    return;
  }
  if (FInSizeMove || FLayerDragging) {
    FHoverTimer->SetEnabled(false);
    return;
  }
  const TPoint P = ScreenToFrame(C);
  const TRect Client =
      FSkinApplied ? FClientRect
                   : Rect(3, GetDefaultCaptionHeight() + 3, FForm->GetWidth() - 3, FForm->GetHeight() - 3);
  if (!InR(Client, P.X, P.Y))
    TestActive(P.X, P.Y, true);
  else if (FHoverIndex != -1)
    TestActive(-1, -1, true);
}

void TbsSkinForm::StartHoverTimer() {
  if (!FHoverTimer->GetEnabled()) FHoverTimer->SetEnabled(true);
}

void TbsSkinForm::StartMorphTimer() {
  if (!FMorphTimer->GetEnabled()) FMorphTimer->SetEnabled(true);
}

void TbsSkinForm::StartAnimateTimer() {
  if (!FAnimateTimer->GetEnabled()) FAnimateTimer->SetEnabled(true);
}

void TbsSkinForm::StopTimers() {
  FHoverTimer->SetEnabled(false);
  FMorphTimer->SetEnabled(false);
  FAnimateTimer->SetEnabled(false);
}

void TbsSkinForm::MorphTimerTick(TObject*) {
  bool Any = false;
  for (Integer I = 0; I < static_cast<Integer>(FObjects.size()); ++I) {
    TbsActiveSkinObject* O = FObjects[static_cast<std::size_t>(I)].get();
    if (O->CanMorph() && O->MorphPending()) {
      O->MorphStep();
      Any = true;
    }
  }
  if (!Any) FMorphTimer->SetEnabled(false);
}

void TbsSkinForm::AnimateTimerTick(TObject*) {
  bool Any = false;
  for (Integer I = 0; I < static_cast<Integer>(FObjects.size()); ++I)
    if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(FObjects[static_cast<std::size_t>(I)].get()))
      Any = C->AnimationTick() || Any;
  if (!Any) FAnimateTimer->SetEnabled(false);
}

// ---- Mouse routing --------------------------------------------------------------------------

void TbsSkinForm::ObjectsMouseMove(Integer X, Integer Y) {
  const Integer I = FPressedIndex != -1 ? FPressedIndex : FHoverIndex;
  if (I >= 0 && I < static_cast<Integer>(FObjects.size()))
    FObjects[static_cast<std::size_t>(I)]->MouseMove(X, Y);
}

void TbsSkinForm::ObjectsDblClick() {
  if (FHoverIndex >= 0 && FHoverIndex < static_cast<Integer>(FObjects.size()))
    FObjects[static_cast<std::size_t>(FHoverIndex)]->DblClick();
}

void TbsSkinForm::ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y) {
  if (FHoverIndex < 0 || FHoverIndex >= static_cast<Integer>(FObjects.size())) return;
  TbsActiveSkinObject* O = FObjects[static_cast<std::size_t>(FHoverIndex)].get();
  // A press on the caption leaves the mouse free, so that the window moves with it.
  if (dynamic_cast<TbsSkinCaptionObject*>(O) == nullptr && FForm->HandleAllocated())
    SetCapture(FForm->GetHandle());
  FPressedIndex = FHoverIndex;
  O->MouseDown(X, Y, Button);
}

void TbsSkinForm::ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y) {
  if (FPressedIndex < 0 || FPressedIndex >= static_cast<Integer>(FObjects.size())) return;
  TbsActiveSkinObject* O = FObjects[static_cast<std::size_t>(FPressedIndex)].get();
  if (dynamic_cast<TbsSkinCaptionObject*>(O) == nullptr && FForm->HandleAllocated() &&
      GetCapture() == FForm->GetHandle())
    ReleaseCapture();
  // The object may close the form: the index is cleared first.
  FPressedIndex = -1;
  O->MouseUp(X, Y, Button);
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* Object) {
  if (NoBorder() || !FForm->HandleAllocated() || !FSkinnable || !IsWindowVisible(FForm->GetHandle())) return;
  const HDC DC = GetWindowDC(FForm->GetHandle());
  if (DC == nullptr) return;
  {
    TCanvas C;
    TCanvasOnDC On(&C, DC);
    Object->Draw(&C, true);
  }
  ReleaseDC(FForm->GetHandle(), DC);
}

// ---- Events ---------------------------------------------------------------------------------

void TbsSkinForm::DoPaintEvent(const std::string& IDName, TCanvas* Canvas, TRect& R) {
  if (OnPaintEvent) OnPaintEvent(IDName, Canvas, R);
}
void TbsSkinForm::DoMouseDownEvent(const std::string& IDName, Integer X, Integer Y, TRect& R,
                                   TMouseButton B) {
  if (OnMouseDownEvent) OnMouseDownEvent(IDName, X, Y, R, B);
}
void TbsSkinForm::DoMouseUpEvent(const std::string& IDName, Integer X, Integer Y, TRect& R, TMouseButton B) {
  if (OnMouseUpEvent) OnMouseUpEvent(IDName, X, Y, R, B);
}
void TbsSkinForm::DoMouseMoveEvent(const std::string& IDName, Integer X, Integer Y, TRect& R) {
  if (OnMouseMoveEvent) OnMouseMoveEvent(IDName, X, Y, R);
}
void TbsSkinForm::DoMouseEnterEvent(const std::string& IDName) {
  if (OnMouseEnterEvent) OnMouseEnterEvent(IDName);
}
void TbsSkinForm::DoMouseLeaveEvent(const std::string& IDName) {
  if (OnMouseLeaveEvent) OnMouseLeaveEvent(IDName);
}

// ---- Activation -----------------------------------------------------------------------------

void TbsSkinForm::WMNCActivate(TMessage& Message) {
  FLayerDragging = false;
  CloseMenuChain();
  FActive = Message.WParam != 0;
  if (!FActive) TestActive(-1, -1, false);
  Message.Result = 1;
  if (NoBorder()) {
    SetCaptionActive(false);
    return;
  }
  RepaintFrame();
  SetCaptionActive(true);
}

void TbsSkinForm::SetCaptionActive(bool Animate) {
  const bool Now = IsFormActive();
  for (const auto& O : FObjects)
    if (auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get()); C != nullptr && C->Active != Now) {
      C->SetActive(Now, Animate);
      break;
    }
  if (Now) {
    if (OnActivate) OnActivate(this);
  } else if (OnDeActivate) {
    OnDeActivate(this);
  }
}
