// Loading the source picture, the grid size and saving the result.
#include <initializer_list>

#include "app/BusyScope.h"
#include "app/ControlsQuietly.h"
#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/Patterns.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Screen.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "raster/RS32_Image.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

namespace {
// Cells across or down for a side of Size pixels: at least one.
Integer CellsFor(Integer Size) {
  return Max(static_cast<Integer>(Round(static_cast<Extended>(Size) / GridPx)) - 1, 1);
}

Integer RimFor(Integer Width, bool WithRim) {
  return WithRim ? static_cast<Integer>(Round(static_cast<Extended>(Width) / 15)) : 0;
}
}  // namespace

void TForm1::LoadPicture(TObject* Sender) {
  LoadSource(Sender);
}

void TForm1::PutBackSourceControls(TObject* Sender) {
  if (Sender == NoRim) SetCheckedQuietly(NoRim, !NoRim->GetChecked());
  if (Sender == MultSpin) SetValueQuietly(MultSpin, FSourceMult);
}

bool TForm1::LoadSource(TObject* Sender) {
  // Long work reads the source or replaces it: a load waits until it has ended, and the
  // control that asked shows again what is in use.
  if (Busy == 1) {
    PutBackSourceControls(Sender);
    return false;
  }
  const Integer Mult = static_cast<Integer>(Round(MultSpin->GetValue()));
  OpenPictureDialog->SetInitialDir(SourcesDir);
  std::string Name;
  if (VideoMode == 1) {
    Name = ResultsDir + "/VideoSource.bmp";
  } else if (SourceLoaded == 0 && Sender == MultSpin) {
    FSourceMult = Mult;
    CreateMosaic(Sender);
    return false;
  } else if (TextMode == 1) {
    Name = ResultsDir + "/TextOut.bmp";
  } else if (Sender == NoRim) {
    if (SourceLoaded == 0) return false;
    Name = SourceFileName;
  } else if (Sender == MultSpin) {
    Name = SourceFileName;
  } else {
    if (!OpenPictureDialog->Execute()) return false;
    Name = SourceLoaded == 0 || Sender == LoadPicBtn || Sender == Sourcebitmap1
               ? OpenPictureDialog->GetFileName()
               : SourceFileName;
  }

  {
    // A large picture takes a moment: the window says what it is reading and refuses other
    // work meanwhile.
    const TBusyScope Loading;
    const TCursor OldCursor = Screen->GetCursor();
    Screen->SetCursor(crHourGlass);
    const auto Done = ScopeExit([this, OldCursor] {
      Screen->SetCursor(OldCursor);
      SetStatusText(VariableTexts[vtReady]);
    });
    ShowStatus(ExtractFileName(Name) + "...");

    // The picture is checked before anything changes: a load that fails keeps the previous source.
    TBitmap Picture;
    LoadPictureFile(Name, &Picture);
    if (Picture.GetWidth() <= 0 || Picture.GetHeight() <= 0)
      throw Exception(Format("The picture \"%s\" could not be loaded.", {ExtractFileName(Name)}));
    const Integer NewRim = RimFor(Picture.GetWidth(), NoRim->GetChecked());
    const Int64 NewWidth = Round(static_cast<Extended>(Picture.GetWidth() + NewRim) * Mult);
    const Int64 NewHeight = Round(static_cast<Extended>(Picture.GetHeight() + NewRim) * Mult);
    if (NewWidth * NewHeight > MaxSourcePixels || Max(NewWidth, NewHeight) > MaxSourceSide) {
      const std::string Limit = NewWidth * NewHeight > MaxSourcePixels
                                    ? Format("more than %d megapixels", {MaxSourcePixels / 1'000'000})
                                    : Format("a side longer than %d pixels", {MaxSourceSide});
      ShowWarning(
          Format("The picture \"%s\" would be %d x %d pixels with its rim and multiplier, %s.\r\n"
                 "Please choose a smaller multiplier or picture.",
                 {ExtractFileName(Name), NewWidth, NewHeight, Limit}));
      // The multiplier goes back to the one the kept source was made with, without a reload.
      if (Sender == MultSpin) PutBackSourceControls(Sender);
      return false;
    }

    SourceFileName = Name;
    FSourceMult = Mult;
    SourceLoaded = 1;
    Rim = NewRim;
    SetSourcePicture(&Picture, static_cast<Integer>(NewWidth), static_cast<Integer>(NewHeight));

    FrameOnly->SetChecked(false);
    FrameOnly->SetEnabled(true);
    PatternColors->SetChecked(false);
    for (TControl* C : std::initializer_list<TControl*>{AutoAlias, Automatic, Blending, BlendBar, Edges,
                                                        ClipBar, UpdateBtn, BlendLbl, ClipLbl})
      C->SetEnabled(true);
    if (MaskLoaded == 1 && TextMode == 0) {
      MaskLoaded = 0;
      Image3->SetVisible(false);
      ApplyMask->SetEnabled(false);
      ApplyMask->SetChecked(false);
    } else if (MaskLoaded == 1) {
      // The text pattern keeps the mask: it follows the new source's size.
      FitMaskToSource();
    }
    // The movie's source frame follows the new source; a movie's own frame is made already.
    if (VideoMode == 0) MakeVideoSourceFrame(&Picture);
  }
  // Only a drawing lives on the drawing square; another type keeps its result until it builds.
  if (PatternType == ptKaleidoscope || PatternType == ptFreeDrawing) ResetDrawingArea();
  Automatic->SetChecked(false);
  if (!UseText->GetChecked()) SetCaption("Tilvarok - " + ExtractFileName(Name));
  if (Sender == MultSpin || Sender == LoadPicBtn) CreateMosaic(Sender);
  return true;
}

