// The web-update component: the offer page's tags, version rules, addresses and the local
// file name, then whole checks and downloads against a loopback server.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/mxWebUpdate.h"
#include "platform/system/Files.h"
#include "platform/system/Paths.h"
#include "tests/platform/net/LoopbackHttpServer.h"

namespace {

std::string ReadAll(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

std::string Meta(const std::string& Name, const std::string& Value) {
  return "<META NAME=\"" + Name + "\" CONTENT=\"" + Value + "\">\n";
}

// What the component reported, in order, and how the user answers.
struct TEventLog : TObject {
  TmxWebUpdate* W = nullptr;
  std::vector<std::string> Events;
  std::vector<std::pair<Integer, Integer>> Progress;
  std::vector<std::string> OpenedFolders;
  std::vector<bool> Nested;
  bool Decline = false;          // the answer to an available update
  bool CancelFile = false;       // cancel while the file arrives
  bool DownloadAgain = false;    // try a second download while the file arrives
  Integer OverwriteAnswer = -1;  // -1: keep the component's proposal
  bool OverwriteProposed = false;
  Integer NoUpdate = 0;

  void Attach(TmxWebUpdate& Component) {
    W = &Component;
    W->OnBeforeGetInfo = TNotifyEvent(this, &TEventLog::BeforeGetInfo);
    W->OnAfterGetInfo = TNotifyEvent(this, &TEventLog::AfterGetInfo);
    W->OnDownloadError = TNotifyEvent(this, &TEventLog::DownloadError);
    W->OnNoUpdateFound = TNotifyEvent(this, &TEventLog::NoUpdateFound);
    W->OnCannotExecute = TNotifyEvent(this, &TEventLog::CannotExecute);
    W->OnUpdateAvailable = TUpdateAvailableEvent(this, &TEventLog::UpdateAvailable);
    W->OnBeforeShowInfo = TShowInfoEvent(this, &TEventLog::BeforeShowInfo);
    W->OnBeforeDownload = TDownloadFileEvent(this, &TEventLog::BeforeDownload);
    W->OnAfterDownload = TDownloadFileEvent(this, &TEventLog::AfterDownload);
    W->OnDownload = TDownloadEvent(this, &TEventLog::Download);
    W->OnClientFileExists = TClientFileExistsEvent(this, &TEventLog::ClientFileExists);
  }
  void BeforeGetInfo(TObject*) { Events.push_back("BeforeGetInfo"); }
  void AfterGetInfo(TObject*) { Events.push_back("AfterGetInfo"); }
  void DownloadError(TObject*) { Events.push_back("DownloadError"); }
  void NoUpdateFound(TObject*) {
    ++NoUpdate;
    Events.push_back("NoUpdateFound");
  }
  void CannotExecute(TObject*) { Events.push_back("CannotExecute"); }
  void UpdateAvailable(TObject*, std::string Installed, std::string Offered, bool& CanUpdate) {
    Events.push_back("UpdateAvailable " + Installed + " " + Offered);
    if (Decline) CanUpdate = false;
  }
  void BeforeShowInfo(TObject*, bool&, bool&) { Events.push_back("BeforeShowInfo"); }
  void BeforeDownload(TObject*, std::string) { Events.push_back("BeforeDownload"); }
  void AfterDownload(TObject*, std::string) { Events.push_back("AfterDownload"); }
  void Download(TObject*, Integer Total, Integer Got) {
    Progress.emplace_back(Total, Got);
    if (Total != 5000) return;  // the page, not the file
    if (CancelFile) W->Cancel();
    if (DownloadAgain && Nested.empty()) Nested.push_back(W->DownloadUpdate());
  }
  void ClientFileExists(TObject*, std::string&, bool& Overwrite) {
    OverwriteProposed = Overwrite;
    if (OverwriteAnswer >= 0) Overwrite = OverwriteAnswer == 1;
  }
};

// ---- Tables -----------------------------------------------------------------------------------

TEST(WebUpdateTags, PageLinesFillTheOfferFields) {
  TmxWebUpdate W(nullptr);
  W.GetPageLines()->SetText("<html><head>\n" + Meta("mxProduct", "Tilvarok") + Meta("mxVersion", "1.5.0.30") +
                            Meta("mxClientSideName", "..\\..\\evil/Setup.exe") +
                            Meta("mxDownload", "http://h/files/Setup.exe") + Meta("mxAuthor", "A. Maker") +
                            Meta("mxEmail", "a@b") + Meta("mxRunParameters", "/S") +
                            "<meta name=\"mxAuthor\" content=\"lower-case name is no tag\">\n"
                            "<META NAME=\"mxEmail\" content=\"Lower Case Content\">\n"
                            "<META NAME=\"mxUnknown\" CONTENT=\"x\">\n"
                            "<META NAME=\"mxRedirection\" CONTENT=\"no closing quote\n"
                            "</head></html>\n");
  W.ParseInfoTags();
  EXPECT_EQ(W.GetOfferedProduct(), "Tilvarok");
  EXPECT_EQ(W.GetOfferedVersion(), "1.5.0.30");
  EXPECT_EQ(W.GetOfferedFileName(), "Setup.exe");  // never a path
  EXPECT_EQ(W.GetDownloadURL(), "http://h/files/Setup.exe");
  EXPECT_EQ(W.GetOfferedAuthor(), "A. Maker");
  EXPECT_EQ(W.GetOfferedEmail(), "Lower Case Content");  // a later line wins, CONTENT= in any case
  EXPECT_EQ(W.GetOfferedRunParameters(), "/S");
  EXPECT_EQ(W.GetRedirectURL(), "");
}

TEST(WebUpdateTags, OfferedNamesKeepOnlyTheirFilePart) {
  const std::pair<const char*, const char*> Cases[] = {{"Setup.exe", "Setup.exe"},
                                                       {"../Setup.exe", "Setup.exe"},
                                                       {"C:\\Windows\\a.dll", "a.dll"},
                                                       {"/etc/passwd", "passwd"},
                                                       {"..", ""},
                                                       {"dir/", ""},
                                                       {".", ""},
                                                       {"", ""}};
  for (const auto& [Offered, Expected] : Cases) EXPECT_EQ(SafeOfferedFileName(Offered), Expected) << Offered;
}

TEST(WebUpdateVersions, CompareVersionsByFormat) {
  struct TCase {
    TmxVersionFormat Format;
    const char* Installed;
    const char* Offered;
    bool Newer;
  };
  const TCase Cases[] = {
      {vfStandard, "1.5.0.29", "1.5.0.30", true},
      {vfStandard, "1.5.0.29", "1.5.0.29", false},
      {vfStandard, "1.5.0.29", "1.4.9", false},
      {vfStandard, "1.5.0.29", "1.5.1", true},
      {vfStandard, "1.5.3", "1.5", false},
      {vfStandard, "1.5", "1.5.3", true},
      {vfStandard, "1.5", "1.5.0", false},
      {vfStandard, "1.5.0.29", "1.5.0.29.1", true},
      {vfStandard, "1.10", "1.9", false},
      {vfStandard, "2", "10", true},
      {vfStandard, "1.x", "1.1", true},
      {vfString, "1.5", "1.6", true},
      {vfString, "1.10", "1.9", true},
      {vfString, "b", "a", false},
      {vfNumber, "1.5", "1.25", false},
      {vfNumber, "1.5", "2", true},
      {vfNumber, "1.5", "abc", false},
      {vfNumber, "1.5", "1.5", false},
  };
  for (const TCase& C : Cases) {
    TmxWebUpdate W(nullptr);
    TEventLog Log;
    Log.Attach(W);
    W.GetProductInfo()->SetVersionFormat(C.Format);
    W.GetProductInfo()->SetVersion(C.Installed);
    W.GetPageLines()->SetText(Meta("mxVersion", C.Offered));
    W.ParseInfoTags();
    EXPECT_EQ(W.CompareVersions(), C.Newer) << C.Installed << " -> " << C.Offered;
    EXPECT_EQ(Log.NoUpdate, C.Newer ? 0 : 1) << C.Installed << " -> " << C.Offered;
  }
}

TEST(WebUpdateAddresses, SplitURLAndProductURL) {
  struct TCase {
    const char* URL;
    const char* Host;
    const char* Path;
  };
  const TCase Cases[] = {
      {"http://www.maker.com/Updates/Page.htm", "www.maker.com", "/Updates/Page.htm"},
      {"HTTP://host/", "host", "/"},
      {"host/a/b", "host", "/a/b"},
      {"http://Setup.exe", "", "Setup.exe"},
      {"Setup.exe", "", "Setup.exe"},
  };
  TmxWebUpdate W(nullptr);
  for (const TCase& C : Cases) {
    std::string Host = "x", Path = "x";
    W.SplitURL(C.URL, Host, Path);
    EXPECT_EQ(Host, C.Host) << C.URL;
    EXPECT_EQ(Path, C.Path) << C.URL;
  }
  TmxProductInfo Info;
  EXPECT_EQ(Info.GetURL(), "http://");
  Info.SetURL("www.maker.com/u.htm");
  EXPECT_EQ(Info.GetURL(), "http://www.maker.com/u.htm");
  Info.SetURL("Http://www.maker.com/u.htm");
  EXPECT_EQ(Info.GetURL(), "Http://www.maker.com/u.htm");
  EXPECT_EQ(W.GetVersion(), "1.21");
}

TEST(WebUpdateAddresses, LocalFileNameInTargetOrTemporaryFolder) {
  TmxWebUpdate W(nullptr);
  W.GetPageLines()->SetText(Meta("mxClientSideName", "Setup.exe"));
  W.ParseInfoTags();
  std::string Name;
  W.SetTargetFolder("C:\\Updates");
  W.GetLocalFileName(Name);
  EXPECT_EQ(ToNativePath(Name), ToNativePath("C:\\Updates\\Setup.exe"));
  W.SetTargetFolder("/srv/updates/");
  W.GetLocalFileName(Name);
  EXPECT_EQ(Name, "/srv/updates/Setup.exe");
  W.SetTargetFolder("");
  W.GetLocalFileName(Name);
  EXPECT_EQ(Name, GetTempPath() + "Setup.exe");
  W.GetPageLines()->SetText(Meta("mxClientSideName", "sub/.."));
  W.ParseInfoTags();
  W.GetLocalFileName(Name);
  EXPECT_EQ(Name, "");  // nothing to save under
}

// ---- Against a loopback server ----------------------------------------------------------------

class TWebUpdateServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = GetTempPath() + "webupdate-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ForceDirectories(Folder);
    W.GetProductInfo()->SetURL("127.0.0.1/Updates/TilvarokUpdate.htm");
    W.GetProductInfo()->SetVersion("1.5.0.29");
    W.SetOptions({uoRunUpdate, uoOverwrite});
    W.SetHTTPPort(static_cast<Cardinal>(Server.Port()));
    W.SetTargetFolder(Folder);
    Log.Attach(W);
    WebUpdateOpenFolder = [this](const std::string& Path) {
      Log.OpenedFolders.push_back(Path);
      return true;
    };
    FileBody.resize(5000);
    for (std::size_t I = 0; I < FileBody.size(); ++I) FileBody[I] = static_cast<char>(I * 7 + 3);
  }
  void TearDown() override { WebUpdateOpenFolder = OpenFolderWithDesktop; }
  void ServePage(const std::string& Version, const std::string& Download = "/files/Setup.bin") {
    Server.Serve("/Updates/TilvarokUpdate.htm",
                 {200,
                  "OK",
                  {},
                  Meta("mxProduct", "Tilvarok") + Meta("mxVersion", Version) +
                      Meta("mxClientSideName", "Setup.bin") + Meta("mxDownload", Download)});
  }
  std::string Target() const { return Folder + "/Setup.bin"; }
  bool PartLeft() const { return FileExists(Target() + ".part"); }

