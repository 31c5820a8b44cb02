// The device list from SANE.
#include <sane/sane.h>

#include <mutex>

#include "platform/devices/WiaDevMgr.h"
#include "platform/system/Strings.h"

namespace {

// SANE itself is not safe across threads.
std::mutex SaneLock;

}  // namespace

bool WiaSaneDevices(std::vector<std::u16string>& Devices) {
  // SANE is started and stopped around each list: a back end reads its configuration at the
  // start, so a device added to it since shows up.
  std::lock_guard Guard(SaneLock);
  SANE_Int Version = 0;
  if (sane_init(&Version, nullptr) != SANE_STATUS_GOOD) return false;
  const SANE_Device** List = nullptr;
  const bool Listed = sane_get_devices(&List, SANE_TRUE) == SANE_STATUS_GOOD;
  Devices.clear();
  for (const SANE_Device** Device = List; Listed && Device && *Device; ++Device)
    Devices.push_back(Utf8ToUtf16((*Device)->name));
  sane_exit();
  return Listed;
}
