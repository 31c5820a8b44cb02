#include "app/mxWebUpdate.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/classes/Application.h"
#include "platform/net/WinInet.h"
#include "platform/shell/ShellAPI.h"
#include "platform/system/Files.h"
#include "platform/system/Paths.h"
#include "platform/system/Strings.h"
#include "platform/user/WinUser.h"

bool OpenFolderWithDesktop(const std::string& Folder) {
  const HINSTANCE Answer = ShellExecute(nullptr, "open", Folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<std::intptr_t>(Answer) > 32;
}

TOpenFolderProc WebUpdateOpenFolder = OpenFolderWithDesktop;

std::string SafeOfferedFileName(const std::string& Name) {
  const std::size_t Slash = Name.find_last_of("/\\");
  std::string Base = Slash == std::string::npos ? Name : Name.substr(Slash + 1);
  if (Base == "." || Base == "..") Base.clear();
  return Base;
}

void TmxProductInfo::SetURL(const std::string& Value) {
  FURL = SameText(Copy(Value, 1, 7), "http://") ? Value : "http://" + Value;
}

namespace {

// Closes the request, the connection and the root handle, in this order, however the
// transfer ends.
struct TWebHandles {
  HINTERNET Root = nullptr, Connection = nullptr, Request = nullptr;
  ~TWebHandles() {
    for (HINTERNET Handle : {Request, Connection, Root})
      if (Handle) InternetCloseHandle(Handle);
  }
};

// The value of a tag attribute that starts at 1-based position From: up to the next double
// quote within 255 characters, else empty.
std::string QuotedValue(const std::string& Line, Integer From) {
  const std::string Rest = Copy(Line, From, 255);
  const Integer Quote = Pos("\"", Rest);
  return Quote > 0 ? Copy(Rest, 1, Quote - 1) : std::string();
}

// The version part before the first "." as a number; a part that is not one counts as 0.
Int64 VersionPart(const std::string& Text) {
  const Integer Dot = Pos(".", Text);
  return StrToInt64Def(Dot > 0 ? Copy(Text, 1, Dot - 1) : Text, 0);
}

void DropVersionPart(std::string& Text) {
  const Integer Dot = Pos(".", Text);
  Text = Dot > 0 ? Copy(Text, Dot + 1, static_cast<Integer>(Text.size())) : std::string();
}

}  // namespace

TmxWebUpdate::TmxWebUpdate(TComponent* AOwner)
    : TComponent(AOwner),
      FProductInfo(std::make_unique<TmxProductInfo>()),
      FTagInfo(std::make_unique<TmxTagInfo>()),
      FInfoCaption(std::make_unique<TmxInfoCaption>()),
      FPageLines(std::make_unique<TStringList>()) {}

TmxWebUpdate::~TmxWebUpdate() {
  Cancel();
}

std::string TmxWebUpdate::GetVersion() const {
  return std::to_string(FVersion >> 8) + "." + std::to_string(FVersion & 0xFF);
}

void TmxWebUpdate::FireDownload() {
  if (OnDownload) OnDownload(this, FTotalBytes, FReceivedBytes);
}
void TmxWebUpdate::FireDownloadError() {
  if (OnDownloadError) OnDownloadError(this);
}
void TmxWebUpdate::FireBeforeDownload(const std::string& FileName) {
  if (OnBeforeDownload) OnBeforeDownload(this, FileName);
}
void TmxWebUpdate::FireAfterDownload(const std::string& FileName) {
  if (OnAfterDownload) OnAfterDownload(this, FileName);
}
void TmxWebUpdate::FireNoUpdateFound() {
  if (OnNoUpdateFound) OnNoUpdateFound(this);
}
void TmxWebUpdate::FireAfterGetInfo() {
  if (OnAfterGetInfo) OnAfterGetInfo(this);
}
void TmxWebUpdate::FireBeforeGetInfo() {
  if (OnBeforeGetInfo) OnBeforeGetInfo(this);
}
void TmxWebUpdate::FireCannotExecute() {
  if (OnCannotExecute) OnCannotExecute(this);
}

bool TmxWebUpdate::ShowInfo() {
  bool Show = true, CheckForUpdate = true;
  if (OnBeforeShowInfo) OnBeforeShowInfo(this, Show, CheckForUpdate);
  return true;
}

void TmxWebUpdate::Cancel() {
  FCancelRequested = true;
  // Declining an offer that waits for its download ends it, so that the next check can run.
  if (!FTransferring) FBusy = false;
}

bool TmxWebUpdate::LookForUpdate() {
  if (FBusy) return false;
  FBusy = true;
  FRedirectURL.clear();
  FireBeforeGetInfo();
  GetInfo();
  FireAfterGetInfo();
  if (FOfferedProduct.empty() || FOfferedVersion.empty()) {
    FireDownloadError();
    FTransferOK = false;
  }
  if (FTransferOK && CompareVersions()) {
    bool CanUpdate = true;
    if (OnUpdateAvailable) OnUpdateAvailable(this, FProductInfo->GetVersion(), FOfferedVersion, CanUpdate);
    if (CanUpdate && ShowInfo()) return true;
  }
  FBusy = false;
  return false;
}

bool TmxWebUpdate::DownloadUpdate() {
  // Reached again from the message pump of a running transfer: one download at a time.
  if (FDownloading || FTransferring) return false;
  FDownloading = true;
  FRedirectURL.clear();
  FireBeforeGetInfo();
  GetInfo();
  FireAfterGetInfo();
  bool CanUpdate = true;
  if (OnUpdateAvailable) OnUpdateAvailable(this, FProductInfo->GetVersion(), FOfferedVersion, CanUpdate);
  DownloadFile();
  const bool Done = FTransferOK;
  if (Done && FOptions.Contains(uoRunUpdate)) {
    // Never run what came from the web: show the user where it is instead.
    if (!WebUpdateOpenFolder || !WebUpdateOpenFolder(ExtractFileDir(FLocalFileName)))
      FireCannotExecute();
    else if (FOptions.Contains(uoTerminate) && Application)
      Application->Terminate();
  }
  FDownloading = false;
  FBusy = false;
  return Done;
}

void TmxWebUpdate::GetInfo() {
  GetInfoFrom(0);
}

void TmxWebUpdate::GetInfoFrom(Integer Depth) {
  FOfferedVersion.clear();
  FDownloadURL.clear();
  FOfferedAuthor.clear();
  FOfferedEmail.clear();
  FOfferedProduct.clear();
  FOfferedRunParameters.clear();
  FetchUrl(FRedirectURL.empty() ? FProductInfo->GetURL() : FRedirectURL, FUserName, FPassword, false, false,
           "");
  if (!FTransferOK) return;
  ParseInfoTags();
  if (FRedirectURL.empty()) return;
  if (Depth + 1 >= MaxRedirections) {
    // Pages that keep naming further pages (or each other) are not an offer.
    FOfferedVersion.clear();
    FOfferedProduct.clear();
    FRedirectURL.clear();
    FTransferOK = false;
    FireDownloadError();
    return;
  }
  GetInfoFrom(Depth + 1);
}

void TmxWebUpdate::ParseInfoTags() {
  std::string* Fields[] = {&FOfferedProduct, &FOfferedFileName, &FOfferedVersion, &FOfferedAuthor,
                           &FOfferedEmail,   &FDownloadURL,     &FRedirectURL,    &FOfferedRunParameters};
  const std::string* Names[] = {&FTagInfo->ProductName, &FTagInfo->ClientFileName, &FTagInfo->Version,
                                &FTagInfo->Author,      &FTagInfo->Email,          &FTagInfo->Download,
                                &FTagInfo->Redirection, &FTagInfo->RunParameters};
  for (std::string* Field : Fields) Field->clear();
  for (Integer I = 0; I < FPageLines->GetCount(); ++I) {
    const std::string Line = FPageLines->GetStrings(I);
    const Integer Meta = Pos("META NAME", Line);
    if (Meta == 0) continue;
    const std::string Name = QuotedValue(Line, Meta + 11);
    const Integer Content = Pos("CONTENT=", UpperCase(Line));
    const std::string Value = Content > 0 ? QuotedValue(Line, Content + 9) : std::string();
    for (std::size_t T = 0; T < std::size(Names); ++T)
      if (Name == *Names[T]) *Fields[T] = Value;
  }
  FOfferedFileName = SafeOfferedFileName(FOfferedFileName);
}

bool TmxWebUpdate::CompareVersions() {
  std::string Installed = FProductInfo->GetVersion(), Offered = FOfferedVersion;
  switch (FProductInfo->GetVersionFormat()) {
    case vfStandard:
      // Missing parts count as 0 on either side, so 1.5 is older than 1.5.3 and 1.5.0 equals 1.5.
      // Each round drops at least one character, so the loop ends with the texts.
      while (!Installed.empty() || !Offered.empty()) {
        const Int64 I = VersionPart(Installed), O = VersionPart(Offered);
        if (O > I) return true;
        if (I > O) break;
        DropVersionPart(Installed);
        DropVersionPart(Offered);
      }
      break;
    case vfString:
      if (Offered > Installed) return true;
      break;
    case vfNumber: {
      Extended I = 0, O = 0;
      if (TryStrToFloat(Installed, I) && TryStrToFloat(Offered, O) &&
          static_cast<double>(O) > static_cast<double>(I))
        return true;
      break;
    }
  }
  FireNoUpdateFound();
  return false;
}

void TmxWebUpdate::GetLocalFileName(std::string& Name) {
  if (FOfferedFileName.empty()) {
    Name.clear();
    return;
  }
  if (!FTargetFolder.empty()) {
    Name = IncludeTrailingPathDelimiter(FTargetFolder) + FOfferedFileName;
    return;
  }
  const std::string Temp = GetTempPath();
  Name = Temp.empty() ? std::string() : Temp + FOfferedFileName;
}

void TmxWebUpdate::DownloadFile() {
  GetLocalFileName(FLocalFileName);
  if (OnGetClientFileName) OnGetClientFileName(this, FLocalFileName);
  FTransferOK = false;
  if (FLocalFileName.empty()) {
    FireDownloadError();
    return;
  }
  if (FileExists(FLocalFileName)) {
    bool Overwrite = FOptions.Contains(uoOverwrite);
    if (OnClientFileExists) OnClientFileExists(this, FLocalFileName, Overwrite);
    if (!Overwrite) {
      FireDownloadError();
      return;
    }
  }
  FireBeforeDownload(FLocalFileName);
  FetchUrl(FDownloadURL, FUserName, FPassword, true, true, FLocalFileName);
  FireAfterDownload(FLocalFileName);
}

void TmxWebUpdate::SplitURL(const std::string& URL, std::string& Host, std::string& Path) {
  std::string Rest = URL;
  if (SameText(Copy(Rest, 1, 7), "http://")) Delete(Rest, 1, 7);
  const Integer Slash = Pos("/", Rest);
  if (Slash == 0) {
    Host.clear();
    Path = Rest;
    return;
  }
  Host = Copy(Rest, 1, Slash - 1);
  Path = Copy(Rest, Slash, static_cast<Integer>(Rest.size()));
}

void TmxWebUpdate::FetchUrl(const std::string& URL, const std::string& UserName, const std::string& Password,
                            bool RequireLength, bool ToFile, const std::string& FileName) {
  FCancelRequested = false;
  FTransferOK = false;
  // A transfer started from the message pump of a running one would share its counts.
  if (FTransferring) return;
  FTransferring = true;
  FTotalBytes = 0;
  FReceivedBytes = 0;
  FBlockBytes = 0;

  std::string Host, Path;
  SplitURL(URL, Host, Path);
  if (Host.empty()) {
    std::string Unused;
    SplitURL(FProductInfo->GetURL(), Host, Unused);
  }
  // The download goes to a file beside the target and replaces it only when complete.
  const std::string PartName = ToFile ? FileName + ".part" : std::string();
  std::ofstream Out;
  std::string Text;
  bool Silent = false;  // a cancelled transfer ends without an event
  try {
    TWebHandles Web;
    Web.Root = InternetOpenA("TmxWebUpdate", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (Web.Root)
      Web.Connection =
          InternetConnectA(Web.Root, Host.c_str(), static_cast<INTERNET_PORT>(FHTTPPort & 0xFFFF),
                           UserName.empty() ? nullptr : UserName.c_str(),
                           Password.empty() ? nullptr : Password.c_str(), INTERNET_SERVICE_HTTP, 0, 0);
    LPCSTR AcceptTypes[] = {"Accept: */*", nullptr};
    if (Web.Connection)
      Web.Request = HttpOpenRequestA(Web.Connection, "GET", Path.c_str(), "HTTP/1.0", nullptr, AcceptTypes,
                                     INTERNET_FLAG_RELOAD, 0);
    // An error page is no offer and no update file.
    bool Answered = Web.Request && HttpSendRequestA(Web.Request, nullptr, 0, nullptr, 0);
    if (Answered) {
      DWORD Status = 0, Size = sizeof(Status);
      Answered = HttpQueryInfoA(Web.Request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &Status, &Size,
                                nullptr) &&
                 Status >= 200 && Status < 300;
    }
    if (FCancelRequested) {
      Silent = true;
    } else if (Answered) {
      char Header[1024] = {};
      DWORD HeaderSize = sizeof(Header) - 1;
      DWORD Index = 0;
      const bool HasLength =
          HttpQueryInfoA(Web.Request, HTTP_QUERY_CONTENT_LENGTH, Header, &HeaderSize, &Index) != FALSE;
      Integer Length = 0;
      const bool LengthOK = HasLength && TryStrToInt(Trim(Header), Length) && Length >= 0;
      if (FCancelRequested) {
        Silent = true;
      } else if (HasLength && !LengthOK) {
        // Not a length we can hold: the answer is unusable.
      } else if (HasLength || !RequireLength) {
        if (HasLength) FTotalBytes = Length;
        if (ToFile) {
          Out.open(ToNativePath(PartName), std::ios::binary | std::ios::trunc);
          if (!Out) throw std::runtime_error("cannot create " + PartName);
        }
        std::vector<char> Block(BlockSize);
        bool Overrun = false;
        for (;;) {
          if (FCancelRequested) {
            Silent = true;
            break;
          }
          DWORD Read = 0;
          if (!InternetReadFile(Web.Request, Block.data(), BlockSize, &Read) || Read == 0) break;
          FBlockBytes = static_cast<Integer>(Read);
          // More than announced, or a page longer than any update page: stop reading.
          const Int64 Limit = ToFile ? (HasLength ? FTotalBytes : INT32_MAX) : MaxPageBytes;
          if (static_cast<Int64>(FReceivedBytes) + FBlockBytes > Limit) {
            Overrun = true;
            break;
          }
          if (ToFile) {
            Out.write(Block.data(), Read);
            if (!Out) throw std::runtime_error("cannot write " + PartName);
          } else {
            Text.append(Block.data(), Read);
          }
          FReceivedBytes += FBlockBytes;
          FireDownload();
          if (Application) Application->ProcessMessages();
        }
        if (!Silent && !Overrun) {
          if (ToFile) {
            Out.close();
            FTransferOK = Out.good() && HasLength && FTotalBytes == FReceivedBytes;
            if (FTransferOK) {
              std::error_code Error;
              std::filesystem::rename(ToNativePath(PartName), ToNativePath(FileName), Error);
              FTransferOK = !Error;
            }
          } else {
            FTransferOK = FReceivedBytes > 0;
          }
        }
      }
    }
  } catch (...) {
    // A file that cannot be written is a failed download, and the user hears of it.
    FTransferOK = false;
  }
  if (Out.is_open()) Out.close();
  // Whatever did not arrive complete is not left behind.
  if (ToFile && !FTransferOK) std::remove(ToNativePath(PartName).c_str());
  FTransferring = false;
  if (!FTransferOK) {
    if (!Silent) FireDownloadError();
    return;
  }
  if (!ToFile) {
    FPageLines->Clear();
    FPageLines->SetText(Text);
  }
}
