// TGIFPainter: steps through a picture's frames with their delays and disposal methods,
// composing them in back buffers, repeating by the looping block's count.
#include <algorithm>

#include "pictures/GIFImage.h"
#include "platform/classes/Colors.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/Clock.h"
#include "platform/system/Math.h"
#include "platform/system/SyncObjs.h"
#include "platform/user/Messages.h"
#include "platform/user/WindowMessages.h"

TGIFPainter::TGIFPainter(TGIFImage* AImage, TGIFPaintFlags AFlags, const TRect& ARect, TCanvas* ACanvas,
                         TGIFPainter** ASlot)
    : TThread(true),
      FImage(AImage),
      FCanvas(ACanvas),
      FRect(ARect),
      FFlags(AFlags),
      FSpeed(AImage->SpeedPercent),
      FPainterSlot(ASlot) {
  if (FPainterSlot) *FPainterSlot = this;
  if (IsThreaded()) {
    SetFreeOnTerminate(true);
    SetOnTerminate(TNotifyEvent(this, &TGIFPainter::Detach));
    if ((FFlags & gpAnimate) && FImage->Frames()->Count() > 1 && FSpeed >= 0)
      FWakeEvent = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  }
  if (FImage->BackdropColor != clNone)
    FBackgroundColor = ColorToRGB(FImage->BackdropColor);
  else if (FImage->ScreenColors()->Count() > 0)
    FBackgroundColor = FImage->ScreenBackground();
  else
    FBackgroundColor = ColorToRGB(clWindow);
  bool Dispose2 = (FFlags & gpClearOnRestart) != 0, Dispose3 = false;
  for (Integer I = 0; I < FImage->Frames()->Count(); ++I) {
    TGIFGraphicControlExtension* Ext = FImage->Frames()->SubImage(I)->ControlExt();
    if (!Ext) continue;
    Dispose2 = Dispose2 || Ext->GetDisposalMethod() == 2;
    Dispose3 = Dispose3 || Ext->GetDisposalMethod() == 3;
  }
  const Integer W = FRect.Right - FRect.Left, H = FRect.Bottom - FRect.Top;
  const TRect Area{0, 0, W, H};
  auto MakeBuffer = [&](bool CopyTarget) {
    auto B = std::make_unique<TBitmap>();
    B->SetWidth(W);
    B->SetHeight(H);
    B->GetCanvas()->SetCopyMode(cmSrcCopy);
    if (CopyTarget) B->GetCanvas()->CopyRect(Area, FCanvas, FRect);
    B->GetCanvas()->GetBrush()->SetColor(FBackgroundColor);
    B->GetCanvas()->GetBrush()->SetStyle(bsSolid);
    return B;
  };
  if (Dispose2 && (FFlags & gpTransparent)) FBackdrop = MakeBuffer(true);
  if (Dispose2 || Dispose3) {
    FBackup = MakeBuffer(true);
    FScratch = MakeBuffer(false);
  }
}

TGIFPainter::~TGIFPainter() {
  if (!IsThreaded()) Detach();
  // A threaded painter's kept exception has nobody left to go to once the thread frees itself.
}

void TGIFPainter::Launch() {
  if (IsThreaded()) Resume();
}

void TGIFPainter::StopPainting() {
  Terminate();
  if (!IsThreaded()) return;
  if (FWakeEvent) SetEvent(FWakeEvent);
  SetPriority(tpNormal);
  if (GetSuspended()) Resume();
}

void TGIFPainter::Detach(TObject*) {
  if (FImage) {
    TThreadList* List = FImage->PainterList();
    List->LockList();
    if (FPainterSlot && *FPainterSlot == this) *FPainterSlot = nullptr;
    List->Remove(this);
    List->UnlockList();
    FImage = nullptr;
  }
  FBackup.reset();
  FScratch.reset();
  FBackdrop.reset();
  if (FWakeEvent) CloseHandle(FWakeEvent);
  FWakeEvent = nullptr;
}

void TGIFPainter::SyncCall(const std::function<void()>& Call) {
  if (GetTerminated()) return;
  if (IsThreaded())
    Synchronize([this, &Call] {
      // Halting may have happened while the call waited for the main thread.
      if (!GetTerminated() && FImage) Call();
    });
  else
    Call();
}

void TGIFPainter::Fire(const TNotifyEvent& Event) {
  if (!Event) return;
  const TNotifyEvent Current = Event;
  SyncCall([this, &Current] { Current(this); });
}

void TGIFPainter::PaintPlain() {
  FImage->Frames()
      ->SubImage(FActiveFrame)
      ->PaintTo(FCanvas, FRect, (FFlags & gpTransparent) != 0, (FFlags & gpTiled) != 0);
  FStarted = true;
}

