#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieicc.h"
#include "platform/system/Streams.h"
#include "tests/imaging/core/IccTestSupport.h"

namespace {

using namespace icctest;

TIERGBTriple Rgb(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

void PutBE32(std::vector<Byte>& Data, size_t At, Cardinal V) {
  Data[At] = static_cast<Byte>(V >> 24);
  Data[At + 1] = static_cast<Byte>(V >> 16);
  Data[At + 2] = static_cast<Byte>(V >> 8);
  Data[At + 3] = static_cast<Byte>(V);
}

// A 220-byte profile body with two tags: "cprt" (text at its offset + 8) and "desc" (at + 12).
std::vector<Byte> TaggedBytes() {
  std::vector<Byte> Data(220, 0);
  PutBE32(Data, 128, 2);
  std::memcpy(&Data[132], "cprt", 4);
  PutBE32(Data, 136, 160);
  PutBE32(Data, 140, 20);
  std::memcpy(&Data[144], "desc", 4);
  PutBE32(Data, 148, 184);
  PutBE32(Data, 152, 30);
  std::memcpy(&Data[168], "Notice", 7);
  std::memcpy(&Data[196], "Description", 12);
  return Data;
}

TEST(ICCProfile, InformationTextsFromALibraryProfile) {
  const std::vector<Byte> Bytes = SRGBBytes("My screen", "Some notice");
  TIEICC ICC;
  ICC.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  EXPECT_TRUE(ICC.IsValid());
  EXPECT_EQ(ICC.GetDescription(), "My screen");
  EXPECT_EQ(ICC.GetCopyright(), "Some notice");
  EXPECT_EQ(std::vector<Byte>(ICC.GetRaw(), ICC.GetRaw() + ICC.GetRawLength()), Bytes);
}

TEST(ICCProfile, InformationTextsAreBoundedByTheProfile) {
  struct TCase {
    const char* Name;
    void (*Damage)(std::vector<Byte>&);
    const char* Copyright;
    const char* Description;
  };
  const TCase Cases[] = {
      {"intact", [](std::vector<Byte>&) {}, "Notice", "Description"},
      {"128 bytes", [](std::vector<Byte>& D) { D.resize(128); }, "", ""},
      {"count above 1000", [](std::vector<Byte>& D) { PutBE32(D, 128, 1001); }, "", ""},
      {"second offset past the end", [](std::vector<Byte>& D) { PutBE32(D, 148, 221); }, "Notice", ""},
      {"first size past the end ends the parse", [](std::vector<Byte>& D) { PutBE32(D, 140, 221); }, "", ""},
      {"text not ended inside", [](std::vector<Byte>& D) { D.resize(200); }, "Notice", ""},
      {"entries past the end", [](std::vector<Byte>& D) { PutBE32(D, 128, 1000); }, "Notice", "Description"},
      {"text offset at the very end", [](std::vector<Byte>& D) { PutBE32(D, 148, 220); }, "Notice", ""},
  };
  for (const TCase& C : Cases) {
    std::vector<Byte> Data = TaggedBytes();
    C.Damage(Data);
    TIEICC ICC;
    ICC.LoadFromBuffer(Data.data(), static_cast<Integer>(Data.size()));
    EXPECT_FALSE(ICC.IsValid()) << C.Name;  // no profile the library would open
    EXPECT_EQ(ICC.GetCopyright(), C.Copyright) << C.Name;
    EXPECT_EQ(ICC.GetDescription(), C.Description) << C.Name;
    EXPECT_EQ(ICC.GetRawLength(), static_cast<Integer>(Data.size())) << C.Name;  // kept for saving
  }
}

TEST(ICCProfile, SaveToStreamWritesTheLengthUnlessRawOnly) {
  const std::vector<Byte> Bytes = SRGBBytes();
  TIEICC ICC;
  ICC.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  TMemoryStream Raw, Sized;
  ICC.SaveToStream(&Raw, true);
  ICC.SaveToStream(&Sized, false);
  ASSERT_EQ(Raw.GetSize(), static_cast<Int64>(Bytes.size()));
  ASSERT_EQ(Sized.GetSize(), Raw.GetSize() + 4);
  const auto* S = static_cast<const Byte*>(Sized.GetMemory());
  EXPECT_EQ(S[0] | S[1] << 8 | S[2] << 16 | S[3] << 24, static_cast<int>(Bytes.size()));
  EXPECT_EQ(std::memcmp(S + 4, Bytes.data(), Bytes.size()), 0);
}

TEST(ICCProfile, ClearAssignAndTheSRGBProfile) {
  const std::vector<Byte> Bytes = SRGBBytes();
  TIEICC Source, Copy;
  Source.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Copy.Assign(&Source);
  EXPECT_TRUE(Copy.IsValid());
  EXPECT_EQ(Copy.GetDescription(), "Test sRGB");
  EXPECT_EQ(Copy.GetRawLength(), Source.GetRawLength());
  Copy.Clear();
  EXPECT_FALSE(Copy.IsValid());
  EXPECT_EQ(Copy.GetRawLength(), 0);
  EXPECT_EQ(Copy.GetDescription(), "");
  Copy.OpenSRGB();
  EXPECT_TRUE(Copy.IsValid());
  EXPECT_EQ(Copy.GetRawLength(), 0);  // opened by name, no bytes
  TIEICC CopyOfNamed;
  CopyOfNamed.Assign(&Copy);
  EXPECT_TRUE(CopyOfNamed.IsValid());
  Source.CloseProfile();
  EXPECT_FALSE(Source.IsValid());
  EXPECT_EQ(Source.GetRawLength(), static_cast<Integer>(Bytes.size()));
}

TEST(ICCProfile, TransformIsCachedByCodesIntentAndFlags) {
  const std::vector<Byte> Bytes = SRGBBytes();
  TIEICC Source, Dest;
  Source.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Dest.OpenSRGB();
  TIERGBTriple In = Rgb(10, 20, 30), Out;
  ASSERT_TRUE(Source.Transform(&Dest, iecBGR, iecBGR, 0, 0, &In, &Out, 1));
  ASSERT_TRUE(Source.Transform(&Dest, iecBGR, iecBGR, 0, 0, &In, &Out, 1));
  EXPECT_FALSE(Source.GetApplied());  // reused, nothing deleted
  ASSERT_TRUE(Source.Transform(&Dest, iecBGR, iecBGR, 1, 0, &In, &Out, 1));
  EXPECT_TRUE(Source.GetApplied());  // the first one was deleted for the new intent
  EXPECT_TRUE(Source.IsTransformReady());
  Source.Clear();
  EXPECT_FALSE(Source.GetApplied());
  EXPECT_FALSE(Source.IsTransformReady());
  EXPECT_FALSE(Source.Transform(&Dest, iecBGR, iecBGR, 0, 0, &In, &Out, 1));  // closed
}

TEST(ICCProfile, ANewDestinationGetsANewTransform) {
  const std::vector<Byte> Bytes = SRGBBytes();
  const std::vector<Byte> Linear = LinearRGBBytes();
  TIEICC Source, ToSRGB, ToLinear;
  Source.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  ToSRGB.OpenSRGB();
  ToLinear.LoadFromBuffer(Linear.data(), static_cast<Integer>(Linear.size()));
  TIERGBTriple In = Rgb(128, 128, 128), First, Second;
  ASSERT_TRUE(Source.Transform(&ToSRGB, iecBGR, iecBGR, 0, 0, &In, &First, 1));
  ASSERT_TRUE(Source.Transform(&ToLinear, iecBGR, iecBGR, 0, 0, &In, &Second, 1));
  EXPECT_NEAR(First.rgbtGreen, 128, 1);
  EXPECT_LT(Second.rgbtGreen, 64);  // mid-grey of sRGB is about a fifth of the light
}

// Every level of each channel, in each byte layout, comes back within one level.
TEST(ICCProfile, SRGBToSRGBIsTheIdentityWithinOneLevel) {
  const std::vector<Byte> Bytes = SRGBBytes();
  TIEICC Source, Dest;
  Source.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Dest.OpenSRGB();
  for (Integer Code : {iecRGB, iecBGR, iec3Channel}) {
    std::vector<Byte> In(256 * 3), Out(256 * 3, 0);
    for (int V = 0; V < 256; ++V) {
      In[V * 3] = static_cast<Byte>(V);
      In[V * 3 + 1] = static_cast<Byte>(255 - V);
      In[V * 3 + 2] = static_cast<Byte>(V * 7);
    }
    const std::vector<Byte> Original = In;
    ASSERT_TRUE(Source.Transform(&Dest, Code, Code, 0, 0, In.data(), Out.data(), 256)) << Code;
    EXPECT_EQ(In, Original) << Code;  // the caller's row is only read
    for (size_t I = 0; I < In.size(); ++I) EXPECT_NEAR(Out[I], In[I], 1) << Code << " byte " << I;
  }
  std::vector<Word> Wide(3 * 64), WideOut(3 * 64);
  for (size_t I = 0; I < Wide.size(); ++I) Wide[I] = static_cast<Word>(I * 1021);
  ASSERT_TRUE(Source.Transform(&Dest, iecRGB48, iecRGB48, 0, 0, Wide.data(), WideOut.data(), 64));
  for (size_t I = 0; I < Wide.size(); ++I) EXPECT_NEAR(WideOut[I], Wide[I], 257) << I;
}

// Each layout's bytes reach the library as its 16-bit channels: the same colours given as BGR
// bytes, RGB bytes, big-endian words and grey come out alike.
TEST(ICCProfile, LayoutsMeetTheReferenceTransform) {
  TIEICC Source, Dest;
  Source.OpenSRGB();
  const std::vector<Byte> Linear = LinearRGBBytes();
  Dest.LoadFromBuffer(Linear.data(), static_cast<Integer>(Linear.size()));
  TProfileHandle SRGB(cmsCreate_sRGBProfile());
  TProfileHandle LinearRef = OpenBytes(Dest);
  TTransformHandle Ref = Reference(SRGB.get(), TYPE_RGB_16, LinearRef.get(), TYPE_RGB_16);
  const Byte Colours[][3] = {{200, 100, 50}, {0, 255, 128}, {30, 30, 30}, {255, 255, 255}};
  for (const auto& C : Colours) {
    Word In16[3] = {static_cast<Word>(C[0] * 257), static_cast<Word>(C[1] * 257),
                    static_cast<Word>(C[2] * 257)};
    Word Expected[3];
    cmsDoTransform(Ref.get(), In16, Expected, 1);
    Byte RGB[3], BGR[3] = {C[2], C[1], C[0]}, OutBGR[3];
    ASSERT_TRUE(Source.Transform(&Dest, iecRGB, iecRGB, 0, 0, C, RGB, 1));
    ASSERT_TRUE(Source.Transform(&Dest, iecBGR, iecBGR, 0, 0, BGR, OutBGR, 1));
    Byte BigEndian[6], OutBE[6];
    for (int I = 0; I < 3; ++I) {
      BigEndian[2 * I] = static_cast<Byte>(In16[I] >> 8);
      BigEndian[2 * I + 1] = static_cast<Byte>(In16[I]);
    }
    ASSERT_TRUE(Source.Transform(&Dest, iecRGB48BE, iecRGB48BE, 0, 0, BigEndian, OutBE, 1));
    for (int I = 0; I < 3; ++I) {
      EXPECT_EQ(RGB[I], Expected[I] >> 8);
      EXPECT_EQ(OutBGR[2 - I], Expected[I] >> 8);
      EXPECT_EQ((OutBE[2 * I] << 8) | OutBE[2 * I + 1], Expected[I]);
    }
  }
}

std::unique_ptr<TIEBitmap> Gradient(Integer Width, Integer Height) {
  auto Bitmap = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      Bitmap->SetPixel24(X, Y, Rgb(static_cast<Byte>(X * 16), static_cast<Byte>(Y * 60), 200));
  return Bitmap;
}

TEST(ICCProfile, ConvertBitmapBetweenEqualProfilesKeepsTheColours) {
  const std::vector<Byte> Bytes = SRGBBytes();
  TIEICC Profile;
  Profile.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  auto Bitmap = Gradient(16, 4);
  Bitmap->SetPixel24(0, 0, Rgb(255, 0, 0));
  Bitmap->GetAlphaChannel()->SetPixel8(3, 2, 77);
  auto Original = Gradient(16, 4);
  Original->SetPixel24(0, 0, Rgb(255, 0, 0));
  ASSERT_TRUE(Profile.ConvertBitmap(Bitmap.get(), ie24RGB, &Profile));
  EXPECT_FALSE(Profile.IsTransformReady());
  EXPECT_TRUE(Profile.GetApplied());
  ASSERT_EQ(Bitmap->GetPixelFormat(), ie24RGB);
  ASSERT_EQ(Bitmap->GetWidth(), 16);
  ASSERT_EQ(Bitmap->GetHeight(), 4);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 16; ++X) {
      const TIERGBTriple A = Bitmap->GetPixel24(X, Y), B = Original->GetPixel24(X, Y);
      EXPECT_NEAR(A.rgbtRed, B.rgbtRed, 1);
      EXPECT_NEAR(A.rgbtGreen, B.rgbtGreen, 1);
      EXPECT_NEAR(A.rgbtBlue, B.rgbtBlue, 1);
    }
  EXPECT_GE(Bitmap->GetPixel24(0, 0).rgbtRed, 254);  // still red, not blue
  ASSERT_TRUE(Bitmap->HasAlphaChannel());
  EXPECT_EQ(Bitmap->GetAlphaChannel()->GetPixel8(3, 2), 77);
}

TEST(ICCProfile, ConvertBitmapRefusesWithoutChangingThePicture) {
  const std::vector<Byte> Bytes = SRGBBytes();
  TIEICC Profile, Closed;
  Profile.LoadFromBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  auto Bitmap = Gradient(8, 3);
  const TIERGBTriple Before = Bitmap->GetPixel24(5, 1);
  EXPECT_FALSE(Profile.ConvertBitmap(Bitmap.get(), ie1g, &Profile));
  // A closed destination gives no transform: the picture is kept rather than blanked.
  EXPECT_FALSE(Profile.ConvertBitmap(Bitmap.get(), ie24RGB, &Closed));
  EXPECT_FALSE(Closed.ConvertBitmap(Bitmap.get(), ie24RGB, &Profile));
  EXPECT_EQ(Bitmap->GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Bitmap->GetPixel24(5, 1), Before);
  TIEBitmap Mono(8, 3, ie1g);
  EXPECT_FALSE(Profile.ConvertBitmap(&Mono, ie24RGB, &Profile));
  EXPECT_EQ(Mono.GetPixelFormat(), ie1g);
}

TEST(ICCProfile, ConvertBitmapToLabMeetsTheReference) {
  TIEICC SRGB, Lab;
  SRGB.OpenSRGB();
  const std::vector<Byte> LabBytes = SavedBytes(cmsCreateLab4Profile(nullptr));
  Lab.LoadFromBuffer(LabBytes.data(), static_cast<Integer>(LabBytes.size()));
  auto Bitmap = Gradient(4, 1);
  ASSERT_TRUE(SRGB.ConvertBitmap(Bitmap.get(), ieCIELab, &Lab));
  ASSERT_EQ(Bitmap->GetPixelFormat(), ieCIELab);
  TProfileHandle From(cmsCreate_sRGBProfile()), To(cmsCreateLab4Profile(nullptr));
  TTransformHandle Ref = Reference(From.get(), TYPE_RGB_16, To.get(), TYPE_Lab_16);
  for (Integer X = 0; X < 4; ++X) {
    const Word In[3] = {static_cast<Word>(X * 16 * 257), 0, static_cast<Word>(200 * 257)};
    Word Out[3];
    cmsDoTransform(Ref.get(), In, Out, 1);
    const auto* P = static_cast<const TIECIELabPixel*>(Bitmap->GetScanline(0)) + X;
    EXPECT_EQ(P->l, Out[0] >> 8);
    EXPECT_EQ(P->a, (Out[1] >> 8) - 128);  // signed, 0 at 128
    EXPECT_EQ(P->b, (Out[2] >> 8) - 128);
  }
  // And back: the Lab bytes reach the library as its 16-bit Lab (a and b offset by 128).
  std::vector<TIECIELabPixel> LabRow(static_cast<const TIECIELabPixel*>(Bitmap->GetScanline(0)),
                                     static_cast<const TIECIELabPixel*>(Bitmap->GetScanline(0)) + 4);
  ASSERT_TRUE(Lab.ConvertBitmap(Bitmap.get(), ie24RGB, &SRGB));
  TTransformHandle Back = Reference(To.get(), TYPE_Lab_16, From.get(), TYPE_RGB_16);
  for (Integer X = 0; X < 4; ++X) {
    const Word In[3] = {static_cast<Word>(LabRow[X].l * 257), static_cast<Word>((LabRow[X].a + 128) * 257),
                        static_cast<Word>((LabRow[X].b + 128) * 257)};
    Word Out[3];
    cmsDoTransform(Back.get(), In, Out, 1);
    EXPECT_EQ(Bitmap->GetPixel24(X, 0), Rgb(Out[0] >> 8, Out[1] >> 8, Out[2] >> 8)) << X;
    EXPECT_NEAR(Bitmap->GetPixel24(X, 0).rgbtBlue, 200, 3) << X;
  }
}

bool ToolPresent(const char* Name) {
  return std::system((std::string("command -v ") + Name + " >/dev/null 2>&1").c_str()) == 0;
}

// The ICC_PROFILE chunks of a JPEG's APP2 markers, joined by sequence number.
std::vector<Byte> EmbeddedProfile(const std::vector<Byte>& Jpeg) {
  std::map<int, std::vector<Byte>> Chunks;
  size_t Pos = 2;  // after SOI
  while (Pos + 4 <= Jpeg.size() && Jpeg[Pos] == 0xFF && Jpeg[Pos + 1] != 0xDA) {
    const Byte Marker = Jpeg[Pos + 1];
    const size_t Length = (Jpeg[Pos + 2] << 8) | Jpeg[Pos + 3];
    if (Length < 2 || Pos + 2 + Length > Jpeg.size()) break;
    const Byte* Payload = &Jpeg[Pos + 4];
    const size_t Size = Length - 2;
    if (Marker == 0xE2 && Size > 14 && std::memcmp(Payload, "ICC_PROFILE", 12) == 0)
      Chunks[Payload[12]].assign(Payload + 14, Payload + Size);
    Pos += 2 + Length;
  }
  std::vector<Byte> Profile;
  for (const auto& [Sequence, Data] : Chunks) Profile.insert(Profile.end(), Data.begin(), Data.end());
  return Profile;
}

TEST(ICCProfile, ProfileEmbeddedInAJpegIsRead) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "needs ImageMagick's convert";
  std::string Folder = (std::filesystem::temp_directory_path() / "tv-icc-XXXXXX").string();
  ASSERT_NE(mkdtemp(Folder.data()), nullptr);
  const std::string Icc = Folder + "/screen.icc", Jpeg = Folder + "/red.jpg";
  cmsHPROFILE Written = SRGBProfileV2("Embedded screen", "Embedded notice");
  ASSERT_TRUE(cmsSaveProfileToFile(Written, Icc.c_str()));
  cmsCloseProfile(Written);
  const std::string Command =
      "convert -size 8x8 xc:red -profile '" + Icc + "' '" + Jpeg + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(Command.c_str()), 0);
  std::ifstream In(Jpeg, std::ios::binary);
  const std::vector<Byte> Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  std::ifstream IccIn(Icc, std::ios::binary);
  const std::vector<Byte> IccBytes((std::istreambuf_iterator<char>(IccIn)), std::istreambuf_iterator<char>());
  std::error_code Ignored;
  std::filesystem::remove_all(Folder, Ignored);

  const std::vector<Byte> Profile = EmbeddedProfile(Bytes);
  ASSERT_FALSE(Profile.empty());
  TIEICC ICC;
  ICC.LoadFromBuffer(Profile.data(), static_cast<Integer>(Profile.size()));
  EXPECT_TRUE(ICC.IsValid());
  EXPECT_EQ(ICC.GetDescription(), "Embedded screen");
  EXPECT_EQ(ICC.GetCopyright(), "Embedded notice");
  EXPECT_EQ(Profile.size(), IccBytes.size());
}

}  // namespace
