// TIEDirectShow: building the playback graph and driving it.
#include "imaging/io/ieds.h"

#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "platform/system/Clock.h"
#include "platform/system/Strings.h"
#include "platform/user/WindowMessages.h"

namespace {

// How long SetPosition waits for a seek to settle.
constexpr DWORD SeekSettleTimeoutMs = 10000;
constexpr DWORD StateTimeoutMs = 100;

}  // namespace

// ---- TIESampleGrabberCB ----

HRESULT TIESampleGrabberCB::SampleCB(double, void*) {
  return 0;
}

HRESULT TIESampleGrabberCB::BufferCB(double, const Byte*, LONG) {
  try {
    if (FOwner->NewFrameNotify.load() != 0)
      PostMessage(FOwner->GetNotifyWindow(), FOwner->GetNewFrameMessage(), 0,
                  reinterpret_cast<LPARAM>(FOwner));
  } catch (...) {
    // The streaming thread must never see an exception.
  }
  return 0;
}

// ---- TIEDirectShow ----

TIEDirectShow::TIEDirectShow() {
  FOleInitialized = SUCCEEDED(OleInitialize(nullptr));
}

TIEDirectShow::~TIEDirectShow() {
  Disconnect();
  VideoCaptureFilter.Reset();
  AudioCaptureFilter.Reset();
  VideoCodecFilter.Reset();
  AudioCodecFilter.Reset();
  VideoFormats.clear();
  if (FOleInitialized) OleUninitialize();
}

void TIEDirectShow::Connect() {
  NewFrameNotify.store(1);
  if (!DVDPath.empty())
    BuildDVDGraph();
  else
    BuildGraph();
}

void TIEDirectShow::BuildGraph() {
  FGraph = std::make_unique<TFilterGraph>();
  // Capture filters and compressors: the platform has none, so the capture steps fall away
  // and the colour converter stays the intermediate filter.
  if (!SourceFileName.empty()) {
    std::u16string Wide = Utf8ToUtf16(SourceFileName);
    if (Wide.size() > 2048) Wide.resize(2048);
    FGraph->AddSourceFilter(Wide);
  }
  if (UseSampleGrabber && !VideoCodecFilter) {
    FSampleGrabber = FGraph->AddSampleGrabber();
    FSampleGrabber->SetBufferSamples(true);
    AM_MEDIA_TYPE Type;
    Type.IsVideo = true;
    Type.IsRGB24 = true;
    FSampleGrabber->SetMediaType(Type);
    if (FNotifyWindow.load()) {
      FSampleGrabberCB = TComPtr<TIESampleGrabberCB>(new TIESampleGrabberCB(this));
      FSampleGrabber->SetCallback(FSampleGrabberCB.Get(), 1);
    }
  }
  // Without the video mixing renderer the null renderer is the target; the graph connects
  // the source's video to the grabber or to it. Results are not looked at: a file whose
  // streams cannot be connected renders nothing.
  FGraph->RenderVideo();
  if (RenderAudio) FGraph->RenderAudio();
  if (FNotifyWindow.load())
    FGraph->SetNotifyWindow(FNotifyWindow.load(), FEventMessage.load(), reinterpret_cast<LONG_PTR>(this));
  // The platform's clock is the system clock; 1 asks for none, and 3 to 6 name filters that
  // are missing here, which leaves the graph without a clock too.
  if (ReferenceClock != 0) FGraph->SetSyncSource(ReferenceClock == 2);
  VideoFormats.clear();
  CrossbarInputs.Clear();
}

void TIEDirectShow::BuildDVDGraph() {
  // The DVD navigator cannot be created: the graph stays empty.
  FGraph = std::make_unique<TFilterGraph>();
}

void TIEDirectShow::Disconnect() {
  if (FGraph && GetState() != 0) FGraph->Stop();
  // The graph's streaming thread ends before the grabber and its callback go.
  FGraph.reset();
  FSampleGrabber = nullptr;
  FSampleGrabberCB.Reset();
}

void TIEDirectShow::Run() {
  if (FGraph) FGraph->Run();
}

void TIEDirectShow::Pause() {
  if (FGraph) FGraph->Pause();
}

void TIEDirectShow::Stop() {
  if (FGraph) FGraph->StopWhenReady();
}

Byte TIEDirectShow::GetState() {
  if (!FGraph) return 0;
  FILTER_STATE State = State_Stopped;
  FGraph->GetState(StateTimeoutMs, State);
  return static_cast<Byte>(State);
}

void TIEDirectShow::SetTimeFormat(TIETimeFormat Format) {
  if (FGraph) FGraph->SetTimeFormat(Format);
}

