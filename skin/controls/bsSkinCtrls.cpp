// The windowed and windowless skinned control bases and the part geometry they share.
#include "skin/controls/bsSkinCtrls.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "platform/user/User.h"
#include "skin/data/bsUtils.h"

// ---- Part geometry --------------------------------------------------------------------------

Integer TbsSkinPartGeometry::PartResizeMode() const {
  if (IsEmptyRect(SkinRect)) return -1;
  if (RightBottomPoint.X != 0 && RightBottomPoint.Y != 0) return 1;
  if (RightTopPoint.X != 0 || RightTopPoint.Y != 0) return 2;
  if (LeftBottomPoint.X != 0 || LeftBottomPoint.Y != 0) return 3;
  return 0;
}

namespace {

// A picture of the skin's list; none for -1 or an index beyond the list.
TBitmap* SkinPictureAt(TbsSkinData* SkinData, Integer Index) {
  if (SkinData == nullptr || Index < 0 || Index >= static_cast<Integer>(SkinData->ActivePictures.size()))
    return nullptr;
  return SkinData->ActivePictures[static_cast<std::size_t>(Index)].get();
}

}  // namespace

bool TbsSkinPartGeometry::CopyPartGeometry(TbsSkinData* SkinData, TbsDataSkinControl* Record) {
  auto* Part = dynamic_cast<TbsDataSkinCustomControl*>(Record);
  if (Part == nullptr) {
    SizingMode = 0;
    SkinPicture = nullptr;
    return false;
  }
  LeftTopPoint = Part->LeftTopPoint;
  RightTopPoint = Part->RightTopPoint;
  LeftBottomPoint = Part->LeftBottomPoint;
  RightBottomPoint = Part->RightBottomPoint;
  SkinRect = Part->SkinRect;
  StretchEffect = Part->StretchEffect;
  StretchType = Part->StretchType;
  LeftStretch = Part->LeftStretch;
  TopStretch = Part->TopStretch;
  RightStretch = Part->RightStretch;
  BottomStretch = Part->BottomStretch;
  PartClientRect = Part->ClientRect;
  SkinPicture = SkinPictureAt(SkinData, Part->PictureIndex);
  SizingMode = PartResizeMode();
  return true;
}

void TbsSkinPartGeometry::FitGeometry(bool PartBound, Integer& Width, Integer& Height) {
  if (!PartBound || SizingMode == -1) return;
  if (SizingMode == 0) {
    Width = GetRectWidth(SkinRect);
    Height = GetRectHeight(SkinRect);
    NewClientRect = PartClientRect;
    return;
  }
  const Integer DX = Width - GetRectWidth(SkinRect);
  const Integer DY = Height - GetRectHeight(SkinRect);
  NewLeftTopPoint = LeftTopPoint;
  switch (SizingMode) {
    case 1:
      NewRightTopPoint = {RightTopPoint.X + DX, RightTopPoint.Y};
      NewLeftBottomPoint = {LeftBottomPoint.X, LeftBottomPoint.Y + DY};
      NewRightBottomPoint = {RightBottomPoint.X + DX, RightBottomPoint.Y + DY};
      NewClientRect = PartClientRect;
      NewClientRect.Right += DX;
      NewClientRect.Bottom += DY;
      break;
    case 2:
      Height = GetRectHeight(SkinRect);
      NewRightTopPoint = {RightTopPoint.X + DX, RightTopPoint.Y};
      NewClientRect = PartClientRect;
      NewClientRect.Right += DX;
      break;
    case 3:
      Width = GetRectWidth(SkinRect);
      NewLeftBottomPoint = {LeftBottomPoint.X, LeftBottomPoint.Y + DY};
      NewClientRect = PartClientRect;
      NewClientRect.Bottom += DY;
      break;
    default:
      break;
  }
}

