#pragma once
// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#include <cstdlib>
#include <filesystem>
#include <string>

class TTempFolder {
 public:
  TTempFolder() {
    std::string Pattern = "/tmp/tv-test-XXXXXX";
    if (!mkdtemp(Pattern.data())) std::abort();
    FPath = Pattern;
  }
  ~TTempFolder() {
    std::error_code Ec;
    std::filesystem::remove_all(FPath, Ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& Name) const { return FPath + "/" + Name; }

 private:
  std::string FPath;
};
