// The main window as the host of the pattern generators and the drawing square.
#include <cassert>

#include "app/Main.h"
#include "app/PatternHost.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "raster/RS32_Image.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
TPatternHost* InstalledHost = nullptr;
}  // namespace

TPatternHost& PatternHost() {
  // Form1 is the main window from its creation to its destruction.
  TPatternHost* Host = InstalledHost != nullptr ? InstalledHost : Form1;
  assert(Host != nullptr);
  return *Host;
}

void SetPatternHost(TPatternHost* Host) {
  InstalledHost = Host;
}

Integer TForm1::ParamPosition(Integer Index) const {
  return ParamValue(Index);
}

Integer TForm1::ParamMinimum(Integer Index) const {
  return TrackBarP[Index - 1]->GetMinValue();
}

Integer TForm1::ParamMaximum(Integer Index) const {
  return TrackBarP[Index - 1]->GetMaxValue();
}

Integer TForm1::PenWidth() const {
  return LineWidth();
}

Single TForm1::PatternColorMode() const {
  return ColorMode();
}

bool TForm1::PatternColorsOn() const {
  return PatternColors->GetChecked();
}

bool TForm1::GlassOn() const {
  return GlassFX->GetChecked();
}

bool TForm1::KeepShapeOn() const {
  return KeepShape->GetChecked();
}

Integer TForm1::Multiplier() const {
  return static_cast<Integer>(Round(MultSpin->GetValue()));
}

Integer TForm1::KaleidoImages() const {
  // Kal2x, Kal4x and Kal8x are one radio group; with none checked the stroke takes four images.
  if (Kal8x->GetChecked()) return 8;
  return Kal2x->GetChecked() ? 2 : 4;
}

bool TForm1::PictureAreaOn() const {
  return ShowPictArea->GetChecked();
}

void TForm1::LetMessagesRun() {
  PumpMessages();
}

void TForm1::ShowStatusText(const std::string& Text) {
  SetStatusText(Text);
}

void TForm1::SetProgressLimit(Integer Value) {
  SetProgressMax(Value);
}

void TForm1::ShowProgress(Integer Value) {
  SetProgress(Value);
}

void TForm1::ShowCoverage(const std::string& Text) {
  LabelP[1]->SetCaption(Text);
}

void TForm1::GlassCell(TBitmap* Bitmap, Integer X, Integer Y, Integer R, TColor Color) {
  GlassSquare(Bitmap, X, Y, R, Color);
}

void TForm1::ResetDrawingPanel() {
  KaleidoPattern->SetChecked(true);
  KaleidoColors->SetEnabled(false);
}

void TForm1::ShowPicture(TBitmap* Picture) {
  Image1->GetBitmap()->Assign(Picture);
}
