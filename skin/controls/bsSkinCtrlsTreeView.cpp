// TbsSkinCustomTreeView: the platform tree view with skinned colours, external scroll bars and
// optionally skinned items.
#include "skin/controls/bsSkinCtrlsTreeView.h"

#include <cmath>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/system/Math.h"
#include "platform/user/CommonControls.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsUtils.h"

namespace {

// Sent by nobody else; the answer tells a skinned tree from a plain one.
constexpr UINT WM_SKINVIEWQUERY = 0xB1C9;
constexpr LRESULT SkinViewAnswer = 12851;

}  // namespace

TbsSkinCustomTreeView::TbsSkinCustomTreeView(TComponent* AOwner)
    : TCustomTreeView(AOwner), DefaultFont(std::make_unique<TFont>()) {
  DefaultFont->SetName("Arial");
  DefaultFont->SetStyle({});
  DefaultFont->SetHeight(14);
}

TbsSkinCustomTreeView::~TbsSkinCustomTreeView() = default;

void TbsSkinCustomTreeView::SetSkinData(TbsSkinData* Value) {
  SkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  ApplySkinChange();
}

void TbsSkinCustomTreeView::SetVScrollBar(TbsSkinScrollBar* Value) {
  VScrollBar = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  SyncScrollBars();
}

void TbsSkinCustomTreeView::SetHScrollBar(TbsSkinScrollBar* Value) {
  HScrollBar = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  SyncScrollBars();
}

void TbsSkinCustomTreeView::SetButtonImages(TCustomImageList* Value) {
  ButtonImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Invalidate();
}

void TbsSkinCustomTreeView::SetDrawSkin(bool Value) {
  DrawSkin = Value;
  if (Value && !GetComponentState().Contains(csDesigning))
    OnAdvancedCustomDrawItem = TTVAdvancedCustomDrawItemEvent(this, &TbsSkinCustomTreeView::DrawSkinItem);
}

void TbsSkinCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTreeView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == SkinData) SkinData = nullptr;
  if (AComponent == VScrollBar) VScrollBar = nullptr;
  if (AComponent == HScrollBar) HScrollBar = nullptr;
  if (AComponent == ButtonImages) ButtonImages = nullptr;
}

void TbsSkinCustomTreeView::CreateParams(TCreateParams& Params) {
  TCustomTreeView::CreateParams(Params);
  Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomTreeView::Loaded() {
  TCustomTreeView::Loaded();
  ApplySkinChange();
}

void TbsSkinCustomTreeView::Change(TTreeNode* Node) {
  TCustomTreeView::Change(Node);
  SyncScrollBars();
}

// ---- Skin -----------------------------------------------------------------------------------

void TbsSkinCustomTreeView::ApplySkinChange() {
  if (GetComponentState().Contains(csLoading)) return;
  PartIndex = SkinData == nullptr || SkinData->Empty ? -1 : SkinData->FindControlPart(SkinDataName);
  auto* Part = PartIndex == -1 ? nullptr
                               : dynamic_cast<TbsDataSkinTreeView*>(
                                     SkinData->SkinControls[static_cast<std::size_t>(PartIndex)].get());
  if (PartIndex == -1) {
    SetColor(DefaultColor);
    GetFont()->Assign(DefaultFont.get());
    FLinesColor = 0x808080;
  } else if (Part != nullptr) {
    if (UseSkinFont)
      AssignPartFont(GetFont(), Part->FontName, Part->FontHeight, Part->FontStyle);
    else
      GetFont()->Assign(DefaultFont.get());
    GetFont()->SetColor(Part->FontColor);
    SetColor(Part->BGColor);
    FButtonColor = MixColors(Part->FontColor, Part->BGColor);
    FLinesColor = MixColors(FButtonColor, Part->BGColor);
  }
  AssignSkinCharset(GetFont(), SkinData, DefaultFont.get());
  if (GetImages() != nullptr) GetImages()->SetBkColor(GetColor());
  if (GetStateImages() != nullptr) GetStateImages()->SetBkColor(GetColor());
  SyncScrollBars();
  for (TbsSkinScrollBar* Bar : {VScrollBar, HScrollBar})
    if (Bar != nullptr) Bar->SetAlign(Bar->GetAlign());
}

// ---- External bars --------------------------------------------------------------------------

void TbsSkinCustomTreeView::SyncScrollBars() {
  if (GetComponentState().Contains(csLoading) || FSyncing || !HandleAllocated()) return;
  bool Changed = false;
  if (VScrollBar != nullptr) {
    SCROLLINFO Info;
    Info.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(GetHandle(), SB_VERT, &Info);
    const Integer Visible = GetVisibleCount();
    const bool Show =
        Info.nMax > 0 && Info.nMax >= Visible && Info.nMax < GetItems()->GetCount() && GetVisible();
    FSyncing = true;
    Changed |= VScrollBar->GetVisible() != Show;
    VScrollBar->SetVisible(Show);
    FSyncing = false;
    if (Show) VScrollBar->SetRange(Info.nMin, Info.nMax, Info.nPos, Visible);
  }
  if (HScrollBar != nullptr) {
    SCROLLINFO Info;
    Info.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(GetHandle(), SB_HORZ, &Info);
    const bool Show = GetWidth() < Info.nMax && GetVisible();
    FSyncing = true;
    Changed |= HScrollBar->GetVisible() != Show;
    HScrollBar->SetVisible(Show);
    FSyncing = false;
    if (Show) HScrollBar->SetRange(Info.nMin, Info.nMax, Info.nPos, GetWidth());
  }
  if (VScrollBar != nullptr && HScrollBar != nullptr) HScrollBar->SetBoth(VScrollBar->GetVisible());
  if (Changed && GetAlign() != alNone && GetParent() != nullptr) {
    FSyncing = true;
    GetParent()->Realign();
    FSyncing = false;
  }
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinCustomTreeView::WndProc(TMessage& Message) {
  TCustomTreeView::WndProc(Message);
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_PAINT:
      if (!FSyncing) SyncScrollBars();
      break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
      SyncScrollBars();
      break;
    default:
      break;
  }
}

void TbsSkinCustomTreeView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      // No non-client area: the external bars stand in for the native ones.
      Message.Result = 0;
      break;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      break;
    case CM_VISIBLECHANGED:
      TCustomTreeView::Dispatch(Message);
      for (TbsSkinScrollBar* Bar : {VScrollBar, HScrollBar})
        if (Bar != nullptr) Bar->SetVisible(GetVisible());
      break;
    case WM_SKINVIEWQUERY:
      Message.Result = SkinViewAnswer;
      break;
    default:
      TCustomTreeView::Dispatch(Message);
      break;
  }
}