void TGIFPainter::RestoreBackdrop(TBitmap* Target) {
  TGIFSubImage* Frame = FImage->Frames()->SubImage(FActiveFrame);
  TCanvas* C = Target->GetCanvas();
  const TRect Area{0, 0, Target->Width(), Target->Height()};
  const Integer SW = std::max<Integer>(FImage->GetWidth(), 1), SH = std::max<Integer>(FImage->GetHeight(), 1);
  const Integer W = Frame->GetWidth(), H = Frame->GetHeight();
  // Tiles in buffer coordinates: the buffers start at the target rectangle's origin.
  auto ForEachTile = [&](auto&& Act) {
    for (Integer X = Frame->GetLeft(); X < Area.Right; X += SW)
      for (Integer Y = Frame->GetTop(); Y < Area.Bottom; Y += SH) Act(TRect{X, Y, X + W, Y + H});
  };
  const bool Tiled = (FFlags & gpTiled) != 0;
  if (FFlags & gpTransparent) {
    if (!FBackdrop) return;
    if (Tiled)
      ForEachTile([&](const TRect& R) { C->CopyRect(R, FBackdrop->GetCanvas(), R); });
    else {
      const TRect R = Frame->MapToRect(Area);
      C->CopyRect(R, FBackdrop->GetCanvas(), R);
    }
    return;
  }
  C->GetBrush()->SetColor(FBackgroundColor);
  C->GetBrush()->SetStyle(bsSolid);
  if (Tiled && W != FImage->GetWidth() && H != FImage->GetHeight()) {
    if (FImage->BackdropColor != clNone) C->GetBrush()->SetColor(FImage->BackdropColor);
    ForEachTile([&](const TRect& R) { C->FillRect(R); });
    C->GetBrush()->SetColor(FBackgroundColor);
  } else {
    C->FillRect(Frame->MapToRect(Area));
  }
}

void TGIFPainter::PaintFrame() {
  if ((FFlags & gpCheckCanvas)) {
    const DWORD Type = GetObjectType(FCanvasDC);
    if (Type != OBJ_DC && Type != OBJ_MEMDC) {
      Terminate();
      return;
    }
  }
  const bool ClearFirst = (FFlags & gpClearOnRestart) && FActiveFrame == 0;
  TCanvas* Target = FBackup->GetCanvas();
  TRect TargetRect{0, 0, FBackup->Width(), FBackup->Height()};
  bool CopyDue = true, ScratchFirst = false;
  // Disposal 4 to 7 is drawn as "leave in place".
  const Byte Previous = FPreviousDisposal <= 3 ? FPreviousDisposal : 1;
  if (FDisposal == 3) {
    if (Previous <= 1) {
      Target = FCanvas;
      TargetRect = FRect;
      CopyDue = false;
    } else {
      Target = FScratch->GetCanvas();
      ScratchFirst = true;
    }
  }
  TGIFSubImage* Frame = FImage->Frames()->SubImage(FActiveFrame);
  HPALETTE Palette = Frame->ResolvePalette();
  if (!Palette) Palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  HDC DC = Target->GetHandle();
  HPALETTE OldPalette = SelectPalette(DC, Palette, FALSE);
  RealizePalette(DC);
  if (ClearFirst) RestoreBackdrop(FBackup.get());
  if (ScratchFirst) Target->CopyRect(TargetRect, FBackup->GetCanvas(), TargetRect);
  Frame->PaintTo(Target, TargetRect, (FFlags & gpTransparent) != 0, (FFlags & gpTiled) != 0);
  if (CopyDue) {
    FCanvas->SetCopyMode(cmSrcCopy);
    FCanvas->CopyRect(FRect, Target, TargetRect);
  }
  if (OldPalette) SelectPalette(Target->GetHandle(), OldPalette, FALSE);
  if (FDisposal == 2) RestoreBackdrop(FBackup.get());
  FStarted = true;
}

