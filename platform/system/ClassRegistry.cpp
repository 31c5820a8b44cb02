#include "platform/system/ClassRegistry.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"

namespace {

struct TRegistry {
  std::mutex Lock;
  std::map<std::string, TPersistentClass, std::less<>> Classes;
};

// Built on first use, so registrations from static initialisers of any unit are safe.
TRegistry& Registry() {
  static TRegistry Instance;
  return Instance;
}

}  // namespace

void RegisterClass(std::string_view Name, TPersistentClass AClass) {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> Guard(R.Lock);
  auto It = R.Classes.find(Name);
  if (It != R.Classes.end()) {
    if (It->second == AClass) return;
    throw EStreamError(Format("A class named %s already exists", {Name}));
  }
  R.Classes.emplace(std::string(Name), AClass);
}

void UnRegisterClass(std::string_view Name) {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> Guard(R.Lock);
  auto It = R.Classes.find(Name);
  if (It != R.Classes.end()) R.Classes.erase(It);
}

TPersistentClass GetClass(std::string_view Name) {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> Guard(R.Lock);
  auto It = R.Classes.find(Name);
  return It == R.Classes.end() ? nullptr : It->second;
}

TPersistentClass FindClass(std::string_view Name) {
  TPersistentClass Result = GetClass(Name);
  if (Result == nullptr) throw EClassNotFound(Format("Class %s not found", {Name}));
  return Result;
}