// ---- Item painting --------------------------------------------------------------------------

void TbsSkinCustomTreeView::DrawFadingLine(TCanvas* C, Integer X1, Integer X2, Integer Y) {
  const Integer N = std::abs(X2 - X1);
  if (N == 0) return;
  // The line fades out over its second half.
  const Integer M = N / 2;
  const Integer Step = M > 0 ? static_cast<Integer>(Round(255.0 / M)) : 255;
  const COLORREF Line = ColorToRGB(FLinesColor);
  const Integer Left = IntMin(X1, X2);
  Integer Alpha = 255;
  for (Integer I = 0; I < N; ++I) {
    if (I > M) Alpha = IntMax(Alpha - Step, 0);
    const COLORREF Under = ColorToRGB(C->GetPixels(Left + I, Y));
    const auto Blend = [Alpha](Integer A, Integer B) { return (A * Alpha + B * (255 - Alpha)) / 255; };
    C->SetPixels(Left + I, Y,
                 static_cast<TColor>(RGB(Blend(GetRValue(Line), GetRValue(Under)),
                                         Blend(GetGValue(Line), GetGValue(Under)),
                                         Blend(GetBValue(Line), GetBValue(Under)))));
  }
}

void TbsSkinCustomTreeView::DrawLinesAndButton(TCanvas* C, TTreeNode* Node, const TRect& R) {
  FButtonHalf = 5;
  if (ButtonImages != nullptr) FButtonHalf = IntMax(ButtonImages->GetWidth(), ButtonImages->GetHeight()) / 2;
  const Integer H = FButtonHalf;
  const Integer Indent = GetIndent();
  Integer X = R.Left + Indent / 2;
  const Integer Y = R.Top + GetRectHeight(R) / 2;
  const bool Parent = Node->GetCount() > 0 || Node->GetHasChildren();
  if (GetShowLines()) {
    if (Parent)
      DrawFadingLine(C, X + H - 1, R.Left + Indent + H - 5, Y - 1);
    else
      DrawFadingLine(C, X - 1, R.Left + Indent, Y - 1);
    C->GetPen()->SetColor(FLinesColor);
    if (Node != GetItems()->GetFirstNode()) {
      C->MoveTo(X - 1, Y - 1);
      C->LineTo(X - 1, R.Top - 1);
    }
    TTreeNode* Next = Node->GetNextVisible();
    if ((Next != nullptr && Next->GetLevel() == Node->GetLevel()) || Node->GetNextSibling() != nullptr) {
      C->MoveTo(X - 1, Y);
      C->LineTo(X - 1, R.Bottom + 1);
    }
  }
  if (GetShowButtons() && Parent) {
    if (ButtonImages == nullptr) {
      C->GetPen()->SetColor(FButtonColor);
      C->GetBrush()->SetStyle(bsClear);
      C->Rectangle(Rect(X - H, Y - H, X + H, Y + H));
      C->GetPen()->SetColor(GetFont()->GetColor());
      C->MoveTo(X - H + 2, Y - 1);
      C->LineTo(X + H - 2, Y - 1);
      if (!Node->GetExpanded()) {
        C->MoveTo(X - 1, Y - H + 2);
        C->LineTo(X - 1, Y + H - 2);
      }
    } else {
      C->GetBrush()->SetStyle(bsSolid);
      C->GetBrush()->SetColor(GetColor());
      C->FillRect(Rect(X - H, Y - H, X + H, Y + H));
      const Integer Index = Node->GetExpanded() ? ButtonExpandedIndex : ButtonCollapsedIndex;
      if (Index >= 0 && Index < ButtonImages->GetCount()) ButtonImages->Draw(C, X - H, Y - H, Index, true);
    }
  }
  if (!GetShowLines()) return;
  C->GetPen()->SetColor(FLinesColor);
  for (TTreeNode* A = Node->GetParent(); A != nullptr; A = A->GetParent()) {
    X -= Indent;
    if (A->GetNextSibling() == nullptr) continue;
    C->MoveTo(X - 1, R.Top);
    C->LineTo(X - 1, R.Bottom);
  }
}

