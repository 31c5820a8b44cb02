// The playback graph: media control, seeking and events over a streaming thread.
#include "platform/media/DShowGraph.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "platform/media/DShowDecoder.h"
#include "platform/system/Clock.h"
#include "platform/system/Strings.h"
#include "platform/user/WindowMessages.h"

namespace {

// The streaming thread looks at the clock at least this often while a frame waits, so that a
// replaced clock (which may jump) is followed.
constexpr auto ClockPollInterval = std::chrono::milliseconds(5);

}  // namespace

// ---- TSampleGrabber ----

TSampleGrabber::TSampleGrabber() = default;
TSampleGrabber::~TSampleGrabber() = default;

HRESULT TSampleGrabber::SetBufferSamples(bool BufferThem) {
  std::lock_guard Guard(FLock);
  FBufferSamples = BufferThem;
  if (!BufferThem) FBuffer.clear();
  return S_OK;
}

HRESULT TSampleGrabber::SetMediaType(const AM_MEDIA_TYPE& Type) {
  return Type.IsVideo && Type.IsRGB24 ? S_OK : E_INVALIDARG;
}

HRESULT TSampleGrabber::SetCallback(ISampleGrabberCB* Callback, LONG WhichMethodToCallback) {
  if (WhichMethodToCallback != 0 && WhichMethodToCallback != 1) return E_INVALIDARG;
  std::lock_guard Guard(FLock);
  FCallback = TComPtr<ISampleGrabberCB>(Callback);
  FCallbackMethod = WhichMethodToCallback;
  return S_OK;
}

HRESULT TSampleGrabber::GetConnectedMediaType(AM_MEDIA_TYPE& Type) {
  std::lock_guard Guard(FLock);
  if (!FConnected) return VFW_E_NOT_CONNECTED;
  Type = FConnectedType;
  return S_OK;
}

HRESULT TSampleGrabber::GetCurrentBuffer(LONG* BufferSize, Byte* Buffer) {
  if (!BufferSize) return E_POINTER;
  std::lock_guard Guard(FLock);
  if (!FBufferSamples || FBuffer.empty()) return VFW_E_WRONG_STATE;
  const LONG Size = static_cast<LONG>(FBuffer.size());
  if (!Buffer) {
    *BufferSize = Size;
    return S_OK;
  }
  if (*BufferSize < Size) return E_INVALIDARG;
  std::copy(FBuffer.begin(), FBuffer.end(), Buffer);
  *BufferSize = Size;
  return S_OK;
}

void TSampleGrabber::Connect(Integer Width, Integer Height, Int64 FrameDuration) {
  std::lock_guard Guard(FLock);
  FConnected = true;
  FConnectedType.IsVideo = true;
  FConnectedType.IsRGB24 = true;
  FConnectedType.formattype = FORMAT_VideoInfo;
  VIDEOINFOHEADER& Info = FConnectedType.VideoInfo;
  Info.rcSource = Info.rcTarget = TRect{0, 0, Width, Height};
  Info.AvgTimePerFrame = FrameDuration;
  Info.bmiHeader.biSize = 40;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 24;
  Info.bmiHeader.biCompression = BI_RGB;
  Info.bmiHeader.biSizeImage = static_cast<DWORD>(((Width * 3 + 3) & ~3) * Height);
}

void TSampleGrabber::Deliver(double SampleTime, const Byte* Sample, LONG SampleSize) {
  TComPtr<ISampleGrabberCB> Callback;
  LONG Method = 0;
  {
    std::lock_guard Guard(FLock);
    if (FBufferSamples) FBuffer.assign(Sample, Sample + SampleSize);
    Callback = FCallback;
    Method = FCallbackMethod;
  }
  if (!Callback) return;
  if (Method == 1)
    Callback->BufferCB(SampleTime, Sample, SampleSize);
  else
    Callback->SampleCB(SampleTime, nullptr);
}

// ---- TFilterGraph: building ----

TFilterGraph::TFilterGraph() = default;

TFilterGraph::~TFilterGraph() {
  {
    std::lock_guard Guard(FLock);
    FQuit = true;
  }
  FWake.notify_all();
  if (FThread.joinable()) FThread.join();
}

HRESULT TFilterGraph::AddSourceFilter(const std::u16string& FileName) {
  if (FSource) return VFW_E_WRONG_STATE;
  FSource = TMediaDecoder::Open(Utf16ToUtf8(FileName));
  return FSource ? S_OK : VFW_E_NOT_FOUND;
}

TSampleGrabber* TFilterGraph::AddSampleGrabber() {
  if (!FGrabber) FGrabber = std::make_unique<TSampleGrabber>();
  return FGrabber.get();
}

HRESULT TFilterGraph::RenderVideo() {
  if (!FSource) return VFW_E_NOT_CONNECTED;
  if (FThread.joinable()) return S_OK;
  if (FGrabber) FGrabber->Connect(FSource->GetWidth(), FSource->GetHeight(), FSource->GetFrameDuration());
  FThread = std::thread([this] { StreamingThread(); });
  return S_OK;
}