namespace {

// The part image at the control's size. Resizable parts need the skin image builders, which
// no skin of this build provides; only fixed parts are copied.
void BuildPartImage(const TbsSkinPartGeometry& G, TBitmap* B, TBitmap* Picture, const TRect& Source) {
  if (G.SizingMode != 0) return;
  B->SetSize(GetRectWidth(Source), GetRectHeight(Source));
  if (Picture != nullptr)
    B->GetCanvas()->CopyRect(Rect(0, 0, GetRectWidth(Source), GetRectHeight(Source)), Picture->GetCanvas(),
                             Source);
}

void FillBtnFace(TBitmap* B, const TRect& R) {
  B->GetCanvas()->GetBrush()->SetStyle(bsSolid);
  B->GetCanvas()->GetBrush()->SetColor(clBtnFace);
  B->GetCanvas()->FillRect(R);
}

// Paints through an off-screen bitmap of the control's size in one copy.
template <class TControlType>
void PaintOffScreen(TControlType* Control, TCanvas* Canvas) {
  if (Control->GetWidth() <= 0 || Control->GetHeight() <= 0) return;
  Control->LoadSkinPart();
  TBitmap B;
  B.SetSize(Control->GetWidth(), Control->GetHeight());
  if (Control->PartIndex == -1)
    Control->DrawDefaultImage(&B);
  else
    Control->DrawSkinImage(&B);
  Canvas->Draw(0, 0, &B);
}

void InitDefaultFont(TFont* Font) {
  Font->SetName("Arial");
  Font->SetStyle({});
  Font->SetHeight(14);
}

}  // namespace

// ---- TbsSkinControl -------------------------------------------------------------------------

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

void TbsSkinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: {
      InWMPaint = true;
      struct TClear {
        bool& Flag;
        ~TClear() { Flag = false; }
      } Clear{InWMPaint};
      TCustomControl::Dispatch(Message);
      break;
    }
    case WM_ERASEBKGND:
      // The paint covers the whole control; erasing first would only flicker.
      Message.Result = 1;
      break;
    case WM_CHECKPARENTBG:
      ParentBackgroundChanged();
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TbsSkinControl::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !Designing()) ApplySkinChange();
}

void TbsSkinControl::SetSkinDataName(const std::string& Value) {
  FSkinDataName = Value;
}

void TbsSkinControl::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
}

TbsDataSkinControl* TbsSkinControl::BoundPart() const {
  if (PartIndex < 0 || FSD == nullptr || PartIndex >= static_cast<Integer>(FSD->SkinControls.size()))
    return nullptr;
  return FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get();
}

void TbsSkinControl::DrawDefaultImage(TBitmap*) {}
void TbsSkinControl::DrawSkinImage(TBitmap*) {}

void TbsSkinControl::ApplySkinChange() {
  LoadSkinPart();
  Repaint();
}

void TbsSkinControl::BeforeSkinChange() {
  PartIndex = -1;
}

void TbsSkinControl::ParentBackgroundChanged() {}

void TbsSkinControl::Paint() {
  PaintOffScreen(this, GetCanvas());
}

void TbsSkinControl::PaintControlTo(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  PaintOffScreen(this, &C);
  C.SetHandle(nullptr);
}

void TbsSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

// ---- TbsSkinCustomControl -------------------------------------------------------------------

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  InitDefaultFont(FDefaultFont.get());
  FDefaultFont->OnChange = TNotifyEvent(this, &TbsSkinCustomControl::DefaultFontChangedHandler);
}

TbsSkinCustomControl::~TbsSkinCustomControl() = default;

void TbsSkinCustomControl::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (PartIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomControl::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (PartIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinCustomControl::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

void TbsSkinCustomControl::DefaultFontChangedHandler(TObject*) {
  DefaultFontChanged();
  if (PartIndex == -1) Repaint();
}

void TbsSkinCustomControl::DefaultFontChanged() {}

void TbsSkinCustomControl::LoadSkinPart() {
  TbsSkinControl::LoadSkinPart();
  if (PartIndex == -1) return;
  TbsDataSkinControl* Record = BoundPart();
  if (!CopyPartGeometry(FSD, Record)) {
    SkinMaskPicture = nullptr;
    return;
  }
  SkinMaskPicture = SkinPictureAt(FSD, Record->MaskPictureIndex);
}

void TbsSkinCustomControl::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  FitGeometry(PartIndex != -1, AWidth, AHeight);
}

void TbsSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  LoadSkinPart();
  const bool Changed = PartIndex != -1 && (AWidth != GetWidth() || AHeight != GetHeight());
  if (Changed) {
    FitPartToSize(AWidth, AHeight);
    if (SizingMode == 0) NewClientRect = PartClientRect;
  }
  TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Changed) {
    UpdatePartRegion();
    Repaint();
  }
  if (PartIndex != -1 && StretchEffect) NotifyChildrenBackground();
}

