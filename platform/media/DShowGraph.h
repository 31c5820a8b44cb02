#pragma once
// The playback graph: a media file's video stream decoded on a streaming thread of its own,
// paced by the platform's clock, handed as RGB24 samples to a sample grabber and otherwise to
// a null renderer. It offers the media control (run, pause, stop, state), the seeking (time
// formats, duration, position) and the event queue with its notify window. Capture devices,
// DVD navigators, compressors, the video mixing renderer and an audio renderer are not
// present here: asking for them reports that none exists.
//
// Threads: every method may be called from the thread that owns the graph; the sample
// grabber's callback runs on the streaming thread and must only post messages. Positions and
// durations are 100-ns units in TIME_FORMAT_MEDIA_TIME and frame numbers in TIME_FORMAT_FRAME.
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/devices/ComObjects.h"
#include "platform/gdi/BitmapInfo.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"
#include "platform/user/WinUser.h"

class TMediaDecoder;
class TSampleGrabber;

constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
constexpr HRESULT VFW_S_STATE_INTERMEDIATE = 0x00040237;
constexpr HRESULT VFW_S_CANT_CUE = 0x00040268;
constexpr HRESULT VFW_E_NOT_CONNECTED = static_cast<HRESULT>(0x80040209u);
constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);
constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216u);
constexpr HRESULT VFW_E_NO_TIME_FORMAT = static_cast<HRESULT>(0x80040276u);
constexpr HRESULT VFW_E_NO_AUDIO_HARDWARE = static_cast<HRESULT>(0x80040256u);

// Event codes of the graph's queue.
constexpr LONG EC_COMPLETE = 0x01;    // every stream reached its end while running
constexpr LONG EC_ERRORABORT = 0x03;  // playback stopped on an error (param 1 the result)

enum FILTER_STATE : Byte { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

// The seeking's time formats, numbered as the imaging library's enumeration.
enum TMediaTimeFormat : Byte {
  TIME_FORMAT_NONE,  // the graph's default, media time
  TIME_FORMAT_FRAME,
  TIME_FORMAT_SAMPLE,
  TIME_FORMAT_FIELD,
  TIME_FORMAT_BYTE,
  TIME_FORMAT_MEDIA_TIME
};

// SetPositions flags.
constexpr DWORD AM_SEEKING_NoPositioning = 0;
constexpr DWORD AM_SEEKING_AbsolutePositioning = 1;

// The sample grabber's connected media type: video as a VIDEOINFOHEADER, whose bitmap header
// describes the bottom-up RGB24 rows of a sample.
enum TMediaFormatType : Byte { FORMAT_None, FORMAT_VideoInfo };
struct VIDEOINFOHEADER {
  TRect rcSource{}, rcTarget{};
  DWORD dwBitRate = 0;
  DWORD dwBitErrorRate = 0;
  Int64 AvgTimePerFrame = 0;  // 100-ns units
  BITMAPINFOHEADER bmiHeader{};
};
struct AM_MEDIA_TYPE {
  bool IsVideo = false;
  bool IsRGB24 = false;
  TMediaFormatType formattype = FORMAT_None;
  VIDEOINFOHEADER VideoInfo;
};

// Receives the grabber's samples on the streaming thread.
class ISampleGrabberCB : public IUnknown {
 public:
  virtual HRESULT SampleCB(double SampleTime, void* Sample) = 0;
  // Buffer holds BufferLen bytes of one sample, valid during the call only.
  virtual HRESULT BufferCB(double SampleTime, const Byte* Buffer, LONG BufferLen) = 0;
};

// Takes the decoded frames as RGB24 samples (rows of width x 3 bytes padded to 4, bottom-up)
// and keeps the last one when buffering is on. Owned by its graph.
class TSampleGrabber {
 public:
  TSampleGrabber();
  ~TSampleGrabber();
  TSampleGrabber(const TSampleGrabber&) = delete;
  TSampleGrabber& operator=(const TSampleGrabber&) = delete;

  HRESULT SetBufferSamples(bool BufferThem);
  // Only video as RGB24 is taken (E_INVALIDARG otherwise).
  HRESULT SetMediaType(const AM_MEDIA_TYPE& Type);
  // WhichMethodToCallback 0 SampleCB, 1 BufferCB; the callback is held (nullptr drops it).
  HRESULT SetCallback(ISampleGrabberCB* Callback, LONG WhichMethodToCallback);
  // VFW_E_NOT_CONNECTED until the graph connected a video stream to the grabber.
  HRESULT GetConnectedMediaType(AM_MEDIA_TYPE& Type);
  // Buffer nullptr: *BufferSize receives the size of the buffered sample. Otherwise the sample
  // is copied when *BufferSize is large enough (E_INVALIDARG when not). VFW_E_WRONG_STATE
  // while nothing is buffered.
  HRESULT GetCurrentBuffer(LONG* BufferSize, Byte* Buffer);

 private:
  friend class TFilterGraph;
  void Connect(Integer Width, Integer Height, Int64 FrameDuration);
  // On the streaming thread: one sample of SampleSize bytes.
  void Deliver(double SampleTime, const Byte* Sample, LONG SampleSize);

