// The view's playback messages: the playback object in lParam posted them.
#include "imaging/io/ieds.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/zezudidview.h"

void TZezudIdView::IEMNewFrame(TMessage& Message) {
  auto* DShow = reinterpret_cast<TIEDirectShow*>(Message.LParam);
  if (!DShow) return;
  // Frames that arrive while the handler runs are dropped rather than queued behind it.
  DShow->NewFrameNotify.store(0);
  if (DShow->Connected() && OnDShowNewFrame) OnDShowNewFrame(this);
  DShow->NewFrameNotify.store(1);
}

void TZezudIdView::IEMEvent(TMessage& Message) {
  auto* DShow = reinterpret_cast<TIEDirectShow*>(Message.LParam);
  if (DShow && DShow->Connected() && OnDShowEvent) OnDShowEvent(this);
}

void TZezudIdView::CreateWnd() {
  TIEView::CreateWnd();
  // Frames and events of a playing movie follow the view to its new window.
  if (FIO) FIO->UpdateDShowNotifyWindow();
}
