#pragma once
// The web-update window: a small skinned dialog built in code for every update check, with
// four lines about the offer, two status lines, a gauge, a download and a cancel button.
// The main window fills it from the web-update component's events.
//
// Ownership: each window belongs to the application and lives until the program ends; the
// cancel button only hides it. The references below point at the window built last and
// are cleared when it is destroyed.
#include <array>
#include <functional>
#include <string>

class TForm;
class TForm1;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinGroupBox;
class TbsSkinStdLabel;
class TbsSkinGauge;
class TbsSkinButton;

using TUpdateCallback = std::function<void(TForm1* Form)>;

extern TForm* UpdateWindow;
extern TbsSkinGroupBox* UpdateGroupBox;
extern TbsSkinStdLabel* UpdateHeading;
extern std::array<TbsSkinStdLabel*, 4> UpdateInfoCaptions;
extern std::array<TbsSkinStdLabel*, 4> UpdateInfoValues;
extern TbsSkinStdLabel* UpdateStatus1;
extern TbsSkinStdLabel* UpdateStatus2;
extern TbsSkinGauge* UpdateGauge;
extern TbsSkinButton* UpdateDownloadButton;
extern TbsSkinButton* UpdateCancelButton;

// Builds a new window (one shown before stays where it is) and shows it.
void ShowUpdateWindow(const std::string& Caption, TbsSkinData* SkinData);
// These act on the window built last; without one they do nothing.
void SetUpdateStatus(const std::string& Line1, const std::string& Line2);
void SetUpdateInfo(const std::string& Product, const std::string& FileName,
                   const std::string& InstalledVersion, const std::string& OfferedVersion);
// The download button calls Callback with Form.
void SetUpdateCallback(TUpdateCallback Callback, TForm1* Form);