HRESULT TFilterGraph::SetSyncSource(bool UsePlatformClock) {
  std::lock_guard Guard(FLock);
  FSynchronised = UsePlatformClock;
  return S_OK;
}

HRESULT TFilterGraph::RenderAudio() {
  return VFW_E_NO_AUDIO_HARDWARE;
}

// ---- Media control ----

HRESULT TFilterGraph::Run() {
  if (!FThread.joinable()) return VFW_E_NOT_CONNECTED;
  {
    std::lock_guard Guard(FLock);
    if (FState == State_Running) return S_OK;
    // From the stopped state the frame at the position is cued first.
    if (FState == State_Stopped) FCuePending = true;
    FStopAfterCue = false;
    FState = State_Running;
    FRunStartPosition = FShownPosition = FPosition;
    FRunStartClock = GetClockSource().MonotonicNanoseconds();
  }
  FWake.notify_all();
  return S_OK;
}

HRESULT TFilterGraph::Pause() {
  if (!FThread.joinable()) return VFW_E_NOT_CONNECTED;
  bool Cueing;
  {
    std::lock_guard Guard(FLock);
    if (FState == State_Running) {
      FPosition = RunningPosition();
    } else if (FState == State_Stopped) {
      FCuePending = true;
      FFramePending = false;
    }
    FStopAfterCue = false;
    FState = State_Paused;
    Cueing = FCuePending;
  }
  FWake.notify_all();
  return Cueing ? S_FALSE : S_OK;
}

HRESULT TFilterGraph::Stop() {
  {
    std::lock_guard Guard(FLock);
    if (FState == State_Running) FPosition = RunningPosition();
    FState = State_Stopped;
    FCuePending = false;
    FStopAfterCue = false;
    FFramePending = false;
  }
  FSettled.notify_all();
  FWake.notify_all();
  return S_OK;
}

HRESULT TFilterGraph::StopWhenReady() {
  {
    std::unique_lock Lock(FLock);
    if (FState == State_Stopped) return S_OK;
    if (FState == State_Running) FPosition = RunningPosition();
    if (FCuePending) {
      FState = State_Paused;
      FStopAfterCue = true;
      return S_FALSE;
    }
  }
  return Stop();
}

HRESULT TFilterGraph::GetState(DWORD TimeoutMs, FILTER_STATE& State) {
  std::unique_lock Lock(FLock);
  // Waiting for the streaming thread, not for media time: a real wait whatever the clock.
  FSettled.wait_for(Lock, std::chrono::milliseconds(TimeoutMs), [this] { return !FCuePending; });
  State = FStopAfterCue ? State_Stopped : FState;
  return FCuePending ? VFW_S_STATE_INTERMEDIATE : S_OK;
}

// ---- Seeking ----

HRESULT TFilterGraph::SetTimeFormat(TMediaTimeFormat Format) {
  switch (Format) {
    case TIME_FORMAT_NONE:
    case TIME_FORMAT_MEDIA_TIME:
      FTimeFormat = TIME_FORMAT_MEDIA_TIME;
      return S_OK;
    case TIME_FORMAT_FRAME:
      FTimeFormat = TIME_FORMAT_FRAME;
      return S_OK;
    default:
      return VFW_E_NO_TIME_FORMAT;
  }
}

Int64 TFilterGraph::ToMediaTime(Int64 Value) const {
  if (FTimeFormat != TIME_FORMAT_FRAME) return Value;
  // A frame number far outside the movie saturates instead of overflowing.
  Int64 Time;
  if (__builtin_mul_overflow(Value, FSource->GetFrameDuration(), &Time))
    return Value < 0 ? std::numeric_limits<Int64>::min() : std::numeric_limits<Int64>::max();
  return Time;
}

Int64 TFilterGraph::FromMediaTime(Int64 Value) const {
  return FTimeFormat == TIME_FORMAT_FRAME ? Value / FSource->GetFrameDuration() : Value;
}

HRESULT TFilterGraph::GetDuration(Int64& Duration) {
  if (!FSource) return VFW_E_NOT_CONNECTED;
  Duration = FTimeFormat == TIME_FORMAT_FRAME ? FSource->GetFrameCount() : FSource->GetDuration();
  return S_OK;
}

Int64 TFilterGraph::RunningPosition() const {
  if (!FSynchronised) return FShownPosition;
  const Int64 Elapsed = (GetClockSource().MonotonicNanoseconds() - FRunStartClock) / 100;
  return std::min(FSource->GetDuration(), FRunStartPosition + std::max<Int64>(0, Elapsed));
}

HRESULT TFilterGraph::GetCurrentPosition(Int64& Position) {
  if (!FSource) return VFW_E_NOT_CONNECTED;
  std::lock_guard Guard(FLock);
  Position = FromMediaTime(FState == State_Running ? RunningPosition() : FPosition);
  return S_OK;
}

