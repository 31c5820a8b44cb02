#pragma once
// The skinned scroll box: a container that scrolls its children under two external skinned
// scroll bars.
#include "skin/controls/bsSkinCtrls.h"

class TbsSkinScrollBar;

// Part "scrollbox" (150 x 150): its frame in the non-client area, its client piece tiled or
// stretched over the box, or a whole skin picture ("bgpictureindex") over the whole window.
// The bars are only referred to: the box hooks their changes, sets their range and shows or
// hides them. UpdateScrollBars brings them in step after children moved from code.
class TbsSkinScrollBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinScrollBox(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TbsSkinScrollBar* GetVScrollBar() const { return VScrollBar; }
  void SetVScrollBar(TbsSkinScrollBar* Value);
  TbsSkinScrollBar* GetHScrollBar() const { return HScrollBar; }
  void SetHScrollBar(TbsSkinScrollBar* Value);
  TbsSkinBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TbsSkinBorderStyle Value);
  Integer GetBGPictureIndex() const { return BGPictureIndex; }

  void UpdateScrollBars();
  void UpdateVScrollBar();
  void UpdateHScrollBar();
  // Children and window contents move up (left) by Delta.
  void ScrollControlsV(Integer Delta);
  void ScrollControlsH(Integer Delta);

  void LoadSkinPart() override;
  void DrawDefaultImage(TBitmap* B) override;
  void ApplySkinChange() override;

  bool CanFocused = false;

 protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void VScrollBarChange(TObject* Sender);
  void HScrollBarChange(TObject* Sender);
  void ScrollBarLastChange(TObject* Sender);
  // One axis of UpdateV/HScrollBar; Vertical picks tops, heights and the vertical fields.
  void UpdateBar(bool Vertical);
  void HookBar(TbsSkinScrollBar* Bar, bool Vertical);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint();
  // The frame is drawn (no background picture, a border style other than none).
  bool HasFrame() const;
  void PaintFrame(TCanvas* C);
  // Draws the frame into the device context of a print message; its result.
  LRESULT PrintFrame(HDC DC, LRESULT Done);
  void PaintBackground(TCanvas* C);

  bool FFocusingByClick = false;
  bool FUpdatingScrollBars = false;
  bool FSettingBounds = false;
  TbsSkinScrollBar* VScrollBar = nullptr;
  TbsSkinScrollBar* HScrollBar = nullptr;
  Integer FOldVPosition = 0;
  Integer FOldHPosition = 0;
  Integer FVGrowth = 0;
  Integer FHGrowth = 0;
  TbsSkinBorderStyle FBorderStyle = TbsSkinBorderStyle::bvFrame;
  Integer BGPictureIndex = -1;
};