void TbsSkinCustomControl::ApplySkinChange() {
  LoadSkinPart();
  if (PartIndex == -1) {
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    UpdatePartRegion();
    Repaint();
    return;
  }
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  bool Resized = false;
  if (W != GetWidth()) {
    SetWidth(W);
    Resized = true;
  }
  if (H != GetHeight()) {
    SetHeight(H);
    Resized = true;
  }
  if (!Resized) {
    UpdatePartRegion();
    Repaint();
  }
}

void TbsSkinCustomControl::UpdatePartRegion() {
  if (GetParent() == nullptr) return;
  if (SkinMaskPicture == nullptr || PartIndex == -1) {
    if (PartRegion != nullptr) {
      SetWindowRgn(GetHandle(), nullptr, TRUE);
      PartRegion = nullptr;
    }
  }
  // A region cut from a mask picture needs the skin region builders, which no skin of this
  // build provides.
}

void TbsSkinCustomControl::DrawDefaultImage(TBitmap* B) {
  FillBtnFace(B, GetClientRect());
}

void TbsSkinCustomControl::DrawSkinImage(TBitmap* B) {
  CreateControlImage(B, SkinPicture, SkinRect);
}

void TbsSkinCustomControl::CreateControlImage(TBitmap* B, TBitmap* Picture, const TRect& Source) {
  BuildPartImage(*this, B, Picture, Source);
}

TRect TbsSkinCustomControl::MapPartRect(const TRect& R) const {
  const Integer W = GetRectWidth(SkinRect), H = GetRectHeight(SkinRect);
  const Integer DX = GetWidth() - W, DY = GetHeight() - H;
  TRect Result = R;
  auto Move = [&Result](Integer X, Integer Y) {
    Result.Left += X, Result.Right += X, Result.Top += Y, Result.Bottom += Y;
  };
  switch (SizingMode) {
    case 1: {
      const TRect LT = Rect(0, 0, LeftTopPoint.X, LeftTopPoint.Y);
      const TRect LB = Rect(0, LeftBottomPoint.Y, LeftBottomPoint.X, H);
      const TRect RT = Rect(RightTopPoint.X, 0, W, RightTopPoint.Y);
      const TRect RB = Rect(RightBottomPoint.X, RightBottomPoint.Y, W, H);
      // Wholly inside one corner area: the area's move.
      if (IsRectInRect(R, LT)) return Result;
      if (IsRectInRect(R, RT)) {
        Move(DX, 0);
        return Result;
      }
      if (IsRectInRect(R, LB)) {
        Move(0, DY);
        return Result;
      }
      if (IsRectInRect(R, RB)) {
        Move(DX, DY);
        return Result;
      }
      const TPoint TL = R.TopLeft(), BR = R.BottomRight();
      if (IsPointInRect(LT, TL) && IsPointInRect(RB, BR)) {
        Result.Right += DX, Result.Bottom += DY;
      } else if (IsPointInRect(LT, TL) && IsPointInRect(RT, BR)) {
        Result.Right += DX;
      } else if (IsPointInRect(LB, TL) && IsPointInRect(RB, BR)) {
        Result.Right += DX;
        Move(0, DY);
      } else if (IsPointInRect(LT, TL) && IsPointInRect(LB, BR)) {
        Result.Bottom += DY;
      } else if (IsPointInRect(RT, TL) && IsPointInRect(RB, BR)) {
        Move(DX, 0);
        Result.Bottom += DY;
      }
      return Result;
    }
    case 2:
      if (R.Left <= LeftTopPoint.X && R.Right >= RightTopPoint.X)
        Result.Right += DX;
      else if (R.Left >= RightTopPoint.X && R.Right > RightTopPoint.X)
        Move(DX, 0);
      return Result;
    case 3:
      if (R.Top <= LeftTopPoint.Y && R.Bottom >= LeftBottomPoint.Y)
        Result.Bottom += DY;
      else if (R.Top >= LeftBottomPoint.Y && R.Bottom > LeftBottomPoint.Y)
        Move(0, DY);
      return Result;
    default:
      return Result;
  }
}

void TbsSkinCustomControl::NotifyChildrenBackground() {
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (auto* W = dynamic_cast<TWinControl*>(C))
      SendMessage(W->GetHandle(), WM_CHECKPARENTBG, 0, 0);
    else
      C->Perform(WM_CHECKPARENTBG, 0, 0);
  }
}

void TbsSkinCustomControl::Paint() {
  if (GetWidth() < 1 || GetHeight() < 1) return;
  LoadSkinPart();
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  // Frame-strip painting of large 9-slice parts needs the skin border builders; the part is
  // drawn as one image meanwhile.
  TbsSkinControl::Paint();
}

