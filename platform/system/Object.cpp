#include "platform/system/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

std::string TObject::ClassName() const {
  const char* Mangled = typeid(*this).name();
  int Status = 0;
  std::unique_ptr<char, void (*)(void*)> Name(abi::__cxa_demangle(Mangled, nullptr, nullptr, &Status),
                                              std::free);
  return Status == 0 && Name ? std::string(Name.get()) : std::string(Mangled);
}