  TLoopbackHttpServer Server;
  TmxWebUpdate W{nullptr};
  TEventLog Log;
  std::string Folder;
  std::string FileBody;
};

TEST_F(TWebUpdateServerTest, UpdateFoundIsDownloadedAndItsFolderOpened) {
  ServePage("1.5.0.30", "http://127.0.0.1/files/Setup.bin");
  Server.Serve("/files/Setup.bin", {200, "OK", {}, FileBody});
  ASSERT_TRUE(W.LookForUpdate());
  EXPECT_TRUE(W.GetBusy());
  EXPECT_FALSE(W.LookForUpdate());  // the offer waits for its download
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"BeforeGetInfo", "AfterGetInfo",
                                                  "UpdateAvailable 1.5.0.29 1.5.0.30", "BeforeShowInfo"}));
  Log.Events.clear();
  Log.Progress.clear();
  ASSERT_TRUE(W.DownloadUpdate());
  EXPECT_FALSE(W.GetBusy());
  EXPECT_EQ(W.GetLocalFileName(), Target());
  EXPECT_EQ(ReadAll(Target()), FileBody);
  EXPECT_FALSE(PartLeft());
  EXPECT_EQ(Log.OpenedFolders, std::vector<std::string>{Folder});
  EXPECT_EQ(Log.Events,
            (std::vector<std::string>{"BeforeGetInfo", "AfterGetInfo", "UpdateAvailable 1.5.0.29 1.5.0.30",
                                      "BeforeDownload", "AfterDownload"}));
  // One event per block of at most 1025 bytes; the file's progress counts from 0.
  ASSERT_FALSE(Log.Progress.empty());
  EXPECT_EQ(Log.Progress.back(), std::make_pair(5000, 5000));
  Integer FileEvents = 0;
  for (const auto& [Total, Got] : Log.Progress) FileEvents += Total == 5000 ? 1 : 0;
  EXPECT_GE(FileEvents, 5);
  EXPECT_EQ(Log.Progress[Log.Progress.size() - FileEvents].second <= 1025, true);
  // The request is a fresh HTTP/1.0 GET of the path, the download on the update page's port.
  const auto Requests = Server.Requests();
  ASSERT_GE(Requests.size(), 3u);
  EXPECT_EQ(Requests.back().substr(0, Requests.back().find("\r\n")), "GET /files/Setup.bin HTTP/1.0");
  EXPECT_NE(Requests.back().find("TmxWebUpdate"), std::string::npos);
}

