#include "imaging/view/iepresetim.h"

#include "imaging/io/iefileformats.h"
#include "platform/system/Resources.h"

std::unique_ptr<TObjectList> IEPresetImages;

namespace {

struct TPresetPicture {
  const char* ResourceName;
  TRect Rect;
};

constexpr TPresetPicture Presets[] = {
    {"IEPRESET0", {18, 29, 140, 119}},
    {"IEPRESET1", {13, 1, 95, 98}},
    {"IEPRESET2", {30, 14, 147, 92}},
    {"IEPRESET3", {17, 17, 131, 131}},
};

// Only a broken build lacks a picture: its entry then holds no data.
TIEPresetImage* MakePreset(const TPresetPicture& Preset) {
  auto* Image = new TIEPresetImage;
  Image->Format = ioPNG;
  Image->Rect = Preset.Rect;
  if (HRSRC Found = FindResource(HInstance, Preset.ResourceName, RT_RCDATA)) {
    Image->Data = LockResource(LoadResource(HInstance, Found));
    Image->Size = static_cast<Integer>(SizeofResource(HInstance, Found));
  }
  return Image;
}

}  // namespace

void IEPresetImagesInitialize() {
  IEPresetImages = std::make_unique<TObjectList>();
  for (const TPresetPicture& Preset : Presets) IEPresetImages->Add(MakePreset(Preset));
}

void IEPresetImagesFinalize() {
  IEPresetImages.reset();
}
