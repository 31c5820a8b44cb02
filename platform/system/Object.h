#pragma once
// The root of the class library. Classes that the system creates, frees and asks for their
// class name derive from TObject; ClassName is the C++ class name ("TStringList").
#include <string>

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  std::string ClassName() const;
  // True when this object is a T (the platform's "is" operator).
  template <class T>
  bool InheritsFrom() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }
};

// Frees an object and clears the pointer (the platform's FreeAndNil).
template <class T>
void FreeAndNil(T*& Obj) {
  T* Tmp = Obj;
  Obj = nullptr;
  delete Tmp;
}
