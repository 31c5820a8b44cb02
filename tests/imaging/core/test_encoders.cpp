#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/ieencoders.h"
#include "platform/system/Streams.h"

namespace {

struct TASCII85Result {
  std::string Text;
  Integer Returned = 0;
  Integer Written = 0;
};

TASCII85Result ASCII85(const std::vector<Byte>& Input) {
  std::string Out(IEASCII85Bound(static_cast<Integer>(Input.size())), '\0');
  const Byte* In = Input.data();
  char* Cursor = Out.data();
  TASCII85Result Result;
  Result.Returned = IEASCII85Encode(In, static_cast<Integer>(Input.size()), Cursor, Result.Written);
  EXPECT_EQ(In, Input.data() + Input.size());
  EXPECT_EQ(Cursor - Out.data(), Result.Returned);
  Result.Text = Out.substr(0, Result.Returned);
  return Result;
}

std::vector<Byte> Bytes(std::string_view Text) {
  return {Text.begin(), Text.end()};
}

std::vector<Byte> PackBits(const std::vector<Byte>& Input) {
  std::vector<Byte> Out(IEPackBitsBound(static_cast<Integer>(Input.size())));
  Out.resize(IEPackBitsEncode(Input.data(), static_cast<Integer>(Input.size()), Out.data()));
  return Out;
}

// The RunLengthDecode filter, as a reader of the encoded bytes would run it.
std::vector<Byte> UnpackBits(const std::vector<Byte>& Packed) {
  std::vector<Byte> Out;
  size_t I = 0;
  while (I < Packed.size() && Packed[I] != 128) {
    const Byte Code = Packed[I++];
    if (Code < 128) {
      Out.insert(Out.end(), Packed.begin() + I, Packed.begin() + I + Code + 1);
      I += Code + 1;
    } else {
      Out.insert(Out.end(), 257 - Code, Packed[I++]);
    }
  }
  EXPECT_EQ(I + 1, Packed.size()) << "the end code ends the data";
  return Out;
}

std::string Base64Text(std::string_view Input, Integer LineLength) {
  TStringStream Source{std::string(Input)};
  TStringStream Text;
  IEBase64EncodeStreamToText(&Source, &Text, LineLength);
  return Text.GetDataString();
}

TEST(ASCII85, GroupsMatchReferenceVectors) {
  struct TCase {
    std::vector<Byte> Input;
    std::string Encoded;
  };
  const std::vector<TCase> Cases = {
      {Bytes("Man is distinguished"), "9jqo^BlbD-BleB1DJ+*+F(f,q"},
      {Bytes("abc"), "@:E^"},  // a final group of three bytes: four characters
      {{0, 0, 0, 0}, "z"},
      {{0, 0, 0}, "!!!!"},  // only a whole zero group becomes "z"
      {{0, 0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0, 255}, "z!<N?+zrr"},
  };
  for (const TCase& Case : Cases) {
    const TASCII85Result Result = ASCII85(Case.Input);
    EXPECT_EQ(Result.Text, Case.Encoded + "~>\r\n");
    EXPECT_EQ(Result.Written, static_cast<Integer>(Case.Encoded.size()));
  }
}

TEST(ASCII85, BreaksLinesOnceTheyReach75Characters) {
  // 16 groups of five characters: the break follows the 15th group (75 characters).
  const std::vector<Byte> Input(64, 0x41);
  const TASCII85Result Result = ASCII85(Input);
  ASSERT_EQ(Result.Text.size(), 75u + 2 + 5 + 4);
  EXPECT_EQ(Result.Text.substr(75, 2), "\r\n");
  EXPECT_EQ(Result.Text.substr(82), "~>\r\n");
  EXPECT_EQ(Result.Written, 80);
  EXPECT_EQ(Result.Returned, 86);
}

TEST(ASCII85, EmptyInputWritesOnlyTheEndMark) {
  // A lone digit before the end mark would be a group no decoder accepts.
  const TASCII85Result Result = ASCII85({});
  EXPECT_EQ(Result.Text, "~>\r\n");
  EXPECT_EQ(Result.Written, 0);
}

TEST(PackBits, EncodesRunsAndLiteralsAsSpecifiedLayouts) {
  EXPECT_EQ(PackBits(std::vector<Byte>(300, 0xFF)), (std::vector<Byte>{129, 255, 129, 255, 213, 255, 128}));
  // The literal takes the first of the equal bytes; the other two are a run of two.
  EXPECT_EQ(PackBits({1, 2, 3, 3, 3}), (std::vector<Byte>{2, 1, 2, 3, 255, 3, 128}));
  EXPECT_EQ(PackBits({}), (std::vector<Byte>{128}));
  EXPECT_EQ(PackBits({7}), (std::vector<Byte>{0, 7, 128}));
}

TEST(PackBits, LongLiteralsSplitAt128AndEverythingDecodesBack) {
  std::vector<Byte> Literal(300);
  for (size_t I = 0; I < Literal.size(); ++I) Literal[I] = static_cast<Byte>(I * 7 + I / 256);
  const std::vector<Byte> Packed = PackBits(Literal);
  EXPECT_EQ(Packed[0], 127);
  EXPECT_EQ(Packed[129], 127);
  EXPECT_EQ(Packed.size(), Literal.size() + 3 + 1);
  EXPECT_EQ(UnpackBits(Packed), Literal);

  std::vector<Byte> Mixed;
  unsigned Seed = 1;
  for (Integer I = 0; I < 5000; ++I) {
    Seed = Seed * 1103515245 + 12345;
    Mixed.insert(Mixed.end(), (Seed >> 16) % 4 == 0 ? (Seed >> 8) % 200 + 1 : 1,
                 static_cast<Byte>(Seed >> 24));
  }
  const std::vector<Byte> MixedPacked = PackBits(Mixed);
  EXPECT_LE(MixedPacked.size(), static_cast<size_t>(IEPackBitsBound(static_cast<Integer>(Mixed.size()))));
  EXPECT_EQ(UnpackBits(MixedPacked), Mixed);
}

TEST(Base64, TripletsPadWithEqualSigns) {
  const Byte Input[] = {'a', 'b', 'c'};
  char Out[5] = {};
  IEBase64EncodeTriplet(Input, Out, 3);
  EXPECT_STREQ(Out, "YWJj");
  IEBase64EncodeTriplet(Input, Out, 2);
  EXPECT_STREQ(Out, "YWI=");
  IEBase64EncodeTriplet(Input, Out, 1);
  EXPECT_STREQ(Out, "YQ==");
}

TEST(Base64, StreamTextEncodesEveryByteInLinesOfWholeGroups) {
  EXPECT_EQ(Base64Text("abc", 76), "YWJj\r\n");
  EXPECT_EQ(Base64Text("abcd", 76), "YWJjZA==\r\n");
  EXPECT_EQ(Base64Text("", 76), "");
  std::string Ramp(58, '\0');
  for (size_t I = 0; I < Ramp.size(); ++I) Ramp[I] = static_cast<char>(I);
  const std::string Reference =
      "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OQ==";
  // 57 bytes fill the 19 groups of a 76-character line; byte 58 starts a second line.
  EXPECT_EQ(Base64Text(Ramp, 76), Reference.substr(0, 76) + "\r\n" + Reference.substr(76) + "\r\n");
  EXPECT_EQ(Base64Text(Ramp.substr(0, 57), 76), Reference.substr(0, 76) + "\r\n");
  EXPECT_EQ(Base64Text("abcdef", 4), "YWJj\r\nZGVm\r\n");
  EXPECT_EQ(Base64Text("abcdefg", 8), "YWJjZGVm\r\nZw==\r\n");
}

TEST(GUIDText, LowerCaseWithBracesAndFourDashes) {
  TGUID GUID;
  GUID.D1 = 0x6BA7B810;
  GUID.D2 = 0x9DAD;
  GUID.D3 = 0x11D1;
  const Byte Tail[8] = {0x80, 0xB4, 0x00, 0xC0, 0x4F, 0xD4, 0x30, 0xC8};
  std::copy(Tail, Tail + 8, GUID.D4);
  std::string Text;
  IEGUIDToString(GUID, Text);
  EXPECT_EQ(Text, "{6ba7b810-9dad-11d1-80b4-00c04fd430c8}");
}

}  // namespace
