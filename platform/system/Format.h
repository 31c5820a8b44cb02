#pragma once
// Format with the platform's directives: %[index:][-][width][.precision]type where type is
// one of d u e f g n m p s x (upper or lower case) and width/precision may be '*'.
// A directive that does not match its argument raises EConvertError
// ("Format '%s' invalid or incompatible with argument").
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "platform/system/Types.h"

class TVarRec {
 public:
  TVarRec(int V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(long V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(long long V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(unsigned V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(unsigned long V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(unsigned long long V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(short V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(unsigned short V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(unsigned char V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(signed char V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(bool V) : FValue(static_cast<Int64>(V)) {}
  TVarRec(char V) : FValue(std::string(1, V)) {}
  TVarRec(float V) : FValue(static_cast<Extended>(V)) {}
  TVarRec(double V) : FValue(static_cast<Extended>(V)) {}
  TVarRec(long double V) : FValue(V) {}
  TVarRec(const char* V) : FValue(std::string(V ? V : "")) {}
  TVarRec(std::string_view V) : FValue(std::string(V)) {}
  TVarRec(const std::string& V) : FValue(V) {}
  TVarRec(const std::u16string& V);
  TVarRec(const void* V) : FValue(V) {}

  using TValue = std::variant<Int64, Extended, std::string, const void*>;
  const TValue& Value() const { return FValue; }

 private:
  TValue FValue;
};

std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args);
