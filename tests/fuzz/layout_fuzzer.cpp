// Any bytes as a window layout: the reader must refuse malformed text with a
// LayoutError and nothing else, and whatever it accepts must format and read
// back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "components/component.h"
#include "components/layout_format.h"

namespace {

// A component with one property of each kind and a binary property.
class TProbe : public quillora::TComponent {
 public:
  using TComponent::TComponent;
  std::string_view ClassName() const override { return "TProbe"; }
  void PublishProperties(quillora::PropertyList& properties) override {
    properties.AddInteger(
        "Left", 0, -32768, 32767, [this](std::int64_t v) { left_ = v; },
        [this] { return left_; });
    properties.AddText(
        "Caption", "", [this](const std::string& v) { caption_ = v; },
        [this] { return caption_; });
    properties.AddFloat(
        "Ratio", 0.5, [this](double v) { ratio_ = v; },
        [this] { return ratio_; });
    properties.AddEnum(
        "Wave", {"tgSine", "tgSquare"}, 0, [this](int v) { wave_ = v; },
        [this] { return wave_; });
  }
  void DefineProperties(quillora::BinaryPropertyList& properties) override {
    properties.Define(
        "Data",
        [this](std::span<const std::uint8_t> bytes) {
          if (bytes.size() > 16) throw std::invalid_argument("too long");
          data_.assign(bytes.begin(), bytes.end());
        },
        [this] { return data_; });
  }

 private:
  std::int64_t left_ = 0;
  std::string caption_;
  double ratio_ = 0.5;
  int wave_ = 0;
  quillora::Blob data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quillora::LayoutNode node;
  try {
    node = quillora::ParseLayout(text);
  } catch (const quillora::LayoutError&) {
    return 0;
  }
  const std::string formatted = quillora::FormatLayout(node);
  if (quillora::FormatLayout(quillora::ParseLayout(formatted)) != formatted)
    std::abort();

  quillora::ComponentRegistry registry;
  registry.Register<TProbe>("TProbe");
  TProbe root(nullptr);
  try {
    quillora::LoadComponent(root, node, registry);
  } catch (const quillora::LayoutError&) {
    return 0;
  }
  quillora::FormatLayout(quillora::SaveComponent(root));
  return 0;
}
