#pragma once
// Sets the locale environment for one test and puts the old one back afterwards.
#include <array>
#include <cstdlib>
#include <optional>
#include <string>

class TScopedLocale {
 public:
  // Unsets LC_ALL, LC_MESSAGES and LANG, then sets the given ones (null leaves one unset).
  explicit TScopedLocale(const char* All, const char* Messages = nullptr, const char* Lang = nullptr) {
    for (size_t I = 0; I < Names.size(); ++I) {
      if (const char* Old = std::getenv(Names[I])) Saved[I] = Old;
      unsetenv(Names[I]);
    }
    const std::array<const char*, 3> Values = {All, Messages, Lang};
    for (size_t I = 0; I < Names.size(); ++I)
      if (Values[I] != nullptr) setenv(Names[I], Values[I], 1);
  }
  ~TScopedLocale() {
    for (size_t I = 0; I < Names.size(); ++I) {
      if (Saved[I])
        setenv(Names[I], Saved[I]->c_str(), 1);
      else
        unsetenv(Names[I]);
    }
  }
  TScopedLocale(const TScopedLocale&) = delete;
  TScopedLocale& operator=(const TScopedLocale&) = delete;

 private:
  static constexpr std::array<const char*, 3> Names = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::array<std::optional<std::string>, 3> Saved;
};
