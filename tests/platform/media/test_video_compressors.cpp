// The installed video compressors.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/media/VideoCompressors.h"

namespace {

std::string Code(DWORD Handler) {
  std::string S;
  for (Integer I = 0; I < 4; ++I) S += static_cast<char>((Handler >> (8 * I)) & 0xFF);
  return S;
}

class VideoCompressors : public ::testing::Test {
 protected:
  void TearDown() override { ICSetInstalledCompressorsForTesting(std::nullopt); }
};

}  // namespace

TEST_F(VideoCompressors, ListUncompressedFirstThenTheEncodersOnceEach) {
  std::vector<std::string> Codes;
  ICINFO Info;
  for (DWORD I = 0; ICInfo(0, I, &Info); ++I) {
    EXPECT_EQ(Info.fccType, ICTYPE_VIDEO);
    Codes.push_back(Code(Info.fccHandler));
  }
  ASSERT_GE(Codes.size(), 2u);
  EXPECT_EQ(Codes[0], "DIB ");
  EXPECT_NE(std::find(Codes.begin(), Codes.end(), "MJPG"), Codes.end());
  std::vector<std::string> Sorted = Codes;
  std::sort(Sorted.begin(), Sorted.end());
  EXPECT_EQ(std::adjacent_find(Sorted.begin(), Sorted.end()), Sorted.end()) << "a code listed twice";
}

TEST_F(VideoCompressors, OpenedForQueryTheyDescribeThemselves) {
  HIC Compressor = ICOpen(ICTYPE_VIDEO, mmioFOURCC('m', 'j', 'p', 'g'), ICMODE_QUERY);  // any case
  ASSERT_NE(Compressor, nullptr);
  ICINFO Info;
  EXPECT_EQ(ICGetInfo(Compressor, &Info, sizeof Info), 568);
  EXPECT_EQ(std::u16string(Info.szDescription), u"Motion JPEG");
  EXPECT_EQ(ICClose(Compressor), ICERR_OK);
  EXPECT_EQ(ICOpen(ICTYPE_VIDEO, mmioFOURCC('Q', 'Q', 'Q', 'Q'), ICMODE_QUERY), nullptr);
  EXPECT_EQ(ICGetInfo(nullptr, &Info, sizeof Info), 0);
  if (HIC Cram = ICOpen(0, mmioFOURCC('M', 'S', 'V', 'C'), ICMODE_QUERY)) {
    ICGetInfo(Cram, &Info, sizeof Info);
    EXPECT_EQ(std::u16string(Info.szDescription), u"Microsoft Video 1");
    ICClose(Cram);
  }
}

TEST_F(VideoCompressors, ARestrictedListAndAnEmptyOne) {
  ICSetInstalledCompressorsForTesting(std::vector<FOURCC>{mmioFOURCC('M', 'J', 'P', 'G'), comptypeDIB});
  ICINFO Info;
  ASSERT_TRUE(ICInfo(0, 0, &Info));
  EXPECT_EQ(Code(Info.fccHandler), "MJPG");
  ASSERT_TRUE(ICInfo(0, 1, &Info));
  EXPECT_EQ(Code(Info.fccHandler), "DIB ");
  EXPECT_FALSE(ICInfo(0, 2, &Info));

  ICSetInstalledCompressorsForTesting(std::vector<FOURCC>{});
  EXPECT_FALSE(ICInfo(0, 0, &Info));
  EXPECT_EQ(ICOpen(ICTYPE_VIDEO, mmioFOURCC('M', 'J', 'P', 'G'), ICMODE_QUERY), nullptr);
}
