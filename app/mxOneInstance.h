#pragma once
// TmxOneInstance keeps a second copy of the program from running. When its form has read all
// its components it takes a mutex named after the application's title; when another copy
// holds it, that copy's main window is brought forward (a request over the instance channel)
// and this copy's message loop is told to end. The copy that runs first listens for those
// requests until the component goes.
//
// Ownership: the component owns the mutex handle and the listener.
#include <memory>
#include <string>

#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/system/WinTypes.h"

class TInstanceListener;

class TmxOneInstance : public TComponent {
 public:
  // The longest name the mutex takes; a longer title is cut to it.
  static constexpr std::size_t MaxNameLength = 256;

  explicit TmxOneInstance(TComponent* AOwner);
  ~TmxOneInstance() override;

  bool GetTerminate() const { return FTerminate; }
  void SetTerminate(bool Value) { FTerminate = Value; }
  bool GetSwitchToPrevious() const { return FSwitchToPrevious; }
  void SetSwitchToPrevious(bool Value) { FSwitchToPrevious = Value; }
  bool GetHandleOwned() const { return FHandleOwned; }
  // "major.minor" of the component; setting it changes nothing.
  std::string GetVersion() const;
  void SetVersion(const std::string&) {}
  // True when another copy held the name at Loaded.
  bool GetOtherInstance() const { return FOtherInstance; }

  TNotifyEvent OnInstanceExists;

 protected:
  void Loaded() override;

 private:
  bool FTerminate = true;
  bool FSwitchToPrevious = true;
  HANDLE FMutex = nullptr;
  bool FHandleOwned = false;
  bool FOtherInstance = false;
  Word FVersion = 0x0115;
  std::unique_ptr<TInstanceListener> FListener;
};

// Brings the application's main window forward: restored when minimised, else put on top.
void RaiseMainWindow();