void TForm1::SetSourcePicture(TBitmap* Picture, Integer Width, Integer Height) {
  TBitmap Rimmed;
  Rimmed.SetPixelFormat(pf24bit);
  Rimmed.SetSize(Picture->GetWidth() + Rim, Picture->GetHeight() + Rim);
  TCanvas* C = Rimmed.GetCanvas();
  C->GetBrush()->SetColor(clWhite);
  C->FillRect(TRect{0, 0, Rimmed.GetWidth(), Rimmed.GetHeight()});
  C->Draw(Rim / 2, Rim / 2, Picture);
  SourceBitmap->SetPixelFormat(pf24bit);
  SourceBitmap->SetSize(Width, Height);
  SourceBitmap->GetCanvas()->StretchDraw(TRect{0, 0, Width, Height}, &Rimmed);
  CellsX = CellsFor(Width);
  CellsY = CellsFor(Height);
  ShowSourceSize();
  Image2->GetBitmap()->Assign(SourceBitmap.get());
}

void TForm1::ShowSourceSize() {
  const bool Source = SourceLoaded == 1 && SourceBitmap && SourceBitmap->GetWidth() > 0;
  const Integer W = Source ? SourceBitmap->GetWidth() : 0, H = Source ? SourceBitmap->GetHeight() : 0;
  Label13->SetCaption(VariableTexts[vtSize] + Format(": %d x %d", {W, H}));
}

void TForm1::SetBasicSize(TObject* Sender) {
  // The grid of a running build cannot change under it: the spin edit shows the one in use.
  if (Busy == 1 && Sender == SpinEdit5) {
    SetValueQuietly(SpinEdit5, GridPx);
    return;
  }
  GridPx = static_cast<Byte>(Round(SpinEdit5->GetValue()));
  if (SourceBitmap->GetWidth() > 0) {
    CellsX = CellsFor(SourceBitmap->GetWidth());
    CellsY = CellsFor(SourceBitmap->GetHeight());
  } else {
    CellsX = Max(Image1->GetWidth() / GridPx - 1, 1);
    CellsY = Max(Image1->GetHeight() / GridPx - 1, 1);
  }
  if (Busy == 0) CreateMosaic(Sender);
}

std::string ResultSaveName(const std::string& FileName, Integer FilterIndex) {
  static const char* const Extensions[] = {"", "jpg", "jpeg", "bmp", "gif", "emf", "wmf", "png"};
  const std::string Ext = LowerCase(ExtractFileExt(FileName));
  for (Integer I = 1; I < 8; ++I)
    if (Ext == std::string(".") + Extensions[I]) return FileName;
  return FileName + "." + Extensions[Min(Max(FilterIndex - 1, 1), 7)];
}

void TForm1::SaveResult(TObject*) {
  SavePictureDialog->SetTitle("Save file");
  SavePictureDialog->SetFilter("JPEG Image File (*.jpg)|*.jpg");
  SavePictureDialog->SetInitialDir(ResultsDir);
  if (!SavePictureDialog->Execute()) return;
  WriteResult(ResultSaveName(SavePictureDialog->GetFileName(), SavePictureDialog->GetFilterIndex()));
}

void TForm1::WriteResult(const std::string& FileName) {
  // The extension chooses the format; a save that fails leaves the old file and says so.
  TZezudIdIO IO(nullptr);
  IO.SetAttachedBitmap(ResultBitmap.get());
  IO.SaveToFile(Utf8ToUtf16(FileName));
  if (IO.GetAborting()) throw Exception(Format("The result could not be saved as \"%s\".", {FileName}));
}
