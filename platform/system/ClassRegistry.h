#pragma once
// The registry of persistent classes by name, for code that creates objects from a class
// name it read (stored forms, settings, clipboard formats). Names are matched exactly.
#include <string_view>
#include <type_traits>

#include "platform/system/Persistent.h"

class TComponent;

// Creates an instance of a registered class. Components are created with AOwner; other
// classes ignore it.
using TPersistentClass = TPersistent* (*)(TComponent* AOwner);

template <class T>
TPersistent* CreatePersistent(TComponent* AOwner) {
  if constexpr (std::is_constructible_v<T, TComponent*>)
    return new T(AOwner);
  else
    return new T();
}

// Registering the same class again does nothing; another class under a taken name raises
// EStreamError "A class named %s already exists".
void RegisterClass(std::string_view Name, TPersistentClass AClass);
template <class T>
void RegisterClass(std::string_view Name) {
  RegisterClass(Name, &CreatePersistent<T>);
}
void UnRegisterClass(std::string_view Name);
// nullptr when no class has that name.
TPersistentClass GetClass(std::string_view Name);
// Raises EClassNotFound "Class %s not found".
TPersistentClass FindClass(std::string_view Name);
