// Components: objects that own other components and can be stored in, and
// created from, a window layout.
//
// Data flow: a layout text is parsed into a LayoutNode tree
// (layout_format.h); LoadComponent walks that tree, creates every child
// object through a ComponentRegistry by its class name, and hands each
// property to the component's published property of that name, or to one of
// its own binary properties. SaveComponent goes the other way. Platform-free:
// the widget classes in this folder build on it, and so does the tone
// generator.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "components/layout_format.h"

namespace quillora {

class PropertyList;
class BinaryPropertyList;
class ComponentRegistry;

class TComponent {
 public:
  // `owner` is recorded as the component's owner; the owner takes the
  // component over, and destroys it with itself, when the component is
  // handed to it (LoadComponent does so for every child it creates). Null
  // for a component that nobody owns.
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // The class name under which layouts name this kind of component.
  virtual std::string_view ClassName() const = 0;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TComponent* Owner() const { return owner_; }

  // The components this one owns, in the order they were added.
  const std::vector<std::unique_ptr<TComponent>>& Components() const {
    return components_;
  }
  // The owned component of that name, or null.
  TComponent* FindComponent(std::string_view name) const;

  // True while LoadComponent applies stored properties to this component.
  bool IsLoading() const { return loading_; }

  // Declares the published properties with their initial values. Derived
  // classes add theirs after calling the base.
  virtual void PublishProperties(PropertyList& properties);
  // Declares stored properties that the component reads and writes itself
  // as binary data. Derived classes add theirs after calling the base.
  virtual void DefineProperties(BinaryPropertyList& properties);
  // Runs once all stored properties and children have been loaded.
  virtual void Loaded() {}

 private:
  friend void LoadComponent(TComponent&, const LayoutNode&,
                            const ComponentRegistry&);
  void Adopt(std::unique_ptr<TComponent> child);

  TComponent* owner_;
  std::string name_;
  std::vector<std::unique_ptr<TComponent>> components_;
  bool loading_ = false;
};

// One published property: its initial value, how to set it from a stored
// value (throwing LayoutError-compatible std::invalid_argument for a value of
// the wrong kind or range) and how to read it back for storing.
struct PublishedProperty {
  std::string name;
  LayoutValue initial;
  std::function<void(const LayoutValue&)> set;
  std::function<LayoutValue()> get;
  bool alwaysStored = false;
};

// The list a component fills in PublishProperties. The typed helpers check
// the kind and range of stored values; `minimum` and `maximum` are the range
// of the property's type, not a clamp (setters clamp on their own).
class PropertyList {
 public:
  void AddInteger(std::string name, std::int64_t initial, std::int64_t minimum,
                  std::int64_t maximum, std::function<void(std::int64_t)> set,
                  std::function<std::int64_t()> get);
  void AddBoolean(std::string name, bool initial, std::function<void(bool)> set,
                  std::function<bool()> get);
  void AddFloat(std::string name, double initial,
                std::function<void(double)> set, std::function<double()> get,
                bool alwaysStored = false);
  void AddText(std::string name, std::string initial,
               std::function<void(const std::string&)> set,
               std::function<std::string()> get);
  void AddColour(std::string name, Rgb initial, std::function<void(Rgb)> set,
                 std::function<Rgb()> get);
  // An enumeration stored by the names of its values, numbered from 0.
  void AddEnum(std::string name, std::vector<std::string> valueNames,
               int initial, std::function<void(int)> set,
               std::function<int()> get, bool alwaysStored = false);

  // Marks an already added property as stored even at its initial value.
  void AlwaysStore(std::string_view name);

  const PublishedProperty* Find(std::string_view name) const;
  const std::vector<PublishedProperty>& All() const { return properties_; }

 private:
  std::vector<PublishedProperty> properties_;
};

// A component's own binary property: `read` receives the stored bytes and
// throws std::invalid_argument when they are short or malformed; `write`
// gives the bytes to store.
struct BinaryProperty {
  std::string name;
  std::function<void(std::span<const std::uint8_t>)> read;
  std::function<Blob()> write;
};

class BinaryPropertyList {
 public:
  void Define(std::string name,
              std::function<void(std::span<const std::uint8_t>)> read,
              std::function<Blob()> write);
  const BinaryProperty* Find(std::string_view name) const;
  const std::vector<BinaryProperty>& All() const { return properties_; }

 private:
  std::vector<BinaryProperty> properties_;
};

// Creates components by class name; each creator receives the component
// that will own the new one.
class ComponentRegistry {
 public:
  using Creator = std::function<std::unique_ptr<TComponent>(TComponent& owner)>;

  void Register(std::string className, Creator creator);
  template <typename T>
  void Register(std::string className) {
    Register(std::move(className),
             [](TComponent& owner) { return std::make_unique<T>(&owner); });
  }
  // Null when the class is unknown.
  std::unique_ptr<TComponent> Create(std::string_view className,
                                     TComponent& owner) const;

 private:
  std::map<std::string, Creator, std::less<>> creators_;
};

// Applies `node` to `root`: the node's class must be root's class; its name
// becomes root's name; every property goes to the published or binary
// property of its name; every child object is created through `registry`,
// owned by root, and loaded the same way. Throws LayoutError (with the line)
// for an unknown class or property or a value that does not fit.
void LoadComponent(TComponent& root, const LayoutNode& node,
                   const ComponentRegistry& registry);

// The stored form of `root` and its owned components: published properties
// that differ from their initial values (or are always stored), then the
// binary properties.
LayoutNode SaveComponent(const TComponent& root);

}  // namespace quillora
