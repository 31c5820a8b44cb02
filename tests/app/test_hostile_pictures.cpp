// Pictures whose headers claim more than they hold, through the source's load road: each is
// refused with a message, or loaded as far as its data goes, and a refusal keeps the source.
#include <vector>

#include "AppTestSupport.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Streams.h"

namespace {

std::string WriteFile(const std::string& Name, const std::vector<Byte>& Data) {
  ForceDirectories(DataDir + "\\Sources");
  const std::string Path = DataDir + "\\Sources\\" + Name;
  TFileStream Out(Path, fmCreate);
  if (!Data.empty()) Out.Write(Data.data(), static_cast<Integer>(Data.size()));
  return Path;
}

void PutLittleEndian(std::vector<Byte>& D, std::size_t At, Int64 Value, Integer Bytes) {
  for (Integer I = 0; I < Bytes; ++I) D[At + I] = static_cast<Byte>(Value >> (8 * I));
}

// A 1-bit BMP of Width x Height, its pixel rows included only when WithPixels.
std::vector<Byte> MonochromeBmp(Integer Width, Integer Height, bool WithPixels) {
  const Int64 RowBytes = (static_cast<Int64>(Width) + 31) / 32 * 4;
  const Int64 PixelBytes = RowBytes * Height;
  std::vector<Byte> D(62 + (WithPixels ? PixelBytes : 0), 0);
  D[0] = 'B';
  D[1] = 'M';
  PutLittleEndian(D, 2, 62 + PixelBytes, 4);
  PutLittleEndian(D, 10, 62, 4);
  PutLittleEndian(D, 14, 40, 4);
  PutLittleEndian(D, 18, Width, 4);
  PutLittleEndian(D, 22, Height, 4);
  PutLittleEndian(D, 26, 1, 2);
  PutLittleEndian(D, 28, 1, 2);
  PutLittleEndian(D, 58, 0xFFFFFF, 4);  // colour 1 white, colour 0 black
  return D;
}

std::vector<Byte> SmallJpeg() {
  auto Picture = MakeBitmap(64, 48, [](Integer X, Integer Y) { return Rgb(X * 4, Y * 5, 90); });
  TJPEGImage Jpeg;
  Jpeg.Assign(Picture.get());
  TMemoryStream Out;
  Jpeg.SaveToStream(&Out);
  const Byte* Bytes = static_cast<const Byte*>(Out.GetMemory());
  return {Bytes, Bytes + Out.GetSize()};
}

// Jpeg with its frame header claiming Width x Height.
std::vector<Byte> ClaimingJpeg(Integer Width, Integer Height) {
  std::vector<Byte> D = SmallJpeg();
  for (std::size_t I = 2; I + 8 < D.size(); ++I)
    if (D[I] == 0xFF && D[I + 1] == 0xC0) {
      D[I + 5] = static_cast<Byte>(Height >> 8);
      D[I + 6] = static_cast<Byte>(Height);
      D[I + 7] = static_cast<Byte>(Width >> 8);
      D[I + 8] = static_cast<Byte>(Width);
      break;
    }
  return D;
}

}  // namespace

class THostilePicturesTest : public TMosaicTest {
 protected:
  // Loads Path as the source through the button and its dialog; the text of the message
  // box or of the raised exception, empty when the load said nothing.
  std::string Load(const std::string& Path) {
    TDialogAnswers Answers;
    Answers.FileName = Path;
    std::string Said;
    try {
      Form->LoadPicBtn->Click();
    } catch (const Exception& E) {
      Said = E.GetMessage();
    }
    for (const std::string& M : Answers.Messages) Said += M;
    return Said;
  }
};

TEST_F(THostilePicturesTest, ClaimsBeyondTheDataOrTheCapAreRefusedAndKeepTheSource) {
  LoadUniform(90, 60, Rgb(1, 2, 3));
  const std::string Name = SourceFileName, Caption = Form->GetCaption();
  const Integer Width = SourceBitmap->GetWidth(), Height = SourceBitmap->GetHeight();
  const struct {
    const char* File;
    std::vector<Byte> Data;
    const char* Says;
  } Cases[] = {
      // Header-only checks: nothing of the claimed size is decoded.
      {"huge.jpg", ClaimingJpeg(30000, 30000), "is 30000 x 30000 pixels, more than 100 megapixels"},
      {"past_cap.jpg", ClaimingJpeg(10001, 10000), "is 10001 x 10000 pixels, more than 100 megapixels"},
      // 2^31 pixels without their rows: refused from the header too.
      {"claims_2g.bmp", MonochromeBmp(65536, 32768, false),
       "is 65536 x 32768 pixels, more than 100 megapixels"},
      {"zero.bmp", MonochromeBmp(0, 0, false), "could not be loaded"},
      // Every pixel present, one row past the cap: refused before it becomes 24 bits a pixel.
      {"past_cap.bmp", MonochromeBmp(10000, 10001, true),
       "is 10000 x 10001 pixels, more than 100 megapixels"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    const std::string Said = Load(WriteFile(C.File, C.Data));
    EXPECT_NE(Said.find(C.Says), std::string::npos) << Said;
    EXPECT_EQ(SourceFileName, Name);
    EXPECT_EQ(SourceBitmap->GetWidth(), Width);
    EXPECT_EQ(SourceBitmap->GetHeight(), Height);
    EXPECT_EQ(Form->GetCaption(), Caption);
    EXPECT_EQ(Busy, 0);
  }
}

TEST_F(THostilePicturesTest, ATruncatedJpegLoadsAsFarAsItsDataGoes) {
  LoadUniform(90, 60, Rgb(1, 2, 3));
  std::vector<Byte> Cut = SmallJpeg();
  Cut.resize(Cut.size() * 6 / 10);
  const std::string Path = WriteFile("truncated.jpg", Cut);
  EXPECT_EQ(Load(Path), "");
  EXPECT_EQ(SourceFileName, Slashed(Path));
  EXPECT_EQ(SourceBitmap->GetWidth(), 64 + Rim);
}
