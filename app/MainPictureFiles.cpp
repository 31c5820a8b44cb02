// Reading picture files for the program: the throw-away loader and the open dialog's filter.
// Kept apart from the window code: the view's headers and the raster library's do not mix.
#include "app/Main.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/Strings.h"

void LoadPictureFile(const std::string& FileName, TBitmap* Bitmap) {
  // A throw-away view without owner or window reads the file through its own I/O component.
  TZezudIdView Loader(nullptr);
  TZezudIdIO* IO = Loader.GetIO();
  const std::u16string Name = Utf8ToUtf16(FileName);
  // The header alone tells the size: a picture no source may be is refused before it is
  // decoded. A name without a readable format gives an empty picture.
  IO->ParamsFromFile(Name);
  const TIOParamsVals& Params = *IO->GetParams();
  if (static_cast<Int64>(Params.Width) * Params.Height > MaxSourcePixels)
    throw Exception(
        Format("The picture \"%s\" is %d x %d pixels, more than %d megapixels.",
               {ExtractFileName(FileName), Params.Width, Params.Height, MaxSourcePixels / 1'000'000}));
  IO->LoadFromFile(Name);
  // Whatever the view holds is the picture: a load the component gave up leaves it empty.
  Bitmap->Assign(Loader.GetTBitmap());
  Bitmap->SetPixelFormat(pf24bit);
}

std::string OpenPictureFilter() {
  std::string All, Each;
  for (Integer I = 0; I < FileFormatCount(); ++I) {
    const TIEFileFormatInfo* Info = FileFormatAt(I);
    const Integer Count = FileFormatExtensionCount(Info->FileType);
    if (Info->ReadFunction == nullptr || Count == 0) continue;
    std::string Masks;
    for (Integer E = 0; E < Count; ++E)
      Masks += (E > 0 ? ";*." : "*.") + LowerCase(FileFormatExtension(Info->FileType, E));
    All += (All.empty() ? "" : ";") + Masks;
    Each += "|" + Info->FullName + " (" + Masks + ")|" + Masks;
  }
  return "All (" + All + ")|" + All + Each;
}
