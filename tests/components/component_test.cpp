#include "components/component.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bad_layout_case.h"

namespace quillora {
namespace {

// A component with one property of each kind and a binary property that
// holds a count and that many bytes.
class TSample : public TComponent {
 public:
  using TComponent::TComponent;
  std::string_view ClassName() const override { return "TSample"; }

  void PublishProperties(PropertyList& properties) override {
    TComponent::PublishProperties(properties);
    properties.AddInteger(
        "Left", 0, -32768, 32767,
        [this](std::int64_t v) { left = static_cast<int>(v); },
        [this] { return left; });
    properties.AddBoolean(
        "Visible", true, [this](bool v) { visible = v; },
        [this] { return visible; });
    properties.AddFloat(
        "Ratio", 0.5, [this](double v) { ratio = v; }, [this] { return ratio; },
        /*alwaysStored=*/true);
    properties.AddText(
        "Caption", "", [this](const std::string& v) { caption = v; },
        [this] { return caption; });
    properties.AddColour(
        "Color", Rgb{1, 2, 3}, [this](Rgb v) { colour = v; },
        [this] { return colour; });
    properties.AddEnum(
        "Wave", {"tgSine", "tgSquare"}, 0, [this](int v) { wave = v; },
        [this] { return wave; });
  }

  void DefineProperties(BinaryPropertyList& properties) override {
    TComponent::DefineProperties(properties);
    properties.Define(
        "Data",
        [this](std::span<const std::uint8_t> bytes) {
          if (bytes.empty() || bytes.size() != 1u + bytes[0]) {
            throw std::invalid_argument("data of the wrong length");
          }
          data.assign(bytes.begin() + 1, bytes.end());
          // Binary data comes after every published property.
          captionWhenDataRead = caption;
          loadingWhenDataRead = IsLoading();
        },
        [this] {
          Blob out(1 + data.size());
          out[0] = static_cast<std::uint8_t>(data.size());
          std::copy(data.begin(), data.end(), out.begin() + 1);
          return out;
        });
  }

  void Loaded() override { ++loadedCalls; }

  int left = 0;
  bool visible = true;
  double ratio = 0.5;
  std::string caption;
  Rgb colour{1, 2, 3};
  int wave = 0;
  std::vector<std::uint8_t> data;
  std::string captionWhenDataRead;
  bool loadingWhenDataRead = false;
  int loadedCalls = 0;
};

class ComponentTest : public testing::Test {
 protected:
  ComponentTest() { registry_.Register<TSample>("TSample"); }

  void Load(std::string_view text) {
    LoadComponent(root_, ParseLayout(text), registry_);
  }

  ComponentRegistry registry_;
  TSample root_{nullptr};
};

TEST_F(ComponentTest, LoadsPropertiesChildrenAndBinaryDataLast) {
  Load(R"(TSample Main {
    Data: <02 AB CD>
    Left: -12
    Visible: false
    Ratio: 2
    Caption: "Hi"
    Color: #102030
    Wave: tgSquare
    TSample Child { Left: 7 }
  })");
  EXPECT_EQ(root_.Name(), "Main");
  EXPECT_EQ(root_.left, -12);
  EXPECT_FALSE(root_.visible);
  EXPECT_EQ(root_.ratio, 2.0);
  EXPECT_EQ(root_.colour, (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(root_.wave, 1);
  EXPECT_EQ(root_.data, (std::vector<std::uint8_t>{0xAB, 0xCD}));
  EXPECT_EQ(root_.captionWhenDataRead, "Hi");
  EXPECT_TRUE(root_.loadingWhenDataRead);
  EXPECT_FALSE(root_.IsLoading());
  EXPECT_EQ(root_.loadedCalls, 1);
  auto* child = dynamic_cast<TSample*>(root_.FindComponent("Child"));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Owner(), &root_);
  EXPECT_EQ(child->left, 7);
}

TEST_F(ComponentTest, SaveLeavesOutInitialValuesAndReadsBack) {
  Load("TSample Main { Caption: \"x\" Data: <01 FF> TSample Child {} }");
  const LayoutNode saved = SaveComponent(root_);
  std::vector<std::string> names;
  for (const LayoutProperty& p : saved.properties) names.push_back(p.name);
  // Ratio is always stored; Data, the binary property, always comes last.
  EXPECT_EQ(names, (std::vector<std::string>{"Ratio", "Caption", "Data"}));
  ASSERT_EQ(saved.children.size(), 1u);

  TSample copy(nullptr);
  LoadComponent(copy, ParseLayout(FormatLayout(saved)), registry_);
  EXPECT_EQ(copy.caption, "x");
  EXPECT_EQ(copy.data, (std::vector<std::uint8_t>{0xFF}));
  EXPECT_NE(copy.FindComponent("Child"), nullptr);
}

using testing_support::BadLayoutCase;

class BadComponentLayoutTest
    : public ComponentTest,
      public testing::WithParamInterface<BadLayoutCase> {};

TEST_P(BadComponentLayoutTest, FailsWithAClearMessage) {
  testing_support::ExpectRefused(GetParam(),
                                 [this](std::string_view text) { Load(text); });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadComponentLayoutTest,
    testing::Values(
        BadLayoutCase{"wrong_root_class", "TOther Main {}", 1, "class TSample"},
        BadLayoutCase{"unknown_class", "TSample Main {\n TNope X {}\n}", 2,
                      "unknown class TNope"},
        BadLayoutCase{"unknown_property", "TSample Main {\n Colour: #000000\n}",
                      2, "no property Colour"},
        BadLayoutCase{"wrong_kind", "TSample Main { Left: \"3\" }", 1,
                      "Main.Left: expected an integer"},
        BadLayoutCase{"out_of_type_range", "TSample Main { Left: 40000 }", 1,
                      "from -32768 to 32767"},
        BadLayoutCase{"unknown_enum_value", "TSample Main { Wave: tgSaw }", 1,
                      "one of tgSine, tgSquare"},
        BadLayoutCase{"boolean_word", "TSample Main { Visible: yes }", 1,
                      "true or false"},
        BadLayoutCase{"short_binary_data", "TSample Main {\n\n Data: <05 00> }",
                      3, "wrong length"},
        BadLayoutCase{"binary_as_text", "TSample Main { Data: \"00\" }", 1,
                      "binary data"},
        BadLayoutCase{"duplicate_child",
                      "TSample Main {\n TSample A {}\n TSample A {}\n}", 3,
                      "second component named A"}),
    testing_support::CaseName);

}  // namespace
}  // namespace quillora
