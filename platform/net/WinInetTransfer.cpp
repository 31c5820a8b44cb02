#include "platform/net/WinInetTransfer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

TCurlTransfer::TCurlTransfer(CURL* Easy, curl_slist* HeaderList)
    : FEasy(Easy), FHeaderList(HeaderList), FMulti(curl_multi_init()) {
  if (FHeaderList) curl_easy_setopt(FEasy, CURLOPT_HTTPHEADER, FHeaderList);
  curl_easy_setopt(FEasy, CURLOPT_ERRORBUFFER, FErrorText);
  curl_easy_setopt(FEasy, CURLOPT_WRITEFUNCTION, &TCurlTransfer::OnBody);
  curl_easy_setopt(FEasy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(FEasy, CURLOPT_HEADERFUNCTION, &TCurlTransfer::OnHeader);
  curl_easy_setopt(FEasy, CURLOPT_HEADERDATA, this);
}

TCurlTransfer::~TCurlTransfer() {
  if (FMulti) {
    curl_multi_remove_handle(FMulti, FEasy);
    curl_multi_cleanup(FMulti);
  }
  curl_easy_cleanup(FEasy);
  curl_slist_free_all(FHeaderList);
}

std::size_t TCurlTransfer::OnBody(char* Data, std::size_t Size, std::size_t Count, void* Self) {
  auto* Transfer = static_cast<TCurlTransfer*>(Self);
  // Drop what was handed out before growing the buffer, so it holds at most a few pieces.
  if (Transfer->FBodyRead == Transfer->FBody.size()) {
    Transfer->FBody.clear();
    Transfer->FBodyRead = 0;
  }
  Transfer->FBody.append(Data, Size * Count);
  return Size * Count;
}

std::size_t TCurlTransfer::OnHeader(char* Data, std::size_t Size, std::size_t Count, void* Self) {
  auto* Transfer = static_cast<TCurlTransfer*>(Self);
  std::string Line(Data, Size * Count);
  while (!Line.empty() && (Line.back() == '\n' || Line.back() == '\r')) Line.pop_back();
  // Every answer of a redirect chain starts with its status line; only the last one counts.
  if (Line.rfind("HTTP/", 0) == 0) Transfer->FHeaders.clear();
  if (!Line.empty()) Transfer->FHeaders.push_back(std::move(Line));
  return Size * Count;
}

bool TCurlTransfer::Start() {
  if (!FMulti || curl_multi_add_handle(FMulti, FEasy) != CURLM_OK) {
    FDone = true;
    FResult = CURLE_FAILED_INIT;
    return false;
  }
  DriveUntilData();
  return !(FDone && FResult != CURLE_OK);
}

void TCurlTransfer::DriveUntilData() {
  while (!FDone && Available() == 0) {
    int Running = 0;
    if (curl_multi_perform(FMulti, &Running) != CURLM_OK) {
      FDone = true;
      FResult = CURLE_RECV_ERROR;
      break;
    }
    int Queued = 0;
    while (CURLMsg* Message = curl_multi_info_read(FMulti, &Queued))
      if (Message->msg == CURLMSG_DONE) {
        FDone = true;
        FResult = Message->data.result;
      }
    if (FDone || Available() > 0) break;
    curl_multi_poll(FMulti, nullptr, 0, 1000, nullptr);
  }
}

std::ptrdiff_t TCurlTransfer::Read(void* Buffer, std::size_t Count, bool Fill) {
  auto* Out = static_cast<char*>(Buffer);
  std::size_t Delivered = 0;
  while (Delivered < Count) {
    DriveUntilData();
    const std::size_t Piece = std::min(Count - Delivered, Available());
    if (Piece == 0) break;  // the end, or a break in the transfer
    std::memcpy(Out + Delivered, FBody.data() + FBodyRead, Piece);
    FBodyRead += Piece;
    Delivered += Piece;
    if (!Fill) break;
  }
  if (Delivered == 0 && FDone && FResult != CURLE_OK) return -1;
  return static_cast<std::ptrdiff_t>(Delivered);
}

long TCurlTransfer::StatusCode() const {
  long Code = 0;
  curl_easy_getinfo(FEasy, CURLINFO_RESPONSE_CODE, &Code);
  return Code;
}