  std::mutex FLock;
  bool FBufferSamples = false;
  bool FConnected = false;
  AM_MEDIA_TYPE FConnectedType;
  std::vector<Byte> FBuffer;  // the last sample, empty while none
  TComPtr<ISampleGrabberCB> FCallback;
  LONG FCallbackMethod = 0;
};

class TFilterGraph {
 public:
  TFilterGraph();
  // Ends the streaming thread first.
  ~TFilterGraph();
  TFilterGraph(const TFilterGraph&) = delete;
  TFilterGraph& operator=(const TFilterGraph&) = delete;

  // ---- Building --------------------------------------------------------------------------
  // Opens FileName as the source; VFW_E_NOT_FOUND when it cannot be opened or has no video
  // stream a decoder takes. One source per graph.
  HRESULT AddSourceFilter(const std::u16string& FileName);
  // The grabber (owned by the graph), made on the first call.
  TSampleGrabber* AddSampleGrabber();
  // Connects the source's video to the grabber, or to a null renderer without one, and starts
  // the streaming thread in the stopped state. VFW_E_NOT_CONNECTED without a source.
  HRESULT RenderVideo();
  // There is no audio renderer: VFW_E_NO_AUDIO_HARDWARE.
  HRESULT RenderAudio();
  // True (the default): frames are shown when the platform's clock reaches them. False: no
  // clock; frames are shown as soon as they are decoded and the position is the last frame's.
  HRESULT SetSyncSource(bool UsePlatformClock);
  bool HasSource() const { return static_cast<bool>(FSource); }

  // ---- Media control ---------------------------------------------------------------------
  // Pause from the stopped state cues the frame at the current position (a sample is
  // delivered) and completes once it is cued; Run cues first as well. Stop keeps the position.
  HRESULT Run();
  HRESULT Pause();
  HRESULT Stop();
  // Finishes cueing the current frame, then stops.
  HRESULT StopWhenReady();
  // Waits up to TimeoutMs for a pending transition: S_OK, or VFW_S_STATE_INTERMEDIATE while
  // it is still cueing. State is the state asked for.
  HRESULT GetState(DWORD TimeoutMs, FILTER_STATE& State);

  // ---- Seeking ---------------------------------------------------------------------------
  // NONE and MEDIA_TIME give media time, FRAME frame numbers; the others
  // VFW_E_NO_TIME_FORMAT.
  HRESULT SetTimeFormat(TMediaTimeFormat Format);
  TMediaTimeFormat GetTimeFormat() const { return FTimeFormat; }
  HRESULT GetDuration(Int64& Duration);
  // While running, the stream time the clock has reached (at most the duration); otherwise
  // the position playback stands at.
  HRESULT GetCurrentPosition(Int64& Position);
  // Moves to Current (clamped to 0 .. duration); a paused graph cues the frame there, a
  // running one continues from it.
  HRESULT SetPositions(Int64 Current, DWORD CurrentFlags, DWORD StopFlags);

  // ---- Events ----------------------------------------------------------------------------
  // Every event queued from now on is announced by PostMessage(Window, Msg, 0, InstanceData);
  // a null window stops the announcements.
  HRESULT SetNotifyWindow(HWND Window, UINT Msg, LONG_PTR InstanceData);
  // The oldest waiting event; E_ABORT when none is waiting (TimeoutMs is not waited here: the
  // queue is only filled by the streaming thread, and callers poll after the message).
  HRESULT GetEvent(LONG& EventCode, LONG_PTR& Param1, LONG_PTR& Param2, DWORD TimeoutMs);
  HRESULT FreeEventParams(LONG EventCode, LONG_PTR Param1, LONG_PTR Param2);

 private:
  struct TEvent {
    LONG Code;
    LONG_PTR Param1, Param2;
  };
  void StreamingThread();
  // Streaming-thread steps; the lock is held on entry and exit but released while decoding.
  void CueCurrentFrame(std::unique_lock<std::mutex>& Lock);
  void PlayNextFrame(std::unique_lock<std::mutex>& Lock);
  void DeliverFrame(std::unique_lock<std::mutex>& Lock);
  void QueueEvent(LONG Code, LONG_PTR Param1, LONG_PTR Param2);
  // Lock held: the stream time the clock has reached while running.
  Int64 RunningPosition() const;
  Int64 ToMediaTime(Int64 Value) const;
  Int64 FromMediaTime(Int64 Value) const;

  std::unique_ptr<TMediaDecoder> FSource;
  std::unique_ptr<TSampleGrabber> FGrabber;
  TMediaTimeFormat FTimeFormat = TIME_FORMAT_MEDIA_TIME;

  mutable std::mutex FLock;
  std::condition_variable FWake;     // to the streaming thread: a command arrived
  std::condition_variable FSettled;  // to callers: a cue has finished
  std::thread FThread;
  bool FQuit = false;
  FILTER_STATE FState = State_Stopped;
  bool FCuePending = false;
  bool FStopAfterCue = false;
  Int64 FPosition = 0;          // stream position while not running (100 ns)
  Int64 FRunStartPosition = 0;  // stream position at FRunStartClock
  Int64 FRunStartClock = 0;     // clock nanoseconds when running began
  bool FSynchronised = true;
  Int64 FShownPosition = 0;    // without a clock: the start of the last frame shown
  bool FFramePending = false;  // a decoded frame waits for its presentation time
  Int64 FPendingStart = 0;
  bool FEndOfStream = false;
  bool FCompleteSent = false;
  std::deque<TEvent> FEvents;
  HWND FNotifyWindow = nullptr;
  UINT FNotifyMsg = 0;
  LONG_PTR FNotifyInstance = 0;
};