TEST_F(TWebUpdateServerTest, ExistingFileIsReplacedOnlyWhenAllowed) {
  ServePage("1.6", "Setup.bin");  // no host: the update page's host, with the text as path
  Server.Serve("/Setup.bin", {200, "OK", {}, FileBody});
  { std::ofstream(Target()) << "old"; }
  W.SetOptions({});
  EXPECT_FALSE(W.DownloadUpdate());
  EXPECT_FALSE(Log.OverwriteProposed);
  EXPECT_EQ(ReadAll(Target()), "old");
  EXPECT_EQ(Log.Events.back(), "DownloadError");
  Log.OverwriteAnswer = 1;
  EXPECT_TRUE(W.DownloadUpdate());
  EXPECT_EQ(ReadAll(Target()), FileBody);
  EXPECT_TRUE(Log.OpenedFolders.empty());  // without uoRunUpdate nothing is opened
}

TEST_F(TWebUpdateServerTest, NoUpdateAndMissingTags) {
  ServePage("1.5.0.29");
  EXPECT_FALSE(W.LookForUpdate());
  EXPECT_FALSE(W.GetBusy());
  EXPECT_EQ(Log.Events.back(), "NoUpdateFound");
  Log.Events.clear();
  Server.Serve("/Updates/TilvarokUpdate.htm", {200, "OK", {}, Meta("mxVersion", "9")});
  EXPECT_FALSE(W.LookForUpdate());
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"BeforeGetInfo", "AfterGetInfo", "DownloadError"}));
}