Int64 TIEDirectShow::GetDuration() {
  Int64 Value = 0;
  if (!FGraph || !SUCCEEDED(FGraph->GetDuration(Value))) return 0;
  return Value;
}

Int64 TIEDirectShow::GetPosition() {
  Int64 Value = 0;
  if (!FGraph || !SUCCEEDED(FGraph->GetCurrentPosition(Value))) return 0;
  return Value;
}

void TIEDirectShow::SetPosition(Int64 Position) {
  if (!FGraph) return;
  FGraph->SetPositions(Position, AM_SEEKING_AbsolutePositioning, AM_SEEKING_NoPositioning);
  const UInt64 Start = GetTickCount64();
  for (;;) {
    FILTER_STATE State;
    const HRESULT Result = FGraph->GetState(StateTimeoutMs, State);
    if (Result == S_OK || Result == VFW_S_CANT_CUE) break;
    if (GetTickCount64() - Start >= SeekSettleTimeoutMs) break;
  }
}

void TIEDirectShow::GetSample(TIEBitmap* Bitmap, bool /*ResampleToBitmapSize*/) {
  // There is no video mixing renderer to take an image from; the grabber gives the frame.
  if (FSampleGrabber) GrabSample(nullptr, Bitmap);
}

void TIEDirectShow::GrabSample(const Byte* Buffer, TIEBitmap* Bitmap) {
  AM_MEDIA_TYPE Type;
  if (!SUCCEEDED(FSampleGrabber->GetConnectedMediaType(Type)) || Type.formattype != FORMAT_VideoInfo) return;
  const Integer Width = Type.VideoInfo.bmiHeader.biWidth;
  const Integer Height = Type.VideoInfo.bmiHeader.biHeight;
  if (Bitmap->GetLocation() == ieFile) Bitmap->SetLocation(ieMemory);
  if (Bitmap->GetPixelFormat() != ie24RGB || Bitmap->GetWidth() != Width || Bitmap->GetHeight() != Height)
    Bitmap->Allocate(Width, Height, ie24RGB);
  if (Width <= 0 || Height <= 0) return;
  const Integer RowBytes = (Width * 3 + 3) & ~3;
  std::vector<Byte> Temporary;
  const Byte* Source = Buffer;
  if (!Source) {
    LONG Size = 0;
    if (!SUCCEEDED(FSampleGrabber->GetCurrentBuffer(&Size, nullptr)) || Size <= 0) return;
    Byte* LastRow = static_cast<Byte*>(Bitmap->GetScanline(Height - 1));
    const Byte* FirstRow = static_cast<const Byte*>(Bitmap->GetScanline(0));
    const bool OneBottomUpBlock = Bitmap->GetLocation() == ieMemory && Bitmap->GetRowLen() == RowBytes &&
                                  FirstRow == LastRow + static_cast<Int64>(Height - 1) * RowBytes &&
                                  static_cast<Int64>(RowBytes) * Height == Size;
    if (OneBottomUpBlock) {
      FSampleGrabber->GetCurrentBuffer(&Size, LastRow);
      return;
    }
    Temporary.resize(static_cast<size_t>(Size));
    if (!SUCCEEDED(FSampleGrabber->GetCurrentBuffer(&Size, Temporary.data()))) return;
    if (static_cast<Int64>(RowBytes) * Height > Size) return;
    Source = Temporary.data();
  }
  // The first sample row is the picture's last.
  for (Integer Row = 0; Row < Height; ++Row)
    std::memcpy(Bitmap->GetScanline(Height - 1 - Row), Source + static_cast<Int64>(Row) * RowBytes,
                static_cast<size_t>(Width) * 3);
}

bool TIEDirectShow::GetEventCode(Integer& Code) {
  if (!FGraph) return false;
  LONG EventCode = 0;
  LONG_PTR Param1 = 0, Param2 = 0;
  if (FGraph->GetEvent(EventCode, Param1, Param2, 0) != S_OK) return false;
  FGraph->FreeEventParams(EventCode, Param1, Param2);
  Code = EventCode;
  return true;
}

void TIEDirectShow::SetVideoPosition(const TRect&, const TRect&) {}

void TIEDirectShow::GetNativeVideoSize(Integer&, Integer&) {}

void TIEDirectShow::RepaintVideo(HWND, HDC) {}

void TIEDirectShow::SetNotifyWindow(HWND Window, UINT NewFrameMessage, UINT EventMessage) {
  FNotifyWindow.store(Window);
  FNewFrameMessage.store(NewFrameMessage);
  FEventMessage.store(EventMessage);
  if (FGraph) FGraph->SetNotifyWindow(Window, EventMessage, reinterpret_cast<LONG_PTR>(this));
}
