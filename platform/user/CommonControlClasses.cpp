// Registration of the buttons, statics, scroll bars and common controls.
#include "platform/user/CommonControls.h"
#include "platform/user/ImageLists.h"

TImageListCalls ImageListCalls{&ImageList_GetIconSize, &ImageList_Draw};

void RegisterCommonControlClasses() {
  RegisterButtonClass();
  RegisterStaticClass();
  RegisterScrollBarClass();
  RegisterTrackBarClass();
  RegisterProgressClass();
  RegisterTabControlClass();
  RegisterUpDownClass();
  RegisterHeaderClass();
  RegisterListViewClass();
  RegisterTreeViewClass();
}

void InitCommonControls() {
  RegisterTrackBarClass();
  RegisterProgressClass();
  RegisterTabControlClass();
  RegisterUpDownClass();
  RegisterHeaderClass();
  RegisterListViewClass();
  RegisterTreeViewClass();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* Init) {
  if (Init == nullptr || Init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  if (Init->dwICC & ICC_BAR_CLASSES) RegisterTrackBarClass();
  if (Init->dwICC & ICC_PROGRESS_CLASS) RegisterProgressClass();
  if (Init->dwICC & ICC_TAB_CLASSES) RegisterTabControlClass();
  if (Init->dwICC & ICC_UPDOWN_CLASS) RegisterUpDownClass();
  if (Init->dwICC & ICC_LISTVIEW_CLASSES) {
    RegisterHeaderClass();
    RegisterListViewClass();
  }
  if (Init->dwICC & ICC_TREEVIEW_CLASSES) RegisterTreeViewClass();
  if (Init->dwICC & ICC_STANDARD_CLASSES) {
    RegisterButtonClass();
    RegisterStaticClass();
    RegisterScrollBarClass();
  }
  return TRUE;
}
