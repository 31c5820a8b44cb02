#pragma once
// TmxWebUpdate: checks an update page on the web for a newer version, downloads the offered
// file and shows the user where it is. The page names the offer in META tags; the transfer
// runs on the calling (UI) thread and pumps the message queue after every block.
//
// A downloaded file is never run: with uoRunUpdate its folder is opened (through
// WebUpdateOpenFolder) so that the user decides what to do with it.
//
// Ownership: the three property objects and PageLines are owned by the component.
#include <functional>
#include <memory>
#include <string>

#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/system/Sets.h"
#include "platform/system/StringList.h"
#include "platform/system/Types.h"

enum TmxUpdateOption { uoRunUpdate, uoTerminate, uoOverwrite };
using TmxUpdateOptions = TSet<TmxUpdateOption, 8>;
enum TmxVersionFormat { vfStandard, vfString, vfNumber };

using TDownloadEvent = TDelegate<void(TObject* Sender, Integer Total, Integer Downloaded)>;
using TShowInfoEvent = TDelegate<void(TObject* Sender, bool& ShowInfo, bool& CheckForUpdate)>;
using TAfterShowInfoEvent = TDelegate<void(TObject* Sender, bool CheckForUpdate)>;
using TGetClientFileNameEvent = TDelegate<void(TObject* Sender, std::string& FileName)>;
using TDownloadFileEvent = TDelegate<void(TObject* Sender, std::string FileName)>;
using TClientFileExistsEvent = TDelegate<void(TObject* Sender, std::string& FileName, bool& Overwrite)>;
using TUpdateAvailableEvent =
    TDelegate<void(TObject* Sender, std::string ActualVersion, std::string NewVersion, bool& CanUpdate)>;

class TmxProductInfo : public TPersistent {
 public:
  TmxProductInfo() { SetURL(""); }
  const std::string& GetURL() const { return FURL; }
  // Prepends "http://" unless the address starts with it (in any case).
  void SetURL(const std::string& Value);
  const std::string& GetVersion() const { return FVersion; }
  void SetVersion(const std::string& Value) { FVersion = Value; }
  TmxVersionFormat GetVersionFormat() const { return FVersionFormat; }
  void SetVersionFormat(TmxVersionFormat Value) { FVersionFormat = Value; }

 private:
  std::string FURL;
  std::string FVersion = "1.0";
  TmxVersionFormat FVersionFormat = vfStandard;
};

class TmxTagInfo : public TPersistent {
 public:
  std::string Author = "mxAuthor";
  std::string Email = "mxEmail";
  std::string ClientFileName = "mxClientSideName";
  std::string Download = "mxDownload";
  std::string ProductName = "mxProduct";
  std::string Redirection = "mxRedirection";
  std::string RunParameters = "mxRunParameters";
  std::string Version = "mxVersion";
};

class TmxInfoCaption : public TPersistent {
 public:
  std::string OkButton = "&OK";
  std::string CancelButton = "&Cancel";
  std::string CheckForUpdate = "C&heck for updates in the future";
};

// Opens a folder for the user (the desktop's file manager); false when that cannot be
// started. Tests replace it.
using TOpenFolderProc = std::function<bool(const std::string& Folder)>;
extern TOpenFolderProc WebUpdateOpenFolder;
bool OpenFolderWithDesktop(const std::string& Folder);

class TmxWebUpdate : public TComponent {
 public:
  // Pages named by redirection tags are followed at most this many times in a row.
  static constexpr Integer MaxRedirections = 8;
  // An update page is text; a longer answer is not one.
  static constexpr Integer MaxPageBytes = 1 << 20;
  static constexpr Integer BlockSize = 1025;

  explicit TmxWebUpdate(TComponent* AOwner);
  ~TmxWebUpdate() override;

  std::string GetVersion() const;
  void SetVersion(const std::string&) {}
  TmxProductInfo* GetProductInfo() const { return FProductInfo.get(); }
  TmxTagInfo* GetTagInfo() const { return FTagInfo.get(); }
  TmxInfoCaption* GetInfoCaption() const { return FInfoCaption.get(); }
  TmxUpdateOptions GetOptions() const { return FOptions; }
  void SetOptions(TmxUpdateOptions Value) { FOptions = Value; }
  bool GetBusy() const { return FBusy; }
  const std::string& GetLocalFileName() const { return FLocalFileName; }
  const std::string& GetUserName() const { return FUserName; }
  void SetUserName(const std::string& Value) { FUserName = Value; }
  const std::string& GetPassword() const { return FPassword; }
  void SetPassword(const std::string& Value) { FPassword = Value; }
  const std::string& GetTargetFolder() const { return FTargetFolder; }
  void SetTargetFolder(const std::string& Value) { FTargetFolder = Value; }
  Cardinal GetHTTPPort() const { return FHTTPPort; }
  void SetHTTPPort(Cardinal Value) { FHTTPPort = Value; }
  TStringList* GetPageLines() const { return FPageLines.get(); }

