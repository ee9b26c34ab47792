#include "keyentry/key_string.h"

#include "base/text_ops.h"

namespace quillora {

std::string KeyString;

std::string KeyStringFromKeyList(std::string_view keyList) {
  const std::string spaced = ReplaceAll(keyList, ",", " ");
  const std::string joined = ReplaceAll(spaced, " ", "");
  return std::string(Trim(joined));
}

}  // namespace quillora