bool TbsSkinCustomControl::FocusBeforeClick(TMessage& Message, bool& SuppressClicks) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Designing() || Focused()) return false;
      SuppressClicks = true;
      ::SetFocus(GetHandle());
      SuppressClicks = false;
      return !Focused();
    case CN_COMMAND:
      return SuppressClicks;
    default:
      return false;
  }
}

// ---- TbsGraphicSkinControl ------------------------------------------------------------------

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  TControlStyle S = GetControlStyle();
  S.Include(csOpaque);
  SetControlStyle(S);
}

void TbsGraphicSkinControl::Dispatch(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
}

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !Designing()) ApplySkinChange();
}

void TbsGraphicSkinControl::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
}

void TbsGraphicSkinControl::DrawDefaultImage(TBitmap*) {}
void TbsGraphicSkinControl::DrawSkinImage(TBitmap*) {}

void TbsGraphicSkinControl::ApplySkinChange() {
  LoadSkinPart();
  Repaint();
}

void TbsGraphicSkinControl::BeforeSkinChange() {
  PartIndex = -1;
}

void TbsGraphicSkinControl::Paint() {
  PaintOffScreen(this, GetCanvas());
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

// ---- TbsGraphicSkinCustomControl ------------------------------------------------------------

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner)
    : TbsGraphicSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  InitDefaultFont(FDefaultFont.get());
  FDefaultFont->OnChange = TNotifyEvent(this, &TbsGraphicSkinCustomControl::DefaultFontChangedHandler);
}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() = default;

void TbsGraphicSkinCustomControl::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (PartIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (PartIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsGraphicSkinCustomControl::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

void TbsGraphicSkinCustomControl::DefaultFontChangedHandler(TObject*) {
  DefaultFontChanged();
  if (PartIndex == -1) Repaint();
}

void TbsGraphicSkinCustomControl::LoadSkinPart() {
  TbsGraphicSkinControl::LoadSkinPart();
  if (PartIndex == -1) return;
  CopyPartGeometry(FSD, FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get());
}

void TbsGraphicSkinCustomControl::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  FitGeometry(PartIndex != -1, AWidth, AHeight);
}

void TbsGraphicSkinCustomControl::DrawDefaultImage(TBitmap* B) {
  FillBtnFace(B, GetClientRect());
}

void TbsGraphicSkinCustomControl::DrawSkinImage(TBitmap* B) {
  CreateControlImage(B, SkinPicture, SkinRect);
}

void TbsGraphicSkinCustomControl::CreateControlImage(TBitmap* B, TBitmap* Picture, const TRect& Source) {
  BuildPartImage(*this, B, Picture, Source);
}

void TbsGraphicSkinCustomControl::ApplySkinChange() {
  LoadSkinPart();
  Integer W = GetWidth(), H = GetHeight();
  bool SizeChanged = false;
  if (PartIndex == -1) {
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  } else {
    FitPartToSize(W, H);
    SizeChanged = W != GetWidth() || H != GetHeight();
    if (W != GetWidth()) SetWidth(W);
    if (H != GetHeight()) SetHeight(H);
  }
  if (!SizeChanged || PartIndex == -1) Repaint();
}

void TbsGraphicSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  LoadSkinPart();
  const bool Fit = PartIndex != -1 && (AWidth != GetWidth() || AHeight != GetHeight());
  if (Fit) {
    FitPartToSize(AWidth, AHeight);
    if (SizingMode == 0) NewClientRect = PartClientRect;
  }
  TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Fit) Repaint();
}

// ---- Auto-repeat ----------------------------------------------------------------------------

TbsAutoRepeat::TbsAutoRepeat() = default;
TbsAutoRepeat::~TbsAutoRepeat() = default;

void TbsAutoRepeat::Start(TNotifyEvent OnRepeat, const Integer* Interval) {
  FOnRepeat = OnRepeat;
  FInterval = Interval;
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetInterval(500);
  FFirstTick = true;
  FTimer->SetOnTimer(TNotifyEvent(this, &TbsAutoRepeat::Tick));
}

void TbsAutoRepeat::Stop() {
  FTimer.reset();
}

void TbsAutoRepeat::Tick(TObject* Sender) {
  // The first tick only ends the delay.
  if (FFirstTick) {
    FFirstTick = false;
    FTimer->SetInterval(static_cast<Cardinal>(*FInterval));
    return;
  }
  if (FOnRepeat) FOnRepeat(Sender);
}
