// The text pattern, the mask and the glass picture.
#include "app/BusyScope.h"
#include "app/ControlsQuietly.h"
#include "app/Main.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

namespace {
constexpr TColor TextEditColor = static_cast<TColor>(178 | (189 << 8) | (210 << 16));

// The skinned edit paints its background itself: both colours follow.
void SetEditColor(TbsSkinEdit* Edit, TColor Color) {
  Edit->SetColor(Color);
  Edit->SetDefaultColor(Color);
}

// Loads a picture file into Picture; a file that cannot be read or holds no picture gives a
// warning and false.
bool LoadPictureOrWarn(TForm1* Form, const std::string& FileName, TBitmap* Picture) {
  std::string Reason;
  try {
    LoadPictureFile(FileName, Picture);
  } catch (const Exception& E) {
    Reason = E.GetMessage();
  }
  if (Reason.empty() && Picture->GetWidth() > 0 && Picture->GetHeight() > 0) return true;
  Form->ShowWarning(Format("The picture \"%s\" could not be loaded.", {ExtractFileName(FileName)}) +
                    (Reason.empty() ? std::string() : "\r\n" + Reason));
  return false;
}
}  // namespace

void TForm1::UseTextPattern(TObject* Sender) {
  if (Edit1->GetText().empty()) return;
  const bool Checked = UseText->GetChecked();
  if (Sender == Edit1 && !Checked) return;
  // A running build reads the source's and the mask's rows: the request is dropped, and the
  // box shows again what is in use.
  if (Busy == 1) {
    if (Sender == UseText) SetCheckedQuietly(UseText, !Checked);
    return;
  }
  if (!Checked) {
    SourceLoaded = 0;
    SourceBitmap->SetWidth(0);
    SetEditColor(Edit1, clBtnFace);
    SetCaption("Tilvarok");
    SetBasicSize(Sender);
    return;
  }
  bool Loaded = false;
  try {
    CreateTextBitmap();
    TextMode = 1;
    Loaded = LoadSource(Sender);
    TextMode = 0;
  } catch (const Exception& E) {
    TextMode = 0;
    ShowWarning(E.GetMessage());
  } catch (...) {
    TextMode = 0;
    throw;
  }
  // A text that could not be written or loaded leaves the previous source in use.
  if (!Loaded) {
    if (Sender == UseText) SetCheckedQuietly(UseText, false);
    return;
  }
  SetCaption("Tilvarok - " + Edit1->GetText());
  SetEditColor(Edit1, TextEditColor);
}

void TForm1::CreateTextBitmap() {
  // Drawn and written aside: a failed write keeps the previous text picture.
  TBitmap Text;
  Text.SetPixelFormat(pf24bit);
  TCanvas* C = Text.GetCanvas();
  C->SetFont(FontDialog1->GetFont());
  const std::string S = Edit1->GetText();
  const TSize Extent = C->TextExtent(S);
  Text.SetSize(Extent.cx + Rim, Extent.cy + Rim);
  C->GetBrush()->SetColor(clWhite);
  C->FillRect(TRect{0, 0, Text.GetWidth(), Text.GetHeight()});
  C->TextOut(Rim / 2, Rim / 2, S);
  Text.SaveToFile(ResultsDir + "/TextOut.bmp");
  TextBitmap->Assign(&Text);
}

void TForm1::SelectFont(TObject* Sender) {
  if (!FontDialog1->Execute()) return;
  if (UseText->GetChecked()) UseTextPattern(Sender);
}

void TForm1::LoadMask(TObject*) {
  // A running build reads the mask's rows.
  if (Busy == 1) return;
  OpenPictureDialog->SetInitialDir(DataDir + "/Masks");
  if (!OpenPictureDialog->Execute()) return;
  TBitmap Picture;
  if (!LoadPictureOrWarn(this, OpenPictureDialog->GetFileName(), &Picture)) return;
  // The rim around the mask is black: it counts as masked like the source's white rim.
  auto Padded = std::make_unique<TBitmap>();
  Padded->SetPixelFormat(pf24bit);
  Padded->SetSize(Picture.GetWidth() + Rim, Picture.GetHeight() + Rim);
  TCanvas* C = Padded->GetCanvas();
  C->GetBrush()->SetColor(clBlack);
  C->FillRect(TRect{0, 0, Padded->GetWidth(), Padded->GetHeight()});
  C->Draw(Rim / 2, Rim / 2, &Picture);
  FMaskPicture = std::move(Padded);
  MaskLoaded = 1;
  FitMaskToSource();
  // Checking the box would build; a loaded mask waits for the next build.
  const TBusyScope Showing;
  Image3->GetPicture()->Assign(&Picture);
  ApplyMask->SetEnabled(true);
  ApplyMask->SetChecked(true);
  Image3->SetVisible(true);
}

void TForm1::FitMaskToSource() {
  if (!FMaskPicture) return;
  MaskBitmap->SetPixelFormat(pf24bit);
  if (SourceLoaded == 1 && SourceBitmap->GetWidth() > 0 && SourceBitmap->GetHeight() > 0) {
    MaskBitmap->SetSize(SourceBitmap->GetWidth(), SourceBitmap->GetHeight());
    MaskBitmap->GetCanvas()->StretchDraw(TRect{0, 0, MaskBitmap->GetWidth(), MaskBitmap->GetHeight()},
                                         FMaskPicture.get());
  } else {
    MaskBitmap->Assign(FMaskPicture.get());
    MaskBitmap->SetPixelFormat(pf24bit);
  }
}

void TForm1::LoadGlassFX(TObject*) {
  // A running build lays the glass picture over its cells.
  if (Busy == 1) return;
  if (!OpenPictureDialog->Execute()) return;
  const std::string Name = OpenPictureDialog->GetFileName();
  TBitmap Picture;
  if (!LoadPictureOrWarn(this, Name, &Picture)) return;
  GlassFXFileName = Name;
  ShowGlassPicture(&Picture);
}

void TForm1::LoadGlassFromSettings() {
  if (GlassFXFileName.empty()) return;
  TBitmap Picture;
  // A glass picture that has gone since the last run is reported and leaves the glass empty.
  if (LoadPictureOrWarn(this, GlassFXFileName, &Picture)) ShowGlassPicture(&Picture);
}

void TForm1::ShowGlassPicture(TBitmap* Picture) {
  GlassFXBitmap->Assign(Picture);
  GlassFXBitmap->SetPixelFormat(pf24bit);
  Image4->GetPicture()->Assign(GlassFXBitmap.get());
}
