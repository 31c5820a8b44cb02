// THeaderControl over the native header and its sections.
#include "platform/classes/Application.h"
#include "platform/classes/ComCtrls.h"
#include "platform/classes/ImgList.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"

namespace {

Integer HeaderFormat(TAlignment A) {
  switch (A) {
    case taRightJustify:
      return HDF_RIGHT;
    case taCenter:
      return HDF_CENTER;
    default:
      return HDF_LEFT;
  }
}

}  // namespace

// ---- THeaderSection ---------------------------------------------------------------------------

THeaderSection::THeaderSection(TCollection* Collection) : TCollectionItem(Collection) {}

void THeaderSection::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<THeaderSection*>(Source)) {
    FText = S->FText;
    FWidth = S->FWidth;
    FAlignment = S->FAlignment;
    FImageIndex = S->FImageIndex;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void THeaderSection::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed(false);
}

void THeaderSection::SetWidth(Integer Value) {
  if (Value < 0 || FWidth == Value) return;
  FWidth = Value;
  Changed(false);
}

void THeaderSection::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

void THeaderSection::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

Integer THeaderSection::GetLeft() const {
  Integer X = 0;
  for (Integer I = 0; I < GetIndex(); ++I)
    X += static_cast<THeaderSection*>(GetCollection()->GetItem(I))->GetWidth();
  return X;
}

THeaderSections::THeaderSections(THeaderControl* Header)
    : TCollection(&CreateCollectionItem<THeaderSection>), FHeader(Header) {}

TPersistent* THeaderSections::GetOwner() {
  return FHeader;
}

void THeaderSections::Update(TCollectionItem*) {
  FHeader->UpdateSections();
}

// ---- THeaderControl ---------------------------------------------------------------------------

THeaderControl::THeaderControl(TComponent* AOwner)
    : TWinControl(AOwner), FSections(std::make_unique<THeaderSections>(this)) {
  FControlStyle = TControlStyle{csOpaque};
  SetBounds(0, 0, 170, 17);
  SetAlign(alTop);
}

THeaderControl::~THeaderControl() {
  Destroying();
}

void THeaderControl::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}

void THeaderControl::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_HEADER);
  Params.Style |= HDS_HORZ;
  if (FStyle == hsButtons) Params.Style |= HDS_BUTTONS;
  if (FFullDrag) Params.Style |= HDS_FULLDRAG;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void THeaderControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (FImages != nullptr) Perform(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->GetHandle()));
  UpdateSections();
}

void THeaderControl::UpdateSections() {
  if (!HandleAllocated() || FUpdating) return;
  FUpdating = true;
  while (Perform(HDM_GETITEMCOUNT, 0, 0) > 0) Perform(HDM_DELETEITEM, 0, 0);
  for (Integer I = 0; I < FSections->GetCount(); ++I) {
    THeaderSection* S = FSections->GetItem(I);
    HDITEM It;
    It.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    It.pszText = const_cast<char*>(S->GetText().c_str());
    It.cxy = S->GetWidth();
    It.fmt = HDF_STRING | HeaderFormat(S->GetAlignment());
    if (S->GetImageIndex() >= 0) {
      It.mask |= HDI_IMAGE;
      It.fmt |= HDF_IMAGE;
      It.iImage = S->GetImageIndex();
    }
    Perform(HDM_INSERTITEM, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&It));
  }
  FUpdating = false;
}

void THeaderControl::SetImages(TCustomImageList* Value) {
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  if (HandleAllocated())
    Perform(HDM_SETIMAGELIST, 0,
            reinterpret_cast<LPARAM>(FImages != nullptr ? FImages->GetHandle() : nullptr));
}

void THeaderControl::SetFullDrag(bool Value) {
  if (FFullDrag == Value) return;
  FFullDrag = Value;
  RecreateWnd();
}

void THeaderControl::SetStyle(THeaderStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void THeaderControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

void THeaderControl::SectionClick(THeaderSection* Section) {
  if (OnSectionClick) OnSectionClick(this, Section);
}

void THeaderControl::SectionResize(THeaderSection* Section) {
  if (OnSectionResize) OnSectionResize(this, Section);
}

void THeaderControl::CNNotify(TMessage& Message) {
  auto* N = reinterpret_cast<NMHEADER*>(Message.LParam);
  Message.Result = 0;
  if (N == nullptr || N->iItem < 0 || N->iItem >= FSections->GetCount()) return;
  THeaderSection* S = FSections->GetItem(N->iItem);
  const Integer Width = N->pitem != nullptr && (N->pitem->mask & HDI_WIDTH) ? N->pitem->cxy : S->GetWidth();
  switch (N->hdr.code) {
    case HDN_ITEMCLICK:
      SectionClick(S);
      break;
    case HDN_ITEMCHANGED:
      if (N->pitem != nullptr && (N->pitem->mask & HDI_WIDTH) && Width != S->GetWidth()) {
        // The window has the width already: store it without giving it back.
        FUpdating = true;
        S->FWidth = Width;
        FUpdating = false;
        SectionResize(S);
      }
      break;
    case HDN_BEGINTRACK:
      if (OnSectionTrack) OnSectionTrack(this, S, Width, tsTrackBegin);
      break;
    case HDN_TRACK:
      if (OnSectionTrack) OnSectionTrack(this, S, Width, tsTrackMove);
      break;
    case HDN_ENDTRACK:
      if (OnSectionTrack) OnSectionTrack(this, S, Width, tsTrackEnd);
      break;
    default:
      break;
  }
}