TEST_F(TWebUpdateServerTest, DecliningClearsBusy) {
  ServePage("2.0");
  Log.Decline = true;
  EXPECT_FALSE(W.LookForUpdate());
  EXPECT_FALSE(W.GetBusy());
  Log.Decline = false;
  ASSERT_TRUE(W.LookForUpdate());
  W.Cancel();  // the user turns the offer down in the window
  EXPECT_FALSE(W.GetBusy());
  EXPECT_TRUE(W.LookForUpdate());
}

TEST_F(TWebUpdateServerTest, BadDownloadsFailAndLeaveNoFile) {
  struct TCase {
    const char* Name;
    TLoopbackHttpServer::TAnswer Answer;
  };
  const std::string Half = FileBody.substr(0, 2000);
  const TCase Cases[] = {
      {"length mismatch", {200, "OK", {{"Content-Length", "5000"}}, Half, false}},
      {"missing length", {200, "OK", {}, FileBody, false}},
      {"not found", {404, "Not Found", {}, FileBody}},
      {"length not a number", {200, "OK", {{"Content-Length", "lots"}}, FileBody, false}},
      {"redirect loop", {302, "Found", {{"Location", "/files/Setup.bin"}}, ""}},
  };
  ServePage("2.0");
  for (const TCase& C : Cases) {
    Server.Serve("/files/Setup.bin", C.Answer);
    Log.Events.clear();
    EXPECT_FALSE(W.DownloadUpdate()) << C.Name;
    EXPECT_FALSE(FileExists(Target())) << C.Name;
    EXPECT_FALSE(PartLeft()) << C.Name;
    EXPECT_EQ(Log.Events,
              (std::vector<std::string>{"BeforeGetInfo", "AfterGetInfo", "UpdateAvailable 1.5.0.29 2.0",
                                        "BeforeDownload", "DownloadError", "AfterDownload"}))
        << C.Name;
    EXPECT_TRUE(Log.OpenedFolders.empty()) << C.Name;
  }
}

