// The image menu component and its items: opening the palette and the events of a choice.
#include "skin/form/bsSkinImagesMenu.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/ImgList.h"
#include "platform/user/User.h"
#include "skin/form/bsSkinHint.h"

void TbsImagesMenuItem::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TbsImagesMenuItem*>(Source);
  if (Other == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  FImageIndex = Other->FImageIndex;
  FCaption = Other->FCaption;
  Button = Other->Button;
  Hint = Other->Hint;
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AOwner)
    : TCollection(&CreateCollectionItem<TbsImagesMenuItem>), FOwner(AOwner) {}

TPersistent* TbsImagesMenuItems::GetOwner() {
  return FOwner;
}

TbsSkinImagesMenu::TbsSkinImagesMenu(TComponent* AOwner)
    : TComponent(AOwner),
      FImagesItems(std::make_unique<TbsImagesMenuItems>(this)),
      FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetStyle(TFontStyles{});
}

TbsSkinImagesMenu::~TbsSkinImagesMenu() {
  TbsSkinImagesMenuPopupWindow* Open = PopupWindow;
  PopupWindow = nullptr;
  if (Open != nullptr) {
    // The palette goes without its events; the application's messages and the mouse are freed.
    Application->RemoveMessageFilter(TMessageEvent(Open, &TbsSkinImagesMenuPopupWindow::AppMessage));
    if (Open->HandleAllocated() && GetCapture() == Open->GetWindowHandle()) ReleaseCapture();
    delete Open;
  }
  FreeClosedWindow();
}

void TbsSkinImagesMenu::Watch(TComponent* Old, TComponent* New) {
  if (Old != nullptr) Old->RemoveFreeNotification(this);
  if (New != nullptr) New->FreeNotification(this);
}

void TbsSkinImagesMenu::SetImages(TCustomImageList* Value) {
  Watch(FImages, Value);
  FImages = Value;
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value) {
  Watch(FSkinData, Value);
  FSkinData = Value;
}

void TbsSkinImagesMenu::SetSkinHint(TbsSkinHint* Value) {
  Watch(FSkinHint, Value);
  FSkinHint = Value;
}

void TbsSkinImagesMenu::SetImagesItems(TbsImagesMenuItems* Value) {
  FImagesItems->Assign(Value);
}

void TbsSkinImagesMenu::SetColumnsCount(Integer Value) {
  if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

void TbsSkinImagesMenu::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
}

void TbsSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FSkinData) FSkinData = nullptr;
  if (AComponent == FSkinHint) FSkinHint = nullptr;
}

TbsImagesMenuItem* TbsSkinImagesMenu::GetSelectedItem() const {
  if (FItemIndex < 0 || FItemIndex >= FImagesItems->GetCount()) return nullptr;
  return FImagesItems->GetItem(FItemIndex);
}

void TbsSkinImagesMenu::FreeClosedWindow() {
  TbsSkinImagesMenuPopupWindow* W = FClosedWindow;
  FClosedWindow = nullptr;
  delete W;
}

void TbsSkinImagesMenu::PopupUnderRect(const TRect& R) {
  if (PopupWindow != nullptr) PopupWindow->Hide(false);
  FreeClosedWindow();
  if (OnMenuPopup) OnMenuPopup(this);
  // Without images, or without a single item to size the window from, nothing opens.
  if (FImages == nullptr || FImages->GetCount() == 0 || FImagesItems->GetCount() == 0) return;
  OldItemIndex = FItemIndex;
  PopupWindow = new TbsSkinImagesMenuPopupWindow(this);
  PopupWindow->Show(R);
}

void TbsSkinImagesMenu::ClosePopup(bool Execute) {
  // The window is inside its own handler here: it is freed at the next popup or with the menu.
  FreeClosedWindow();
  FClosedWindow = PopupWindow;
  PopupWindow = nullptr;
  if (OnInternalMenuClose) OnInternalMenuClose(this);
  if (OnMenuClose) OnMenuClose(this);
  if (!Execute || FItemIndex == -1) return;
  if (TbsImagesMenuItem* Item = GetSelectedItem(); Item != nullptr && Item->OnClick) Item->OnClick(this);
  if (OnItemClick) OnItemClick(this);
  if (FItemIndex != OldItemIndex) {
    if (OnInternalChange) OnInternalChange(this);
    if (OnChange) OnChange(this);
  }
}
