#pragma once
// The scanner settings a TZezudIdIO owns. The program acquires nothing from scanners, so no
// operation reads these values; the object only has to be complete: defaults, reset, and the
// release of the scanner source manager at its end.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/ielists.h"
#include "platform/system/Object.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"
#include "platform/user/WinUser.h"

class TZezudIdIO;

// The plain values, in declaration order with their defaults; a reset assigns a fresh one.
struct TIETWainValues {
  bool VisibleDialog = true;
  bool ShowSettingsOnly = false;
  Integer SelectedSource = 0;
  bool DuplexEnabled = false;
  bool FeederEnabled = false;
  Double Gamma = 2.2;
  std::array<Single, 4> AcquireFrame{};  // left, top, right, bottom in inches
  bool UseAcquireFrame = false;
  bool AutoFeed = true;
  std::array<Single, 4> PaperFrame{};
  bool ProgressIndicator = true;
  bool AutoBrightness = true;
  bool AutoDeskew = false;
  bool AutoBorderDetection = false;
  bool AutoRotate = false;
  bool UndefinedImageSize = false;
  bool DuplexSupported = false;
  bool FeederLoaded = false;
  bool PaperDetectable = false;
  bool AutoScan = false;
  bool ClearBuffers = false;
  Integer TransferCount = -2;
  bool CompressedTransfer = false;
  Double PhysicalWidth = -1;
  Double PhysicalHeight = -1;
  std::string Manufacturer, ProductFamily, ProductName, VersionInfo;
  bool FileTransfer = false;
  Word Language = 0xFFFF;
  Word Country = 1;
  Integer LastError = 0;
  std::string LastErrorText;
};

// What the source manager and its proxy window left behind; empty while nothing was loaded.
struct TIETWainState {
  void* SourceManagerLibrary = nullptr;  // from dlopen
  void* DSMEntry = nullptr;              // the source manager's entry point
  bool SourceManagerLoaded = false;
  Integer TWainState = 0;  // the source manager's protocol state; 0: none
  HWND ProxyWindow = nullptr;
};

class TIETWainParams : public TObject, public TIETWainValues {
 public:
  explicit TIETWainParams(TZezudIdIO* Owner);
  // Releases the source manager.
  ~TIETWainParams() override;

  // Frees every capability block, empties the lists and the data stream, and sets every value
  // to its default. The source manager's state is kept.
  void SetDefaultParams();

  TZezudIdIO* GetOwner() const { return FOwner; }
  // What the destruction releases (filled by an acquisition).
  const TIETWainState& GetTWainState() const { return FTWainState; }
  TIETWainState& GetTWainState() { return FTWainState; }

  // Capability blocks handed over by the source, owned until the next reset.
  std::vector<std::unique_ptr<Byte[]>> CapabilityBlocks;
  TIEDoubleList XResolution, YResolution, XScaling, YScaling;
  TIEIntegerList PixelType, BitDepth;
  TIEIntegerList Orientation;
  TIEDoubleList Contrast, Brightness;
  TIEDoubleList Threshold, Rotation;
  TIEIntegerList StandardSize;
  TMemoryStream Data;

 private:
  TZezudIdIO* FOwner;
  TIETWainState FTWainState;
};
