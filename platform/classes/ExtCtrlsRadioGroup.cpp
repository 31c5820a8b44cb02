// TCustomRadioGroup: a group box with a radio button per item, laid out in columns.
#include <algorithm>

#include "platform/classes/ExtCtrls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csSetCaption, csDoubleClicks};
  FItems = std::make_unique<TStringList>();
  FItems->OnChange = TNotifyEvent(this, &TCustomRadioGroup::ItemsChange);
}

TCustomRadioGroup::~TCustomRadioGroup() {
  Destroying();
  FItems->OnChange.Clear();
  // The buttons are children: the window control deletes them; they must not call back.
  for (TRadioButton* B : FButtons) B->OnClick.Clear();
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      WMSize(Message);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    default:
      TCustomGroupBox::Dispatch(Message);
      break;
  }
}

void TCustomRadioGroup::SetButtonCount(Integer Value) {
  while (static_cast<Integer>(FButtons.size()) < Value) {
    auto* B = new TRadioButton(this);
    B->SetVisible(false);
    B->SetEnabled(GetEnabled());
    B->SetParentShowHint(false);
    B->OnClick = TNotifyEvent(this, &TCustomRadioGroup::ButtonClick);
    B->SetParent(this);
    FButtons.push_back(B);
  }
  while (static_cast<Integer>(FButtons.size()) > Value) {
    TRadioButton* B = FButtons.back();
    FButtons.pop_back();
    delete B;
  }
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty() || GetComponentState().Contains(csLoading)) return;
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, GetFont()->GetHandle());
  TEXTMETRICA Metrics;
  GetTextMetrics(DC, &Metrics);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  const auto Count = static_cast<Integer>(FButtons.size());
  const Integer PerColumn = (Count + FColumns - 1) / FColumns;
  const Integer ButtonWidth = (GetWidth() - 10) / FColumns;
  const Integer Room = GetHeight() - Metrics.tmHeight - 5;
  const Integer ButtonHeight = Room / PerColumn;
  const Integer TopMargin = Metrics.tmHeight + 1 + (Room % PerColumn) / 2;
  for (Integer I = 0; I < Count; ++I) {
    TRadioButton* B = FButtons[static_cast<std::size_t>(I)];
    B->SetBounds((I / PerColumn) * ButtonWidth + 8, (I % PerColumn) * ButtonHeight + TopMargin, ButtonWidth,
                 ButtonHeight);
    B->SetVisible(true);
  }
}

void TCustomRadioGroup::UpdateButtons() {
  SetButtonCount(FItems->GetCount());
  for (std::size_t I = 0; I < FButtons.size(); ++I)
    FButtons[I]->SetCaption(FItems->GetStrings(static_cast<Integer>(I)));
  if (FItemIndex >= 0) {
    FUpdating = true;
    FButtons[static_cast<std::size_t>(FItemIndex)]->SetChecked(true);
    FUpdating = false;
  }
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ItemsChange(TObject*) {
  if (GetComponentState().Contains(csLoading)) return;
  if (FItemIndex >= FItems->GetCount()) FItemIndex = FItems->GetCount() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  auto It = std::find(FButtons.begin(), FButtons.end(), Sender);
  if (It == FButtons.end()) return;
  FItemIndex = static_cast<Integer>(It - FButtons.begin());
  TControl::Changed();
  Click();
}

void TCustomRadioGroup::SetItemIndex(Integer Value) {
  if (GetComponentState().Contains(csLoading)) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, static_cast<Integer>(FButtons.size()) - 1);
  if (FItemIndex == Value) return;
  if (FItemIndex >= 0) FButtons[static_cast<std::size_t>(FItemIndex)]->SetChecked(false);
  FItemIndex = Value;
  if (FItemIndex >= 0) FButtons[static_cast<std::size_t>(FItemIndex)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(Integer Value) {
  Value = std::clamp(Value, 1, 16);
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::WMSize(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  ArrangeButtons();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  for (TRadioButton* B : FButtons) B->SetEnabled(GetEnabled());
}

void TCustomRadioGroup::CMFontChanged(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  ArrangeButtons();
}
