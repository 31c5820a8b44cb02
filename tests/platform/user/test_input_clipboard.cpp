// The clipboard and global memory blocks.
#include <cstring>
#include <thread>

#include "InputTestSupport.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/user/GlobalMemory.h"

namespace {

using TClipboardTest = TInputTest;

HGLOBAL Block(const void* Data, std::size_t Size) {
  HGLOBAL G = GlobalAlloc(GMEM_MOVEABLE, Size);
  std::memcpy(GlobalLock(G), Data, Size);
  GlobalUnlock(G);
  return G;
}

HGLOBAL TextOf(const std::string& S) {
  return Block(S.c_str(), S.size() + 1);
}

HGLOBAL UnicodeOf(const std::u16string& S) {
  return Block(S.c_str(), 2 * (S.size() + 1));
}

std::string ReadText(HANDLE H) {
  const auto* P = static_cast<const char*>(GlobalLock(H));
  std::string S = P != nullptr ? std::string(P, strnlen(P, GlobalSize(H))) : "";
  GlobalUnlock(H);
  return S;
}

std::u16string ReadUnicode(HANDLE H) {
  const auto* P = static_cast<const char16_t*>(GlobalLock(H));
  std::u16string S;
  for (std::size_t I = 0; P != nullptr && I < GlobalSize(H) / 2 && P[I] != 0; ++I) S.push_back(P[I]);
  GlobalUnlock(H);
  return S;
}

std::vector<UINT> Enumerated() {
  std::vector<UINT> R;
  for (UINT F = EnumClipboardFormats(0); F != 0; F = EnumClipboardFormats(F)) R.push_back(F);
  return R;
}

TEST_F(TClipboardTest, TextRoundTripThroughTheDesktop) {
  HWND W = Popup({0, 0, 100, 100});
  ASSERT_TRUE(OpenClipboard(W));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL Mem = TextOf("Hello\r\nWorld");
  EXPECT_EQ(SetClipboardData(CF_TEXT, Mem), Mem);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(Display.GetClipboardText(), "Hello\nWorld");
  EXPECT_EQ(GetClipboardOwner(), W);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  EXPECT_EQ(CountClipboardFormats(), 2);

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(GetClipboardData(CF_TEXT), Mem);
  EXPECT_EQ(ReadUnicode(GetClipboardData(CF_UNICODETEXT)), u"Hello\r\nWorld");
  EXPECT_EQ(Enumerated(), (std::vector<UINT>{CF_TEXT, CF_UNICODETEXT}));
  CloseClipboard();

  // CF_TEXT made from CF_UNICODETEXT holds UTF-8.
  ASSERT_TRUE(OpenClipboard(W));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, UnicodeOf(u"Gr\u00FC\u00DFe \u20AC"));
  EXPECT_EQ(ReadText(GetClipboardData(CF_TEXT)),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x82\xAC");
  CloseClipboard();
  EXPECT_EQ(Display.GetClipboardText(),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x82\xAC");

  // Another program's text replaces what was placed; the owner hears of it.
  InputLog().clear();
  Display.SetClipboardText("from\nelsewhere");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(Of(W, WM_DESTROYCLIPBOARD).size(), 1u);
  EXPECT_EQ(ReadText(GetClipboardData(CF_TEXT)), "from\r\nelsewhere");
  EXPECT_EQ(GetClipboardOwner(), nullptr);
  CloseClipboard();
}

TEST_F(TClipboardTest, OwnershipAndOpening) {
  HWND First = Popup({0, 0, 100, 100});
  HWND Second = Popup({200, 0, 300, 100});
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
  EXPECT_FALSE(CloseClipboard());
  ASSERT_TRUE(OpenClipboard(First));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, TextOf("one"));
  EXPECT_EQ(GetOpenClipboardWindow(), First);
  // Held by this thread: another thread cannot open it.
  BOOL Other = TRUE;
  std::thread([&] { Other = OpenClipboard(nullptr); }).join();
  EXPECT_FALSE(Other);
  CloseClipboard();
  InputLog().clear();
  ASSERT_TRUE(OpenClipboard(Second));
  EmptyClipboard();
  EXPECT_EQ(Of(First, WM_DESTROYCLIPBOARD).size(), 1u);
  EXPECT_EQ(GetClipboardOwner(), Second);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  // A registered format, rendered when asked for.
  const UINT Mine = RegisterClipboardFormat("Tilvarok Test Format");
  EXPECT_GE(Mine, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("tilvarok test format"), Mine);
  char Name[64];
  EXPECT_EQ(GetClipboardFormatName(Mine, Name, sizeof(Name)), 20);
  EXPECT_STREQ(Name, "Tilvarok Test Format");
  EXPECT_EQ(GetClipboardFormatName(CF_TEXT, Name, sizeof(Name)), 0);
  Behaviours()[Second].Handler = [&](HWND, UINT Msg, WPARAM WParam, LPARAM, LRESULT&) {
    if (Msg == WM_RENDERFORMAT) SetClipboardData(static_cast<UINT>(WParam), TextOf("rendered"));
    return Msg == WM_RENDERFORMAT;
  };
  SetClipboardData(Mine, nullptr);
  EXPECT_TRUE(IsClipboardFormatAvailable(Mine));
  EXPECT_EQ(ReadText(GetClipboardData(Mine)), "rendered");
  EXPECT_EQ(Of(Second, WM_RENDERFORMAT).size(), 1u);
  EXPECT_EQ(ReadText(GetClipboardData(Mine)), "rendered");
  EXPECT_EQ(Of(Second, WM_RENDERFORMAT).size(), 1u);
  CloseClipboard();
}

TEST_F(TClipboardTest, ImagesBetweenDibAndBitmap) {
  // A 2 x 2 DIB of 24 bits, bottom row first: blue, green / red, white.
  std::vector<Byte> Dib(40 + 2 * 8);
  BITMAPINFOHEADER H;
  H.biWidth = 2;
  H.biHeight = 2;
  H.biBitCount = 24;
  std::memcpy(Dib.data(), &H, 40);
  const Byte Bits[16] = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
  std::memcpy(Dib.data() + 40, Bits, 16);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_DIB, Block(Dib.data(), Dib.size()));
  EXPECT_EQ(Enumerated(), (std::vector<UINT>{CF_DIB, CF_BITMAP, CF_DIBV5}));
  auto* B = static_cast<HBITMAP>(static_cast<HGDIOBJ>(GetClipboardData(CF_BITMAP)));
  ASSERT_NE(B, nullptr);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, B);
  EXPECT_EQ(GetPixel(DC, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(DC, 1, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(DC, 0, 1), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(DC, 1, 1), RGB(0, 255, 0));
  SelectObject(DC, Old);
  HANDLE V5 = GetClipboardData(CF_DIBV5);
  ASSERT_NE(V5, nullptr);
  const auto* P = static_cast<const Byte*>(GlobalLock(V5));
  DWORD Size;
  std::memcpy(&Size, P, 4);
  EXPECT_EQ(Size, 124u);
  EXPECT_EQ(GlobalSize(V5), 124u + 16u);
  EXPECT_EQ(std::memcmp(P + 124, Bits, 16), 0);
  GlobalUnlock(V5);

  // A bitmap placed gives a DIB of 32 bits.
  EmptyClipboard();
  HBITMAP Placed = CreateBitmap(3, 1, 1, 32, nullptr);
  SelectObject(DC, Placed);
  SetPixel(DC, 2, 0, RGB(10, 20, 30));
  SelectObject(DC, Old);
  SetClipboardData(CF_BITMAP, static_cast<HGDIOBJ>(Placed));
  HANDLE Made = GetClipboardData(CF_DIB);
  ASSERT_NE(Made, nullptr);
  const auto* Q = static_cast<const Byte*>(GlobalLock(Made));
  BITMAPINFOHEADER Got;
  std::memcpy(&Got, Q, 40);
  EXPECT_EQ(Got.biBitCount, 32);
  EXPECT_EQ(Got.biWidth, 3);
  EXPECT_EQ(Q[40 + 8], 30);
  EXPECT_EQ(Q[40 + 9], 20);
  EXPECT_EQ(Q[40 + 10], 10);
  GlobalUnlock(Made);
  // A damaged DIB gives no bitmap.
  EmptyClipboard();
  SetClipboardData(CF_DIB, Block(Dib.data(), 50));
  EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
  CloseClipboard();
  DeleteDC(DC);
}

TEST(GlobalMemory, Blocks) {
  HGLOBAL Moveable = GlobalAlloc(GHND, 10);
  ASSERT_NE(Moveable, nullptr);
  auto* P = static_cast<Byte*>(GlobalLock(Moveable));
  ASSERT_NE(P, nullptr);
  EXPECT_NE(static_cast<void*>(P), Moveable);
  EXPECT_EQ(P[9], 0);
  EXPECT_EQ(GlobalLock(Moveable), P);
  EXPECT_EQ(GlobalFlags(Moveable) & GMEM_LOCKCOUNT, 2u);
  EXPECT_EQ(GlobalHandle(P), Moveable);
  EXPECT_TRUE(GlobalUnlock(Moveable));
  EXPECT_FALSE(GlobalUnlock(Moveable));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_FALSE(GlobalUnlock(Moveable));
  EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
  EXPECT_EQ(GlobalReAlloc(Moveable, 100, GMEM_ZEROINIT), Moveable);
  EXPECT_EQ(GlobalSize(Moveable), 100u);
  EXPECT_EQ(static_cast<Byte*>(GlobalLock(Moveable))[99], 0);
  GlobalUnlock(Moveable);
  EXPECT_EQ(GlobalFree(Moveable), nullptr);
  EXPECT_EQ(GlobalFree(Moveable), Moveable);
  EXPECT_EQ(GlobalSize(Moveable), 0u);

  // A fixed block's handle is its address.
  HGLOBAL Fixed = GlobalAlloc(GPTR, 4);
  EXPECT_EQ(GlobalLock(Fixed), Fixed);
  EXPECT_TRUE(GlobalUnlock(Fixed));
  EXPECT_EQ(GlobalReAlloc(Fixed, 8, 0), nullptr) << "a fixed block grows only when it may move";
  EXPECT_EQ(GlobalSize(Fixed), 4u);
  EXPECT_EQ(GlobalFree(Fixed), nullptr);

  HGLOBAL Discarded = GlobalAlloc(GMEM_MOVEABLE, 0);
  EXPECT_EQ(GlobalLock(Discarded), nullptr);
  EXPECT_TRUE(GlobalFlags(Discarded) & GMEM_DISCARDED);
  GlobalFree(Discarded);

  void* Ptr = GlobalAllocPtr(GMEM_MOVEABLE, 16);
  ASSERT_NE(Ptr, nullptr);
  EXPECT_TRUE(GlobalFreePtr(Ptr));
  EXPECT_EQ(GlobalHandle(Ptr), nullptr);
}

}  // namespace
