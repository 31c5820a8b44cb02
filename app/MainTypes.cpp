// The pattern-type table and the handlers that tie the option controls to the build.
#include "app/Main.h"
#include "platform/classes/Application.h"
#include "platform/system/Format.h"
#include "skin/controls/bsSkinCtrls.h"

void TForm1::SelectType(TObject*) {}
void TForm1::SelectPatternFromMenu(TObject*) {}
void TForm1::ActivateShade(TObject*) {}
void TForm1::SetGlassFX(TObject*) {}
void TForm1::SelectOffsetMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer, TCustomLayer*) {}
void TForm1::ShowViewer(TObject*) {}

// ---- Control wiring --------------------------------------------------------------------------

void TForm1::UpdateChange(TObject*) {
  for (Integer I = 0; I < 6; ++I) {
    const Integer V = TrackBarP[I]->GetValue();
    ValueP[I]->SetCaption(Format("%d", {I == 1 && TrackBarP[I]->GetMaxValue() == 200 ? V - 100 : V}));
  }
  GlassLbl->SetCaption(Format("%d", {GlassBar->GetValue()}) + "%");
  BlendLbl->SetCaption(Format("%d", {BlendBar->GetValue()}));
  ClipLbl->SetCaption(Format("%d", {ClipBar->GetValue()}));
  PumpMessages();
}

void TForm1::ChangeControl(TObject* Sender) {
  UpdateChange(Sender);
  if (Busy == 0 && VideoMode == 0) CreateMosaic(Sender);
}

void TForm1::ChangePatternOptions(TObject*) {
  if (Busy == 0) CreateMosaic(nullptr);
}

void TForm1::ToggleAutomatic(TObject*) {
  const bool Each = Automatic->GetChecked();
  for (TbsSkinTrackBar* B : TrackBarP) {
    B->OnChange =
        Each ? TNotifyEvent(this, &TForm1::ChangeControl) : TNotifyEvent(this, &TForm1::UpdateChange);
    B->OnLastChange = Each ? TNotifyEvent() : TNotifyEvent(this, &TForm1::ChangeControl);
  }
}
