#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iexmp.h"

namespace {

const std::string Identifier("http://ns.adobe.com/xap/1.0/\0", 29);

std::string Payload(std::string_view Packet) {
  return Identifier + std::string(Packet);
}

TEST(XMPInAPP1, PacketIsFoundAfterTheIdentifiersZeroByte) {
  const std::string Data = Payload("x");  // 30 bytes: the shortest payload with a packet
  EXPECT_EQ(IEFindXMPData(Data.data(), 30), reinterpret_cast<const Byte*>(Data.data()) + 29);
  std::string Xmp = "old";
  ASSERT_TRUE(IELoadXMPFromAPP1(Data.data(), 30, Xmp));
  EXPECT_EQ(Xmp, "x");
}

TEST(XMPInAPP1, OtherPayloadsAreNotXMPAndLeaveTheTextAlone) {
  struct TCase {
    const char* Name;
    std::string Data;
  };
  const std::vector<TCase> Cases = {
      {"29 bytes: identifier without packet", Identifier},
      {"another namespace", "http://ns.example.com/xap/1.0/" + std::string(10, 'x')},
      {"EXIF block", std::string("Exif\0\0II*\0", 10) + std::string(40, '\0')},
      // Only 24 characters are compared; without any zero byte there is no packet to find.
      {"no zero byte", "http://ns.adobe.com/xap/1.0/ and then no end" + std::string(5, 'x')},
  };
  for (const TCase& Case : Cases) {
    std::string Xmp = "old";
    EXPECT_EQ(IEFindXMPData(Case.Data.data(), static_cast<Integer>(Case.Data.size())), nullptr) << Case.Name;
    EXPECT_FALSE(IELoadXMPFromAPP1(Case.Data.data(), static_cast<Integer>(Case.Data.size()), Xmp))
        << Case.Name;
    EXPECT_EQ(Xmp, "old") << Case.Name;
  }
}

TEST(XMPInAPP1, SavedPayloadIsIdentifierAndTextAndReadsBack) {
  const std::string Text(1000, 'p');
  std::unique_ptr<Byte[]> Buffer;
  Integer Length = 0;
  IESaveXMPToAPP1(Text, Buffer, Length);
  ASSERT_EQ(Length, 1029);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Buffer.get()), Length), Payload(Text));
  std::string Back;
  ASSERT_TRUE(IELoadXMPFromAPP1(Buffer.get(), Length, Back));
  EXPECT_EQ(Back, Text);
}

}  // namespace