TEST_F(TWebUpdateServerTest, FailedReplaceKeepsTheOldFile) {
  ServePage("2.0");
  Server.Serve("/files/Setup.bin", {200, "OK", {{"Content-Length", "5000"}}, FileBody.substr(0, 10), false});
  { std::ofstream(Target()) << "old"; }
  EXPECT_FALSE(W.DownloadUpdate());
  EXPECT_EQ(ReadAll(Target()), "old");
  EXPECT_FALSE(PartLeft());
}

TEST_F(TWebUpdateServerTest, HttpAndPageRedirectionsAreFollowed) {
  Server.Serve("/Updates/TilvarokUpdate.htm", {301, "Moved", {{"Location", "/moved.htm"}}, ""});
  Server.Serve("/moved.htm",
               {200, "OK", {}, Meta("mxProduct", "Old") + Meta("mxRedirection", "/second.htm")});
  Server.Serve("/second.htm",
               {200,
                "OK",
                {},
                Meta("mxProduct", "Tilvarok") + Meta("mxVersion", "1.5.1") +
                    Meta("mxClientSideName", "Setup.bin") + Meta("mxDownload", "/old/Setup.bin")});
  Server.Serve("/old/Setup.bin", {302, "Found", {{"Location", "/files/Setup.bin"}}, ""});
  Server.Serve("/files/Setup.bin", {200, "OK", {}, FileBody});
  ASSERT_TRUE(W.LookForUpdate());
  EXPECT_EQ(W.GetOfferedProduct(), "Tilvarok");
  EXPECT_EQ(W.GetRedirectURL(), "");
  EXPECT_TRUE(W.DownloadUpdate());
  EXPECT_EQ(ReadAll(Target()), FileBody);
}