HRESULT TFilterGraph::SetPositions(Int64 Current, DWORD CurrentFlags, DWORD) {
  if (!FSource) return VFW_E_NOT_CONNECTED;
  if ((CurrentFlags & AM_SEEKING_AbsolutePositioning) == 0) return S_OK;
  // Before the start is the start; past the end is the end.
  const Int64 Target = std::clamp<Int64>(ToMediaTime(Current), 0, FSource->GetDuration());
  {
    std::lock_guard Guard(FLock);
    FPosition = Target;
    FEndOfStream = false;
    FCompleteSent = false;
    FFramePending = false;
    if (FState != State_Stopped) FCuePending = true;
    if (FState == State_Running) {
      FRunStartPosition = FShownPosition = Target;
      FRunStartClock = GetClockSource().MonotonicNanoseconds();
    }
  }
  FWake.notify_all();
  return S_OK;
}

// ---- Events ----

HRESULT TFilterGraph::SetNotifyWindow(HWND Window, UINT Msg, LONG_PTR InstanceData) {
  std::lock_guard Guard(FLock);
  FNotifyWindow = Window;
  FNotifyMsg = Msg;
  FNotifyInstance = InstanceData;
  return S_OK;
}

HRESULT TFilterGraph::GetEvent(LONG& EventCode, LONG_PTR& Param1, LONG_PTR& Param2, DWORD) {
  std::lock_guard Guard(FLock);
  if (FEvents.empty()) return E_ABORT;
  const TEvent Event = FEvents.front();
  FEvents.pop_front();
  EventCode = Event.Code;
  Param1 = Event.Param1;
  Param2 = Event.Param2;
  return S_OK;
}

HRESULT TFilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) {
  return S_OK;
}

void TFilterGraph::QueueEvent(LONG Code, LONG_PTR Param1, LONG_PTR Param2) {
  FEvents.push_back(TEvent{Code, Param1, Param2});
  // Posted, not sent: the window's thread fetches the events with GetEvent.
  if (FNotifyWindow) PostMessage(FNotifyWindow, FNotifyMsg, 0, FNotifyInstance);
}

// ---- The streaming thread ----

void TFilterGraph::DeliverFrame(std::unique_lock<std::mutex>& Lock) {
  FFramePending = false;
  if (!FGrabber) return;
  const Int64 Start = FPendingStart;
  FShownPosition = std::max(FShownPosition, Start);
  Lock.unlock();
  const Byte* Sample = FSource->ConvertToRGB24();
  FGrabber->Deliver(static_cast<double>(Start) / 1e7, Sample, FSource->GetFrameBytes());
  Lock.lock();
}

void TFilterGraph::CueCurrentFrame(std::unique_lock<std::mutex>& Lock) {
  const Int64 Target = FPosition;
  Lock.unlock();
  Int64 Start = 0;
  const bool Found = FSource->SeekTo(Target) && FSource->DecodeNext(Start);
  Lock.lock();
  // A newer command (seek, stop) came meanwhile: it cues again.
  if (!FCuePending || FPosition != Target) return;
  FFramePending = Found;
  FPendingStart = Start;
  FEndOfStream = !Found;
  if (Found) DeliverFrame(Lock);
  if (!FCuePending || FPosition != Target) return;
  FCuePending = false;
  if (FStopAfterCue) {
    FStopAfterCue = false;
    FState = State_Stopped;
  }
  // A running graph keeps the start Run or the seek gave it: frames a slow cue delayed catch up.
  FSettled.notify_all();
}

void TFilterGraph::PlayNextFrame(std::unique_lock<std::mutex>& Lock) {
  if (!FFramePending && !FEndOfStream) {
    const Int64 Position = FRunStartPosition;
    Lock.unlock();
    Int64 Start = 0;
    const bool Found = FSource->DecodeNext(Start);
    Lock.lock();
    if (FState != State_Running || FCuePending || FRunStartPosition != Position) return;
    FFramePending = Found;
    FPendingStart = Start;
    FEndOfStream = !Found;
  }
  // A frame is shown when the clock reaches its start; the end is reported when the clock
  // reaches the end of the stream.
  const Int64 Due = FFramePending ? FPendingStart : FSource->GetDuration();
  // Without a clock every frame is shown as soon as it is decoded.
  const Int64 Now = FSynchronised ? RunningPosition() : Due;
  if (Now >= Due) {
    if (FFramePending) {
      DeliverFrame(Lock);
    } else if (!FCompleteSent) {
      FCompleteSent = true;
      FShownPosition = FSource->GetDuration();
      QueueEvent(EC_COMPLETE, 0, 0);
    }
    return;
  }
  const auto Wait =
      std::min<std::chrono::nanoseconds>(std::chrono::nanoseconds((Due - Now) * 100), ClockPollInterval);
  FWake.wait_for(Lock, Wait);
}

void TFilterGraph::StreamingThread() {
  std::unique_lock Lock(FLock);
  while (!FQuit) {
    if (FCuePending) {
      CueCurrentFrame(Lock);
    } else if (FState == State_Running && !FCompleteSent) {
      PlayNextFrame(Lock);
    } else {
      FWake.wait(Lock);
    }
  }
}
