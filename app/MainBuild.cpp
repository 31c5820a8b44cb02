// The build: CreateMosaic drives the stages, ShowGrid runs the generator and the mesh stage,
// ResizeResult crops the square pattern to the picture's shape.
#include <cstring>

#include "app/CellFill.h"
#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/Patterns.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/JPEGImage.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "raster/RS32_Image.h"
#include "skin/controls/bsSkinCtrls.h"

void TForm1::CreateMosaic(TObject* Sender) {
  if (Ready != 1 || Busy == 1) return;
  if ((PatternType == ptKaleidoscope || PatternType == ptFreeDrawing) && Sender != UpdateBtn) return;
  // Unchecking runs the option handler, which builds once more before this build starts.
  if (WhiteGrid->GetChecked() && GridShow->GetChecked()) GridShow->SetChecked(false);
  Busy = 1;
  BuildRunning = 1;
  AbortRequested = 0;
  // However the build ends, the window is ready for the next one.
  const auto BackToIdle = ScopeExit([this] {
    if (VideoMode == 0) {
      UpdateBtn->SetCaption(InterfaceTexts[itUpdateBtn]);
      SetStatusText(VariableTexts[vtReady]);
      ShowMemoryStatus();
      UpdateBtn->OnClick = TNotifyEvent(this, &TForm1::CreateMosaic);
    }
    BuildRunning = 0;
    Busy = 0;
  });
  if (VideoMode == 0) {
    UpdateBtn->SetCaption(VariableTexts[vtCancel]);
    UpdateBtn->OnClick = TNotifyEvent(this, &TForm1::AbortCreate);
    PumpMessages();
  }
  if (PatternType == ptKaleidoscope || PatternType == ptFreeDrawing) {
    SubmitBitmap(UpdateBtn);
    KaleidoColors->SetChecked(true);
  }
  ShowGrid();
  if (!FrameOnly->GetChecked()) MatchColors(ResultBitmap.get());
  if (VideoMode == 0 || ShowPreview->GetChecked()) Image1->GetBitmap()->Assign(ResultBitmap.get());
  ResultJpeg->Assign(ResultBitmap.get());
  // A source smaller than two pixels leaves no result to save.
  const bool HasResult = ResultBitmap->GetWidth() > 0 && ResultBitmap->GetHeight() > 0;
  if (AutoSave->GetChecked() && HasResult) ResultJpeg->SaveToFile(ResultsDir + "/Result.jpg");
  if (VideoMode == 1) AppendVideoFrame();
}

void TForm1::AbortCreate(TObject*) {
  AbortRequested = 1;
  PumpMessages();
}

void TForm1::ShowGrid() {
  if (VideoMode == 0) ShowStatus(VariableTexts[vtCreatingGrid]);
  NodeCount = Max(CellsX + 1, CellsY + 1);
  PatternSize = GridPx * NodeCount;
  const Integer W = ResultBitmap->GetWidth(), H = ResultBitmap->GetHeight();
  OffsetX = static_cast<Integer>(Round(static_cast<Extended>(W * ParamValue(3)) / 100));
  OffsetY = -static_cast<Integer>(Round(static_cast<Extended>(H * ParamValue(4)) / 100));
  NodeX.Reset(NodeCount);
  NodeY.Reset(NodeCount);
  MeshCentreX.Reset(NodeCount);
  MeshCentreY.Reset(NodeCount);
  const bool Generated = RunGenerator(PatternType);
  // The square's marks are not needed again: the crop below would hold them beside two pictures.
  SharedCellFill().Release();
  if (!Generated) return;
  if (WhiteGrid->GetChecked() && PatternColors->GetChecked()) {
    const TBitmapRows Rows(ResultBitmap.get());
    for (Integer Y = 0; Y < Rows.Height; ++Y) {
      Byte* P = Rows[Y];
      for (Integer X = 0; X < Rows.Width; ++X, P += 3)
        if ((P[0] | P[1] | P[2]) == 0) P[0] = P[1] = P[2] = 255;
    }
  }
  ResizeResult(ResultBitmap.get());
  if (ApplyShade->GetChecked() && (PatternType == ptVerCylinder || PatternType == ptHorCylinder))
    TubeShading(ResultBitmap.get());
  SetProgress(0);
}

Single TForm1::WantedRatio() const {
  if (VideoMode == 1 && VideoHeight > 0)
    return static_cast<Single>(VideoWidth) / static_cast<Single>(VideoHeight);
  return static_cast<Single>(CellsX) / static_cast<Single>(CellsY);
}

void TForm1::ResizeResult(TBitmap* Bitmap) {
  if (VideoMode == 0) ShowStatus(VariableTexts[vtResizing]);
  const Single R = WantedRatio();
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  if (R < 1) {
    const Integer Kept = static_cast<Integer>(Round(static_cast<Extended>(H) * R));
    const Integer Left = static_cast<Integer>(Round(static_cast<Extended>(W) * (1 - R) / 2));
    CropRect = TRect{Left, 0, Left + Kept, H};
  } else {
    const Integer Kept = static_cast<Integer>(Round(static_cast<Extended>(W) / R));
    const Integer Top =
        static_cast<Integer>(Round(static_cast<Extended>(H) * (1 - 1 / static_cast<Extended>(R)) / 2));
    CropRect = TRect{0, Top, W, Top + Kept};
  }
  TBitmap Kept;
  Kept.SetPixelFormat(pf24bit);
  Kept.SetSize(CropRect.Width(), CropRect.Height());
  if (CropRect.Width() > 0 && CropRect.Height() > 0) {
    // A picture that is not square (a drawing, or none drawn this time) may end before the
    // rectangle does: that part stays white.
    const TBitmapRows From(Bitmap), To(&Kept);
    const Integer Left = Max(CropRect.Left, 0), Right = Min(CropRect.Right, W);
    for (Integer Y = Max(CropRect.Top, 0); Y < Min(CropRect.Bottom, H) && Left < Right; ++Y)
      std::memcpy(To[Y - CropRect.Top] + 3 * (Left - CropRect.Left), From[Y] + 3 * Left,
                  3 * static_cast<std::size_t>(Right - Left));
    Bitmap->SetHandle(Kept.ReleaseHandle());
  } else {
    Bitmap->SetSize(0, 0);
  }
  SetProgress(0);
}
