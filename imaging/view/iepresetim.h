#pragma once
// The library's preset pictures: four PNG frames, each with the area inside it where another
// picture goes. The list exists from the library's start-up to its shut-down.
#include <memory>

#include "platform/system/Lists.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TIEPresetImage : public TObject {
 public:
  Integer Size = 0;            // bytes of the stored picture
  const void* Data = nullptr;  // a complete PNG file; constant data, not owned
  Integer Format = 0;          // file format code of the picture
  TRect Rect{};                // the frame's inner area, in the picture's pixels
};

// Owns its TIEPresetImage entries; null outside the library's lifetime.
extern std::unique_ptr<TObjectList> IEPresetImages;

// Creates the list with the four pictures in their fixed order.
void IEPresetImagesInitialize();
// Frees the entries and the list.
void IEPresetImagesFinalize();
