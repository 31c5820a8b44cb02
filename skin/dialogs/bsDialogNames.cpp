#include "skin/dialogs/bsDialogNames.h"

#include <algorithm>

#include "platform/system/Files.h"

std::vector<TbsFilterEntry> ParseFilter(const std::string& Filter) {
  std::vector<TbsFilterEntry> Entries;
  std::string Rest = Filter;
  for (auto Bar = Rest.find('|'); Bar != std::string::npos; Bar = Rest.find('|')) {
    TbsFilterEntry E;
    E.Description = Rest.substr(0, Bar);
    Rest.erase(0, Bar + 1);
    const auto Next = Rest.find('|');
    E.Mask = Rest.substr(0, Next);
    Rest.erase(0, Next == std::string::npos ? Rest.size() : Next + 1);
    Entries.push_back(std::move(E));
  }
  return Entries;
}

namespace {

std::string TrimSpaces(const std::string& S) {
  const auto B = S.find_first_not_of(' ');
  if (B == std::string::npos) return {};
  return S.substr(B, S.find_last_not_of(' ') - B + 1);
}

bool PatternAdmits(const std::string& Pattern, const std::string& FileName) {
  const std::string T = TrimSpaces(Pattern);
  if (T.find('.') != std::string::npos) return MatchesMask(FileName, T);
  return T == "*";
}

}  // namespace

bool MatchesFileMask(const std::string& Mask, const std::string& FileName) {
  std::string Pattern;
  for (char C : Mask) {
    if (C == ';' || C == '|') {
      if (PatternAdmits(Pattern, FileName)) return true;
      Pattern.clear();
    } else {
      Pattern += C;
    }
  }
  return !Pattern.empty() && PatternAdmits(Pattern, FileName);
}

std::string SlashedPath(std::string Path) {
  std::replace(Path.begin(), Path.end(), '\\', '/');
  return Path;
}

std::string ResolveTypedPath(const std::string& Folder, const std::string& Typed) {
  const std::string T = SlashedPath(Typed);
  if (!T.empty() && T[0] == '/') return ExpandFileName(T);
  return ExpandFileName(IncludeTrailingPathDelimiter(SlashedPath(Folder)) + T);
}
