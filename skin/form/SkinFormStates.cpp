// The skinned form's own window states (normal, minimized, maximized), roll-up, the caption
// commands and the system menu.
#include "platform/classes/Application.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/Regions.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"

namespace {

bool EmptyR(const TRect& R) {
  return R.Width() <= 0 || R.Height() <= 0;
}

TRect BoundsOf(TCustomForm* F) {
  return Rect(F->GetLeft(), F->GetTop(), F->GetLeft() + F->GetWidth(), F->GetTop() + F->GetHeight());
}

void SetBoundsRect(TCustomForm* F, const TRect& R) {
  F->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

}  // namespace

void TbsSkinForm::SetSkinWindowState(TWindowState Value) {
  if (!FSkinnable) {
    FForm->SetWindowState(Value);
    return;
  }
  const Integer New = Value == wsMaximized ? 2 : Value == wsMinimized ? 1 : 0;
  if (New == FSkinWindowState) return;
  const Integer Old = FSkinWindowState;
  // The main form minimizes the application and keeps its state.
  if (!(New == 1 && Application->GetMainForm() == FForm)) FSkinWindowState = New;
  if (New == 0) {
    if (Old == 2 && FRolledUp && !FRolledUpBeforeMaximize) SetRollUpState(false);
    FRolledUpBeforeMaximize = false;
    DoRestore();
  } else if (New == 1) {
    DoMinimize();
  } else {
    FRolledUpBeforeMaximize = FRolledUp;
    DoMaximize();
  }
}

TPoint TbsSkinForm::GetMinimizedPos() {
  const Integer W = GetMinWidth(), H = GetMinHeight();
  TRect Area;
  GetMonitorRect(FForm->HandleAllocated() ? FForm->GetHandle() : nullptr, true, Area);
  Integer X = Area.Left, Y = Area.Bottom - H;
  auto Taken = [&]() {
    if (Screen == nullptr) return false;
    for (Integer I = 0; I < Screen->GetFormCount(); ++I) {
      TCustomForm* F = Screen->GetForm(I);
      if (F == FForm || F == Application->GetMainForm() || !F->GetVisible()) continue;
      TbsSkinForm* S = FindSkinForm(F);
      if (S != nullptr && S->GetWindowState() == wsMinimized && F->GetLeft() == X && F->GetTop() == Y)
        return true;
    }
    return false;
  };
  while (Taken()) {
    X += W;
    if (X + W > Area.Right) {
      X = Area.Left;
      Y -= H;
    }
    if (Y < Area.Top) {
      Y = Area.Bottom - H;
      break;
    }
  }
  return Point(X, Y);
}

void TbsSkinForm::DoMinimize() {
  if (Application->GetMainForm() == FForm) {
    Application->Minimize();
  } else {
    if (EmptyR(FRestoreRect)) FRestoreRect = BoundsOf(FForm);
    const TPoint P = GetMinimizedPos();
    FForm->SetBounds(P.X, P.Y, GetMinWidth(), GetMinHeight());
  }
  if (OnMinimize) OnMinimize(this);
}

void TbsSkinForm::DoMaximize() {
  if (EmptyR(FRestoreRect)) FRestoreRect = BoundsOf(FForm);
  TRect Area, Whole;
  const HWND H = FForm->HandleAllocated() ? FForm->GetHandle() : nullptr;
  GetMonitorRect(H, !MaximizeOnFullScreen, Area);
  if (!MaximizeOnFullScreen) {
    GetMonitorRect(H, false, Whole);
    const Integer SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
    // Without a task bar the area keeps a pixel free on every side.
    if (Area == Whole && Whole == Rect(0, 0, SW, SH)) Area = Rect(1, 1, SW - 1, SH - 1);
  }
  SetBoundsRect(FForm, Area);
  if (FStatusBar != nullptr && FStatusBar->GetSizeGrip()) FStatusBar->SetShowGrip(false);
  if (OnMaximize) OnMaximize(this);
}

void TbsSkinForm::DoRestore() {
  FRolledUpMaximized = false;
  const Integer OldW = FForm->GetWidth(), OldH = FForm->GetHeight();
  if (!EmptyR(FRestoreRect)) {
    if (FPositionPending) {
      FPositionPending = false;
      const TPoint P = GetMonitorCenteredPos(FRestoreRect.Left, FRestoreRect.Top, FRestoreRect.Width(),
                                             FRestoreRect.Height());
      FForm->SetBounds(P.X, P.Y, FRestoreRect.Width(), FRestoreRect.Height());
    } else {
      SetBoundsRect(FForm, FRestoreRect);
    }
  }
  StartHoverTimer();
  if (FForm->GetWidth() == OldW && FForm->GetHeight() == OldH) NudgeWidth();
  Repaint();
  FRestoreRect = TRect();
  if (FStatusBar != nullptr && FStatusBar->GetSizeGrip()) FStatusBar->SetShowGrip(true);
  if (OnRestore) OnRestore(this);
}

void TbsSkinForm::SetRollUpState(bool Value) {
  if (!FBorderIcons.Contains(TbsBorderIcon::biRollUp) || FSkinWindowState == 1) return;
  if (FRolledUp && FSkinWindowState == 2 && !FRolledUpMaximized) return;
  if (FSkinWindowState == 2) FRolledUpMaximized = Value;
  FRolledUp = Value;
  if (Value) {
    FRollUpHeight = FForm->GetHeight();
    ShrinkToRollUpHeight();
  } else if (ClientHeight != 0) {
    FForm->SetClientHeight(ClientHeight);
  } else {
    FForm->SetHeight(FRollUpHeight);
  }
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinForm::ShrinkToRollUpHeight() {
  // GetMinHeight ignores MinHeight while rolled up: the form keeps only its caption.
  FForm->SetHeight(GetMinHeight());
}

void TbsSkinForm::CaptionDblClick() {
  const bool Sizeable = IsSizeable();
  if (Sizeable && FSkinWindowState == 1)
    SetWindowState(wsNormal);
  else if (Sizeable && FSkinWindowState != 2 && !FRolledUp &&
           FBorderIcons.Contains(TbsBorderIcon::biMaximize))
    SetWindowState(wsMaximized);
  else if (Sizeable && FSkinWindowState == 2 && !FRolledUpMaximized)
    SetWindowState(wsNormal);
  else
    SetRollUpState(!FRolledUp);
  FPressedIndex = -1;
}

// ---- Commands -------------------------------------------------------------------------------

void TbsSkinForm::MinimizeClick(TObject*) {
  if (AlwaysMinimizeToTray)
    MinimizeToTray();
  else
    SetWindowState(wsMinimized);
}

void TbsSkinForm::MaximizeClick(TObject*) {
  SetWindowState(wsMaximized);
}

void TbsSkinForm::RestoreClick(TObject*) {
  if (FRolledUpMaximized || (FRolledUp && FSkinWindowState == 0))
    SetRollUpState(false);
  else
    SetWindowState(wsNormal);
}

void TbsSkinForm::RollUpClick(TObject*) {
  SetRollUpState(true);
}

void TbsSkinForm::MinimizeToTrayClick(TObject*) {
  MinimizeToTray();
}

void TbsSkinForm::CloseClick(TObject*) {
  FForm->Close();
}

void TbsSkinForm::MinimizeToTray() {
  // The tray icon is not offered by this library yet: without one the command does nothing.
}

// ---- System menu ----------------------------------------------------------------------------

namespace {

struct TSystemItem {
  const char* Name;
  const char* Key;
  const char* Caption;
  void (TbsSkinForm::*Click)(TObject*);
};

const TSystemItem SystemItems[] = {
    {"BSF_MINITEM", "MI_MINCAPTION", "Mi&nimize", &TbsSkinForm::MinimizeClick},
    {"BSF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", &TbsSkinForm::MaximizeClick},
    {"BSF_RESTORE", "MI_RESTORECAPTION", "&Restore", &TbsSkinForm::RestoreClick},
    {"BSF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp", &TbsSkinForm::RollUpClick},
    {"BSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray", &TbsSkinForm::MinimizeToTrayClick},
    {"BSF_CLOSE", "MI_CLOSECAPTION", "&Close", &TbsSkinForm::CloseClick},
};

const TSystemItem& SystemItem(const std::string& Name) {
  for (const TSystemItem& I : SystemItems)
    if (Name == I.Name) return I;
  return SystemItems[5];
}

}  // namespace

bool TbsSkinForm::SystemItemPresent(const std::string& Name) {
  using B = TbsBorderIcon;
  if (Name == "BSF_MINITEM") return FBorderIcons.Contains(B::biMinimize) && FSkinWindowState != 1;
  if (Name == "BSF_MAXITEM") return FBorderIcons.Contains(B::biMaximize) && FSkinWindowState != 2;
  if (Name == "BSF_RESTORE") return FSkinWindowState != 0 || FRolledUp;
  if (Name == "BSF_ROLLUP") return FBorderIcons.Contains(B::biRollUp) && !FRolledUp && FSkinWindowState != 1;
  if (Name == "BSF_MINTOTRAY") return FBorderIcons.Contains(B::biMinimizeToTray);
  return true;
}

TMenuItem* TbsSkinForm::NewSystemItem(TComponent* Owner, const std::string& Name) {
  const TSystemItem& S = SystemItem(Name);
  auto* Item = new TMenuItem(Owner);
  Item->SetName(Name);
  Item->SetCaption(ResString(S.Key, S.Caption));
  Item->OnClick = TNotifyEvent(this, S.Click);
  if (Name == "BSF_CLOSE")
    Item->SetShortCut(TextToShortCut(FForm->GetFormStyle() == fsMDIChild ? "Ctrl+F4" : "Alt+F4"));
  return Item;
}

void TbsSkinForm::BuildDefaultSystemMenu() {
  TMenuItem* Items = FDefaultSystemMenu->GetItems();
  while (Items->GetCount() > 0) delete Items->GetItem(Items->GetCount() - 1);
  bool Any = false;
  for (const char* Name : {"BSF_MINITEM", "BSF_MAXITEM", "BSF_RESTORE", "BSF_ROLLUP", "BSF_MINTOTRAY"})
    if (SystemItemPresent(Name)) {
      Items->Add(NewSystemItem(FDefaultSystemMenu, Name));
      Any = true;
    }
  if (Any) {
    auto* Separator = new TMenuItem(FDefaultSystemMenu);
    Separator->SetCaption("-");
    Items->Add(Separator);
  }
  Items->Add(NewSystemItem(FDefaultSystemMenu, "BSF_CLOSE"));
}

void TbsSkinForm::UpdateUserSystemMenu() {
  if (!UseDefaultSysMenu || FSystemMenu == nullptr) return;
  TMenuItem* Items = FSystemMenu->GetItems();
  auto IsStandard = [](const std::string& Name) {
    for (const TSystemItem& I : SystemItems)
      if (Name == I.Name) return true;
    return false;
  };
  // Search again from the start after each removal, until none is left.
  for (bool Found = true; Found;) {
    Found = false;
    for (Integer I = 0; I < Items->GetCount(); ++I)
      if (IsStandard(Items->GetItem(I)->GetName())) {
        delete Items->GetItem(I);
        Found = true;
        break;
      }
  }
  for (const char* Name : {"BSF_MINTOTRAY", "BSF_ROLLUP", "BSF_MAXITEM", "BSF_RESTORE", "BSF_MINITEM"})
    if (SystemItemPresent(Name)) Items->Insert(0, NewSystemItem(FSystemMenu, Name));
  Items->Add(NewSystemItem(FSystemMenu, "BSF_CLOSE"));
}

TMenuItem* TbsSkinForm::GetSystemMenuItems() {
  if (FSystemMenu != nullptr) {
    UpdateUserSystemMenu();
    return FSystemMenu->GetItems();
  }
  BuildDefaultSystemMenu();
  return FDefaultSystemMenu->GetItems();
}

void TbsSkinForm::PopupSystemMenuAtPoint(Integer X, Integer Y) {
  PopupSystemMenuUnderRect(Rect(X, Y, X, Y));
}

void TbsSkinForm::PopupSystemMenuUnderRect(const TRect& R) {
  PopupObjectMenu(GetSystemMenuItems(), R, false);
}

void TbsSkinForm::PopupSystemMenuAtButton() {
  for (const auto& O : FObjects) {
    auto* B = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
    if (B != nullptr && B->Enabled && B->Command == 3) PopupSystemMenuUnderRect(FrameToScreen(B->ObjectRect));
  }
}
