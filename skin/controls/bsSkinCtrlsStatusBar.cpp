// TbsSkinStatusBar: the skinned status bar and its size grip.
#include "platform/classes/Bitmap.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

void DrawGripLines(TCanvas* C, const TRect& R, TColor Light, TColor Dark) {
  for (Integer D = 3; R.Left + D + 2 <= R.Right; D += 3) {
    C->GetPen()->SetColor(Dark);
    C->MoveTo(R.Left + D, R.Bottom);
    C->LineTo(R.Right, R.Top + D);
    C->GetPen()->SetColor(Light);
    C->MoveTo(R.Left + D + 1, R.Bottom);
    C->LineTo(R.Right, R.Top + D + 1);
  }
}

TbsSkinStatusBar::TbsSkinStatusBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  SetSkinDataName("statusbar");
  SetAlign(alBottom);
  SetHeight(21);
  SetBorderStyle(TbsSkinBorderStyle::bvNone);
  PaintFrameStrips = false;
}

void TbsSkinStatusBar::SetSizeGrip(bool Value) {
  FSizeGrip = Value;
  Repaint();
  Realign();
}

void TbsSkinStatusBar::SetShowGrip(bool Value) {
  FShowGrip = Value;
  Repaint();
  Realign();
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* Value) {
  TbsSkinPanel::SetSkinData(Value);
  for (Integer I = 0; I < GetControlCount(); ++I)
    if (auto* C = dynamic_cast<TbsSkinControl*>(GetControl(I))) C->SetSkinData(Value);
}

void TbsSkinStatusBar::LoadSkinPart() {
  TbsSkinPanel::LoadSkinPart();
  if (auto* Part = dynamic_cast<TbsDataSkinPanelControl*>(BoundPart())) {
    GripperRect = Part->GripperRect;
    GripperTransparent = Part->GripperTransparent;
    GripperTransparentColor = Part->GripperTransparentColor;
  }
}

void TbsSkinStatusBar::AdjustClientRect(TRect& Rect) {
  TbsSkinPanel::AdjustClientRect(Rect);
  if (!GripShown()) return;
  Rect.Right -= PartIndex == -1 || IsEmptyRect(GripperRect) ? GetRectHeight(Rect) : GetRectWidth(GripperRect);
}

TRect TbsSkinStatusBar::GripRect() {
  const TRect R = GetAdjustedClientRect();
  if (PartIndex != -1 && !IsEmptyRect(GripperRect))
    return Rect(R.Right, R.Bottom - GetRectHeight(GripperRect), R.Right + GetRectWidth(GripperRect),
                R.Bottom);
  return Rect(R.Right + 2, R.Top, R.Right + GetRectHeight(R), R.Bottom - 2);
}

void TbsSkinStatusBar::Paint() {
  TbsSkinPanel::Paint();
  if (GripShown() && GetWidth() > 0 && GetHeight() > 0) DrawGrip(GetCanvas());
}

void TbsSkinStatusBar::DrawGrip(TCanvas* C) {
  const TRect G = GripRect();
  if (PartIndex == -1) {
    DrawGripLines(C, G, clBtnHighlight, clBtnShadow);
    return;
  }
  if (IsEmptyRect(GripperRect) || SkinPicture == nullptr) {
    DrawGripLines(C, G, FSD->SkinColors->CBtnHighlight, FSD->SkinColors->CBtnShadow);
    return;
  }
  TBitmap B;
  B.SetSize(GetRectWidth(GripperRect), GetRectHeight(GripperRect));
  B.GetCanvas()->CopyRect(Rect(0, 0, B.GetWidth(), B.GetHeight()), SkinPicture->GetCanvas(), GripperRect);
  if (GripperTransparent) {
    B.SetTransparentMode(tmFixed);
    B.SetTransparentColor(GripperTransparentColor);
    B.SetTransparent(true);
  }
  C->Draw(G.Left, G.Top, &B);
}

void TbsSkinStatusBar::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_NCHITTEST || Designing() || !GripShown()) {
    TbsSkinPanel::Dispatch(Message);
    return;
  }
  const TPoint P = ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  const TRect G = GripRect();
  // Edges included: the grip's last row and column still size the form.
  const bool InGrip = P.X >= G.Left && P.X <= G.Right && P.Y >= G.Top && P.Y <= G.Bottom;
  Message.Result = InGrip ? HTBOTTOMRIGHT : HTCLIENT;
}
