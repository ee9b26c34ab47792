#include "keyentry/phone_status.h"

namespace quillora {

std::string NextPhoneStatus(std::string_view status, bool keyEntryPaused) {
  if (keyEntryPaused) {
    return status == kPauseStatus ? std::string() : std::string(kPauseStatus);
  }
  if (status == " " || status == "STOP" || status.empty()) {
    return std::string(kIdleStatus);
  }
  return std::string(status);
}

}  // namespace quillora