  const std::string& GetOfferedVersion() const { return FOfferedVersion; }
  const std::string& GetDownloadURL() const { return FDownloadURL; }
  const std::string& GetOfferedFileName() const { return FOfferedFileName; }
  const std::string& GetRedirectURL() const { return FRedirectURL; }
  const std::string& GetOfferedAuthor() const { return FOfferedAuthor; }
  const std::string& GetOfferedEmail() const { return FOfferedEmail; }
  const std::string& GetOfferedProduct() const { return FOfferedProduct; }
  const std::string& GetOfferedRunParameters() const { return FOfferedRunParameters; }
  bool GetTransferOK() const { return FTransferOK; }
  Integer GetTotalBytes() const { return FTotalBytes; }
  Integer GetReceivedBytes() const { return FReceivedBytes; }
  bool GetTransferring() const { return FTransferring; }
  bool GetDownloading() const { return FDownloading; }

  // True when a newer version was found and accepted; Busy then stays set until
  // DownloadUpdate or Cancel ends the offer.
  bool LookForUpdate();
  // True when the offered file was downloaded completely.
  bool DownloadUpdate();
  // Stops a running transfer before its next block; without one, drops a pending offer.
  void Cancel();

  // Internal steps, open for the program's tests.
  void FetchUrl(const std::string& URL, const std::string& UserName, const std::string& Password,
                bool RequireLength, bool ToFile, const std::string& FileName);
  void GetInfo();
  void ParseInfoTags();
  bool CompareVersions();
  void DownloadFile();
  virtual void SplitURL(const std::string& URL, std::string& Host, std::string& Path);
  virtual void GetLocalFileName(std::string& Name);

  TDownloadEvent OnDownload;
  TNotifyEvent OnDownloadError;
  TNotifyEvent OnNoUpdateFound;
  TNotifyEvent OnBeforeGetInfo;
  TNotifyEvent OnAfterGetInfo;
  TNotifyEvent OnCannotExecute;
  TShowInfoEvent OnBeforeShowInfo;
  TAfterShowInfoEvent OnAfterShowInfo;
  TDownloadFileEvent OnBeforeDownload;
  TDownloadFileEvent OnAfterDownload;
  TClientFileExistsEvent OnClientFileExists;
  TGetClientFileNameEvent OnGetClientFileName;
  TUpdateAvailableEvent OnUpdateAvailable;

 protected:
  virtual void FireDownload();
  virtual void FireDownloadError();
  virtual void FireBeforeDownload(const std::string& FileName);
  virtual void FireAfterDownload(const std::string& FileName);
  virtual void FireNoUpdateFound();
  virtual void FireAfterGetInfo();
  virtual void FireBeforeGetInfo();
  virtual void FireCannotExecute();
  virtual bool ShowInfo();

 private:
  void GetInfoFrom(Integer Depth);

  Word FVersion = 277;
  std::unique_ptr<TmxProductInfo> FProductInfo;
  std::unique_ptr<TmxTagInfo> FTagInfo;
  TmxUpdateOptions FOptions{uoRunUpdate, uoTerminate};
  std::unique_ptr<TmxInfoCaption> FInfoCaption;
  bool FBusy = false;
  std::string FLocalFileName;
  std::string FUserName;
  std::string FPassword;
  std::unique_ptr<TStringList> FPageLines;
  bool FCancelRequested = false;
  bool FTransferring = false;
  bool FDownloading = false;
  std::string FOfferedVersion;
  std::string FDownloadURL;
  std::string FOfferedFileName;
  std::string FRedirectURL;
  std::string FOfferedAuthor;
  std::string FOfferedEmail;
  std::string FOfferedProduct;
  std::string FOfferedRunParameters;
  bool FTransferOK = false;
  Integer FTotalBytes = 0;
  Integer FBlockBytes = 0;
  Integer FReceivedBytes = 0;
  std::string FTargetFolder;
  Cardinal FHTTPPort = 80;
};

// The file part of an offered name, stripped of any folder (either delimiter); empty when
// nothing usable remains ("", ".", "..").
std::string SafeOfferedFileName(const std::string& Name);
