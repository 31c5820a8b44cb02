// TIETextControl: copying and pasting text with its character formats, and the unit's start-up.
#include <cstring>
#include <vector>

#include "imaging/core/iewinutils.h"
#include "imaging/view/ietextc.h"
#include "platform/user/Clipboard.h"
#include "platform/user/GlobalMemory.h"

UINT IETextMemoClipboardFormat = 0;

void IETextControlInitialize() {
  IETextMemoClipboardFormat = RegisterClipboardFormat("ZEZUDID TEXTMEMO");
}

void IETextControlFinalize() {}

namespace {

void PutBlock(UINT Format, const std::vector<Byte>& Data) {
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Data.size());
  if (Mem == nullptr) return;
  std::memcpy(GlobalLock(Mem), Data.data(), Data.size());
  GlobalUnlock(Mem);
  if (SetClipboardData(Format, Mem) == nullptr) GlobalFree(Mem);
}

// The bytes of a clipboard block, bounded by the block's size.
std::vector<Byte> GetBlock(UINT Format) {
  std::vector<Byte> Data;
  HANDLE Mem = GetClipboardData(Format);
  if (Mem == nullptr) return Data;
  const std::size_t Size = GlobalSize(Mem);
  const auto* P = static_cast<const Byte*>(GlobalLock(Mem));
  if (P != nullptr) Data.assign(P, P + Size);
  GlobalUnlock(Mem);
  return Data;
}

}  // namespace

void TIETextControl::CopyToClipboard() {
  const Integer Last = std::min(FSelEnd, GetTextLength());
  if (FSelStart >= Last) return;
  if (!IEOpenClipboard()) return;
  EmptyClipboard();
  std::vector<Byte> Text;
  for (Integer I = FSelStart; I < Last; ++I) {
    const char C = TextBuffer[static_cast<std::size_t>(I)];
    if (C == 10) Text.push_back(13);
    Text.push_back(static_cast<Byte>(C));
  }
  Text.push_back(0);
  PutBlock(CF_TEXT, Text);
  const auto N = static_cast<std::size_t>(Last - FSelStart);
  std::vector<Byte> Memo(N + 1 + N * IECharFormatSize, 0);
  std::memcpy(Memo.data(), TextBuffer.data() + FSelStart, N);
  for (std::size_t I = 0; I < N; ++I)
    IECharFormatWrite(CharFormat(FSelStart + static_cast<Integer>(I)),
                      Memo.data() + N + 1 + I * IECharFormatSize);
  PutBlock(IETextMemoClipboardFormat, Memo);
  CloseClipboard();
}

void TIETextControl::PasteFromClipboard() {
  if (!IEOpenClipboard()) return;
  bool Done = false;
  if (IETextMemoClipboardFormat != 0 && IsClipboardFormatAvailable(IETextMemoClipboardFormat)) {
    const std::vector<Byte> Memo = GetBlock(IETextMemoClipboardFormat);
    const auto* Zero = static_cast<const Byte*>(std::memchr(Memo.data(), 0, Memo.size()));
    // A block shorter than its characters' formats (not ours) is left to the plain text.
    if (Zero != nullptr) {
      const auto N = static_cast<std::size_t>(Zero - Memo.data());
      if ((Memo.size() - N - 1) / IECharFormatSize >= N) {
        for (std::size_t I = 0; I < N; ++I) {
          FCurrentFormat = IECharFormatRead(Memo.data() + N + 1 + I * IECharFormatSize);
          InsertChar(static_cast<char>(Memo[I]));
        }
        Done = true;
      }
    }
  }
  if (!Done && IsClipboardFormatAvailable(CF_TEXT)) {
    for (Byte B : GetBlock(CF_TEXT)) {
      if (B == 0) break;
      if (B != 13) InsertChar(static_cast<char>(B));
    }
  }
  CloseClipboard();
}