TEST_F(TWebUpdateServerTest, PageRedirectionLoopEnds) {
  Server.Serve(
      "/Updates/TilvarokUpdate.htm",
      {200, "OK", {}, Meta("mxProduct", "T") + Meta("mxVersion", "9") + Meta("mxRedirection", "/b.htm")});
  Server.Serve("/b.htm", {200, "OK", {}, Meta("mxRedirection", "/Updates/TilvarokUpdate.htm")});
  EXPECT_FALSE(W.LookForUpdate());
  EXPECT_FALSE(W.GetBusy());
  EXPECT_EQ(Server.Requests().size(), static_cast<std::size_t>(TmxWebUpdate::MaxRedirections));
  EXPECT_EQ(Log.Events.back(), "DownloadError");
}

TEST_F(TWebUpdateServerTest, PageErrorsReportAndFindNothing) {
  EXPECT_FALSE(W.LookForUpdate());  // the page is not there: 404
  EXPECT_EQ(Log.Events,
            (std::vector<std::string>{"BeforeGetInfo", "DownloadError", "AfterGetInfo", "DownloadError"}));
  Log.Events.clear();
  W.SetHTTPPort(1);  // nobody listens
  EXPECT_FALSE(W.LookForUpdate());
  EXPECT_EQ(Log.Events.size(), 4u);
}

TEST_F(TWebUpdateServerTest, CancelStopsSilentlyAndRemovesThePart) {
  ServePage("2.0");
  Server.Serve("/files/Setup.bin", {200, "OK", {}, FileBody});
  ASSERT_TRUE(W.LookForUpdate());
  Log.CancelFile = true;
  Log.Events.clear();
  EXPECT_FALSE(W.DownloadUpdate());
  EXPECT_FALSE(W.GetBusy());
  EXPECT_FALSE(FileExists(Target()));
  EXPECT_FALSE(PartLeft());
  EXPECT_EQ(Log.Events,
            (std::vector<std::string>{"BeforeGetInfo", "AfterGetInfo", "UpdateAvailable 1.5.0.29 2.0",
                                      "BeforeDownload", "AfterDownload"}));
  EXPECT_LT(W.GetReceivedBytes(), 5000);
}

TEST_F(TWebUpdateServerTest, SecondDownloadWhileOneRunsIsRefused) {
  ServePage("2.0");
  Server.Serve("/files/Setup.bin", {200, "OK", {}, FileBody});
  Log.DownloadAgain = true;
  EXPECT_TRUE(W.DownloadUpdate());
  EXPECT_EQ(Log.Nested, std::vector<bool>{false});
  EXPECT_EQ(ReadAll(Target()), FileBody);
}

TEST_F(TWebUpdateServerTest, ByteCountsStartAgainForEveryTransfer) {
  ServePage("2.0");
  Server.Serve("/files/Setup.bin", {200, "OK", {}, FileBody});
  ASSERT_TRUE(W.DownloadUpdate());
  EXPECT_EQ(W.GetTotalBytes(), 5000);
  // A page without a length must not inherit the file's.
  Server.Serve("/Updates/TilvarokUpdate.htm",
               {200, "OK", {}, Meta("mxProduct", "Tilvarok") + Meta("mxVersion", "1.0"), false});
  Log.Progress.clear();
  EXPECT_FALSE(W.LookForUpdate());
  ASSERT_FALSE(Log.Progress.empty());
  EXPECT_EQ(Log.Progress.front().first, 0);
  EXPECT_EQ(W.GetTotalBytes(), 0);
  EXPECT_EQ(W.GetOfferedProduct(), "Tilvarok");
}

TEST_F(TWebUpdateServerTest, UnopenableFolderIsReported) {
  ServePage("2.0");
  Server.Serve("/files/Setup.bin", {200, "OK", {}, FileBody});
  WebUpdateOpenFolder = [](const std::string&) { return false; };
  EXPECT_TRUE(W.DownloadUpdate());
  EXPECT_EQ(Log.Events.back(), "CannotExecute");
}

}  // namespace
