#pragma once
// Helpers of the settings and language tests: the settings file written before the main
// window starts, language files, and answers to the platform's own message boxes (the skinned
// ones are answered too).
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "platform/classes/Forms.h"
#include "platform/classes/StdCtrls.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Streams.h"
#include "platform/user/WindowMessages.h"

// The settings file the main window reads at start.
inline std::string SettingsFileName() {
  return GetEnvironmentVariable("XDG_DATA_HOME") + "/ZOR/Tilvarok/Tilvarok.ini";
}

// Replaces the settings file by Text (no file for an empty text).
inline void WriteSettings(const std::string& Text) {
  DeleteFile(SettingsFileName());
  if (Text.empty()) return;
  TFileStream F(SettingsFileName(), fmCreate);
  F.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

inline std::string ReadSettingText(const char* Section, const char* Key) {
  TIniFile Ini(SettingsFileName());
  return Ini.ReadString(Section, Key, "<missing>");
}

// Writes a text file (a language file) under FileName.
inline void WriteTextFile(const std::string& FileName, const std::string& Text) {
  ForceDirectories(ExtractFileDir(FileName));
  TFileStream F(FileName, fmCreate);
  F.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

// Confirms every message box while it lives and keeps its text.
struct TBoxAnswers {
  std::vector<std::string> Messages;
  TBoxAnswers() {
    SetModalHook([this] {
      TForm* Active = Screen->GetActiveForm();
      if (Active == nullptr) return;
      if (auto* Box = dynamic_cast<TbsMessageForm*>(Active)) {
        Messages.push_back(Box->Message->GetCaption());
      } else if (auto* Text = dynamic_cast<TLabel*>(Active->FindComponent("Message"))) {
        Messages.push_back(Text->GetCaption());
      } else {
        return;
      }
      Active->SetModalResult(mrOk);
    });
  }
  ~TBoxAnswers() { SetModalHook(nullptr); }
  TBoxAnswers(const TBoxAnswers&) = delete;
  TBoxAnswers& operator=(const TBoxAnswers&) = delete;
};
