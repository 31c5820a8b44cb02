#pragma once
// One download over libcurl's multi interface, driven only when its reader wants more: the body
// is handed out piece by piece as it arrives, so a reader can stop after any piece.
#include <curl/curl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/system/Types.h"

class TCurlTransfer {
 public:
  // Takes the configured easy handle and its header lines (both owned from now on).
  TCurlTransfer(CURL* Easy, curl_slist* HeaderList);
  ~TCurlTransfer();
  TCurlTransfer(const TCurlTransfer&) = delete;
  TCurlTransfer& operator=(const TCurlTransfer&) = delete;

  // Sends the request and waits until the body starts or the transfer ends; false when it
  // ended in failure (LastResult says why).
  bool Start();
  // Up to Count bytes of the body; Fill: wait for more until Count bytes or the end. 0 at the
  // end. -1 when the transfer broke before any byte of this call.
  std::ptrdiff_t Read(void* Buffer, std::size_t Count, bool Fill);

  CURLcode LastResult() const { return FResult; }
  const char* ErrorText() const { return FErrorText; }
  // The final answer's status line and header lines, without their line ends.
  const std::vector<std::string>& Headers() const { return FHeaders; }
  long StatusCode() const;

 private:
  static std::size_t OnBody(char* Data, std::size_t Size, std::size_t Count, void* Self);
  static std::size_t OnHeader(char* Data, std::size_t Size, std::size_t Count, void* Self);
  // Runs curl until the body has bytes not yet handed out or the transfer is over.
  void DriveUntilData();
  std::size_t Available() const { return FBody.size() - FBodyRead; }

  CURL* FEasy;
  curl_slist* FHeaderList;
  CURLM* FMulti;
  bool FDone = false;
  CURLcode FResult = CURLE_OK;
  char FErrorText[CURL_ERROR_SIZE] = {};
  std::string FBody;  // received, from FBodyRead on not yet handed out
  std::size_t FBodyRead = 0;
  std::vector<std::string> FHeaders;
};