void TGIFPainter::WaitForFrame(Integer Delay, Int64& DelayStart, Integer& PreviousDelay) {
  if (Delay < 1) {
    Sleep(0);
    return;
  }
  FImage->Frames()->SubImage(FActiveFrame)->FrameImage();
  const Int64 Now = timeGetTime();
  Int64 Ms;
  if (FSpeed < 1) {
    Ms = IsThreaded() ? -1 : Int64(MaxFrameDelay) * DelayToMs;
  } else {
    const Int64 Elapsed = Now - DelayStart - PreviousDelay;
    const Int64 Want = Int64(Delay) * DelayToMs - Elapsed / 2;
    Ms = MulDiv(static_cast<Integer>(std::clamp<Int64>(Want, -0x7FFFFFF, 0x7FFFFFF)), 100, FSpeed);
    PreviousDelay = static_cast<Integer>(Ms);
  }
  DelayStart = Now;
  if (IsThreaded()) {
    if (Ms > 0 || FSpeed == 0) {
      if (!FWakeEvent) {
        Sleep(static_cast<DWORD>(std::max<Int64>(Ms, 0)));
        return;
      }
      const DWORD R = WaitForSingleObject(FWakeEvent, Ms < 0 ? INFINITE : static_cast<DWORD>(Ms));
      if (R != WAIT_TIMEOUT) {
        PreviousDelay = 0;
        DelayStart = timeGetTime();
      }
    }
    return;
  }
  if (Ms < 1) Ms = 1;
  Int64 T = timeGetTime();
  while (Ms > 0 && !Halted()) {
    Sleep(static_cast<DWORD>(std::min<Int64>(Ms, 100)));
    const Int64 Now2 = timeGetTime();
    Ms -= Now2 - T;
    T = Now2;
    MSG Msg;
    while (!Halted() && PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      if (Msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<Integer>(Msg.wParam));
        Terminate();
      } else {
        TranslateMessage(&Msg);
        DispatchMessage(&Msg);
      }
    }
  }
}

void TGIFPainter::Run() {
  // The canvas belongs to the main thread.
  if (FFlags & gpCheckCanvas) SyncCall([this] { FCanvasDC = FCanvas->GetHandle(); });
  const bool Animate = (FFlags & gpAnimate) != 0, Repeat = (FFlags & gpRepeat) != 0;
  const bool Forever = (FFlags & gpRepeatForever) != 0;
  FRestart = true;
  while (FRestart && !GetTerminated()) {
    FActiveFrame = 0;
    Fire(OnPainterStart);
    FStarted = false;
    FRestart = false;
    Integer Loops = 1, LoopPoint = 0;
    bool LoopingSeen = false;
    Integer Delay = IsThreaded() ? 0 : 1;
    FPreviousDisposal = 1;
    Int64 DelayStart = timeGetTime();
    Integer PreviousDelay = 0;
    auto Step = [&]() -> bool {
      TGIFImageList* Frames = FImage->Frames();
      if (FActiveFrame >= Frames->Count() || FActiveFrame < 0 || Halted() ||
          Frames->SubImage(FActiveFrame)->IsEmpty())
        return false;
      WaitForFrame(Delay, DelayStart, PreviousDelay);
      if (GetTerminated()) return false;
      Fire(OnBeforeFrame);
      if (GetTerminated()) return false;
      TGIFSubImage* Frame = Frames->SubImage(FActiveFrame);
      FDisposal = 1;
      for (Integer I = 0; I < Frame->ExtensionBlocks()->Count(); ++I) {
        TGIFExtension* Ext = Frame->ExtensionBlocks()->Extension(I);
        if (auto* Loop = dynamic_cast<TGIFAppExtNSLoop*>(Ext)) {
          if (LoopingSeen) continue;
          LoopingSeen = true;
          Loops = Loop->LoopCount;
          if ((Loops == 0 || Forever) && IsThreaded()) Loops = -1;
          LoopPoint = FActiveFrame;
        } else if (auto* Control = dynamic_cast<TGIFGraphicControlExtension*>(Ext)) {
          FDisposal = Control->GetDisposalMethod();
        }
      }
      SyncCall([this] {
        if (FBackup)
          PaintFrame();
        else
          PaintPlain();
      });
      FPreviousDisposal = FDisposal;
      if (GetTerminated()) return false;
      Delay = DefaultFrameDelay;
      if (Frame->ControlExt() && Frame->ControlExt()->GetDelayTime() != 0) {
        Delay = Frame->ControlExt()->GetDelayTime();
        if (Delay < MinFrameDelay) Delay = MinFrameDelay;
        if (Delay > MaxFrameDelay && !IsThreaded()) Delay = MaxFrameDelay;
      }
      const Integer Shown = FActiveFrame;
      Fire(OnAfterFrame);
      if (GetTerminated()) return false;
      if (FActiveFrame == Shown) ++FActiveFrame;
      return true;
    };
    if (Loops != 0 || Forever) {
      do {
        if (GetTerminated() || FRestart) break;
        FActiveFrame = LoopPoint;
        if (FStarted) Fire(OnRepeat);
        while (Step() && Animate) {
        }
        if (Loops > 0) --Loops;
      } while (Animate && Repeat && (Loops != 0 || Forever) && !GetTerminated() && !FRestart);
    }
    if (GetTerminated()) break;
  }
  FActiveFrame = -1;
  Fire(OnPainterEnd);
}

void TGIFPainter::Execute() {
  try {
    Run();
  } catch (Exception&) {
    Terminate();
    FKeptException = std::current_exception();
  }
}
