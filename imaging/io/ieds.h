#pragma once
// TIEDirectShow: the imaging library's wrapper of a playback graph. It renders a media file,
// hands each decoded frame to the caller as a 24-bit TIEBitmap through a sample grabber,
// announces new frames and graph events as posted window messages, and offers run, pause,
// stop, seeking and the position. TIEMediaReader reads a video file's frame rate, length,
// frame count and frame size. TIEVideoFormat holds one capability of a capture pin.
//
// The platform has no capture devices, compressors, DVD navigator, video mixing renderer or
// audio renderer: graphs that need them are built without them, so VideoFormats and
// CrossbarInputs stay empty and the renderer's operations do nothing.
//
// Threads: the sample grabber's callback runs on the graph's streaming thread and only posts
// the new-frame message; everything else runs on the thread that owns the view.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/GdiObject.h"
#include "platform/media/DShowGraph.h"
#include "platform/system/Object.h"
#include "platform/system/StringList.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"
#include "platform/user/WinUser.h"

class TIEBitmap;
class TIEDirectShow;
class TMediaDet;

// A filter the caller chooses (capture device or compressor). The platform offers none.
class IBaseFilter : public IUnknown {};

// The imaging library's time formats (the graph's, by number).
using TIETimeFormat = TMediaTimeFormat;

// Sends every grabbed sample's arrival to its owner's notify window.
class TIESampleGrabberCB : public TInterfacedObject<ISampleGrabberCB> {
 public:
  explicit TIESampleGrabberCB(TIEDirectShow* Owner) : FOwner(Owner) {}
  // Does nothing.
  HRESULT SampleCB(double SampleTime, void* Sample) override;
  // While the owner's NewFrameNotify is set: PostMessage(notify window, new-frame message, 0,
  // owner). Nothing escapes; always 0.
  HRESULT BufferCB(double SampleTime, const Byte* Buffer, LONG BufferLen) override;

 private:
  TIEDirectShow* FOwner;
};

class TIEVideoFormat : public TObject {
 public:
  std::string SubtypeName;
  Integer BitsPerSecond = 0;
  std::string VideoStandards;
  Integer MinOutputWidth = 0, MinOutputHeight = 0;
  Integer MaxOutputWidth = 0, MaxOutputHeight = 0;
  Integer OutputGranularityX = 0, OutputGranularityY = 0;
};

class TIEDirectShow : public TObject {
 public:
  TIEDirectShow();
  // Disconnects first.
  ~TIEDirectShow() override;
  TIEDirectShow(const TIEDirectShow&) = delete;
  TIEDirectShow& operator=(const TIEDirectShow&) = delete;

  // ---- Settings, filled before Connect ---------------------------------------------------
  std::string SourceFileName;
  TComPtr<IBaseFilter> VideoCaptureFilter, AudioCaptureFilter;
  TComPtr<IBaseFilter> VideoCodecFilter, AudioCodecFilter;
  // Only ".avi" and ".asf" would make a file writer; no capture graph can be built here.
  std::string CaptureFileName;
  bool UseSampleGrabber = false;
  bool UseVideoMixingRenderer = false;
  bool RenderAudio = false;
  // 0 the graph's clock, 1 none, 2 the system clock, 3..6 a filter's clock (none exists here).
  Byte ReferenceClock = 0;
  Integer ClockErrorTolerance = -1;
  // Not empty: Connect builds a DVD graph ("default" keeps the navigator's choice).
  std::u16string DVDPath;
  // The grabber posts new-frame messages only while set; Connect sets it, the view clears it
  // while it handles a frame. Read on the streaming thread.
  std::atomic<Byte> NewFrameNotify{1};

  // ---- Results of a connection -----------------------------------------------------------
  // One per capability of the capture pin (owned); none here.
  std::vector<std::unique_ptr<TIEVideoFormat>> VideoFormats;
  // The crossbar's input pin names; none here.
  TStringList CrossbarInputs;

  // ---- Operations ------------------------------------------------------------------------
  void Connect();
  void Disconnect();
  bool Connected() const { return static_cast<bool>(FGraph); }
  void Run();
  void Pause();
  // Cues the current frame, then stops.
  void Stop();
  // 0 stopped, 1 paused, 2 running; 0 without a graph.
  Byte GetState();
  void SetTimeFormat(TIETimeFormat Format);
  // In the current time format; 0 without a graph or on failure.
  Int64 GetDuration();
  Int64 GetPosition();
  // Seeks, then waits until the graph has settled (at most 10,000 ms by the tick counter).
  void SetPosition(Int64 Position);
  // The current frame into Bitmap as ie24RGB of the frame's size. ResampleToBitmapSize applies
  // to the renderer's image, which this platform does not have.
  void GetSample(TIEBitmap* Bitmap, bool ResampleToBitmapSize);
  // The oldest waiting graph event; false when none waits.
  bool GetEventCode(Integer& Code);
  // The video mixing renderer's operations: nothing here (no renderer).
  void SetVideoPosition(const TRect& Source, const TRect& Destination);
  void GetNativeVideoSize(Integer& Width, Integer& Height);
  void RepaintVideo(HWND Window, HDC DC);
  // Stores the window and the two message numbers; a connected graph announces its events
  // there at once.
  void SetNotifyWindow(HWND Window, UINT NewFrameMessage, UINT EventMessage);
  HWND GetNotifyWindow() const { return FNotifyWindow.load(); }
  UINT GetNewFrameMessage() const { return FNewFrameMessage.load(); }
  UINT GetEventMessage() const { return FEventMessage.load(); }

 private:
  void BuildGraph();
  void BuildDVDGraph();
  // Copies the grabber's buffered sample into Bitmap (Buffer: a sample the caller holds).
  void GrabSample(const Byte* Buffer, TIEBitmap* Bitmap);

  bool FOleInitialized = false;
  std::unique_ptr<TFilterGraph> FGraph;
  TSampleGrabber* FSampleGrabber = nullptr;  // owned by FGraph
  TComPtr<TIESampleGrabberCB> FSampleGrabberCB;
  std::atomic<HWND> FNotifyWindow{nullptr};
  std::atomic<UINT> FNewFrameMessage{0};
  std::atomic<UINT> FEventMessage{0};
};

class TIEMediaReader : public TObject {
 public:
  // Reads FileName's video stream (the last one when there are several); every value stays 0
  // when the file cannot be read.
  explicit TIEMediaReader(const std::string& FileName);
  ~TIEMediaReader() override;

  const std::string& GetFileName() const { return FFileName; }
  double FrameRate = 0;
  double StreamLength = 0;  // seconds
  Int64 TotalFrames = 0;
  Integer FrameWidth = 0;
  Integer FrameHeight = 0;

 private:
  std::string FFileName;
  std::unique_ptr<TMediaDet> FMediaDet;
};