void TbsSkinCustomTreeView::DrawNodeImage(TCanvas* C, TTreeNode* Node, const TRect& R) {
  TCustomImageList* Images = GetImages();
  const Integer Index = Node->GetImageIndex();
  if (Images == nullptr) {
    FSysImageList.Fetch(GetHandle(), TVM_GETIMAGELIST, TVSIL_NORMAL);
    FSysImageList.Draw(C, Index, R.Left - FButtonHalf,
                       R.Top + GetRectHeight(R) / 2 - FSysImageList.Height / 2);
    return;
  }
  if (Index < 0 || Index >= Images->GetCount()) return;
  Images->Draw(C, R.Left - FButtonHalf, R.Top + GetRectHeight(R) / 2 - Images->GetHeight() / 2, Index, true);
}

void TbsSkinCustomTreeView::DrawSkinItem(TCustomTreeView*, TTreeNode* Node, TCustomDrawState State,
                                         TCustomDrawStage Stage, bool&, bool& DefaultDraw) {
  if (Stage != cdPrePaint || SkinData == nullptr || SkinData->Empty || Node == nullptr) return;
  const Integer ItemIndex = SkinData->FindControlPart(ItemSkinDataName);
  auto* ItemPart = ItemIndex < 0 ? nullptr
                                 : dynamic_cast<TbsDataSkinListBox*>(
                                       SkinData->SkinControls[static_cast<std::size_t>(ItemIndex)].get());
  if (ItemPart == nullptr) return;
  DefaultDraw = false;
  TCanvas* C = GetCanvas();
  C->SetFont(GetFont());
  const Integer P = GetScrollPos(GetHandle(), SB_HORZ);
  TRect Line = Node->DisplayRect(false);
  Line.Left -= P;
  const TRect Text = Node->DisplayRect(true);
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(GetColor());
  C->FillRect(Line);
  C->FillRect(Text);
  Line.Left += (Node->GetLevel() - (GetShowRoot() ? 0 : 1)) * GetIndent();
  DrawLinesAndButton(C, Node, Line);
  Line.Left += GetIndent() + FButtonHalf;
  DrawNodeImage(C, Node, Line);
  const bool Selected = Node->GetSelected() || State.Contains(cdsSelected);
  if (!Selected) {
    C->GetBrush()->SetStyle(bsClear);
    DrawCaptionLeft(C, Node->GetText(), Rect(Text.Left + 2, Text.Top + 1, Text.Right, Text.Bottom));
    return;
  }
  if (GetRectWidth(Text) < 1 || GetRectHeight(Text) < 1) return;
  TBitmap B;
  B.SetSize(GetRectWidth(Text), GetRectHeight(Text));
  TBitmap* Picture = SkinPictureAt(SkinData, ItemPart->PictureIndex);
  const bool TreeFocused = Focused();
  const TRect& Source = TreeFocused ? ItemPart->FocusItemRect : ItemPart->ActiveItemRect;
  if (Picture != nullptr && !IsEmptyRect(Source))
    CreateStretchSkinImage(&B, Picture, Source, ItemPart->ItemTextRect, true);
  TCanvas* BC = B.GetCanvas();
  BC->SetFont(GetFont());
  BC->GetFont()->SetColor(TreeFocused ? ItemPart->FocusFontColor : ItemPart->ActiveFontColor);
  BC->GetBrush()->SetStyle(bsClear);
  BC->TextOut(2, 1, Node->GetText());
  C->Draw(Text.Left, Text.Top, &B);
}
