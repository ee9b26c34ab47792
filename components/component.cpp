#include "components/component.h"

#include <stdexcept>

namespace quillora {

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
  // Later components may refer to earlier ones: destroy in reverse order.
  while (!components_.empty()) components_.pop_back();
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (const auto& component : components_) {
    if (component->Name() == name) return component.get();
  }
  return nullptr;
}

void TComponent::PublishProperties(PropertyList& properties) {
  (void)properties;
}

void TComponent::DefineProperties(BinaryPropertyList& properties) {
  (void)properties;
}

void TComponent::Adopt(std::unique_ptr<TComponent> child) {
  components_.push_back(std::move(child));
}

namespace {

template <typename T>
const T& Expect(const LayoutValue& value, const char* kind) {
  const T* typed = std::get_if<T>(&value);
  if (!typed) throw std::invalid_argument(std::string("expected ") + kind);
  return *typed;
}

}  // namespace

void PropertyList::AddInteger(std::string name, std::int64_t initial,
                              std::int64_t minimum, std::int64_t maximum,
                              std::function<void(std::int64_t)> set,
                              std::function<std::int64_t()> get) {
  properties_.push_back(
      {std::move(name), initial,
       [set = std::move(set), minimum, maximum](const LayoutValue& value) {
         const std::int64_t v = Expect<std::int64_t>(value, "an integer");
         if (v < minimum || v > maximum) {
           throw std::invalid_argument("expected an integer from " +
                                       std::to_string(minimum) + " to " +
                                       std::to_string(maximum));
         }
         set(v);
       },
       [get = std::move(get)] { return LayoutValue(get()); }});
}

void PropertyList::AddBoolean(std::string name, bool initial,
                              std::function<void(bool)> set,
                              std::function<bool()> get) {
  auto toValue = [](bool b) {
    return LayoutValue(Identifier{b ? "true" : "false"});
  };
  properties_.push_back(
      {std::move(name), toValue(initial),
       [set = std::move(set)](const LayoutValue& value) {
         const std::string& word =
             Expect<Identifier>(value, "true or false").name;
         if (word != "true" && word != "false") {
           throw std::invalid_argument("expected true or false");
         }
         set(word == "true");
       },
       [get = std::move(get), toValue] { return toValue(get()); }});
}

void PropertyList::AddFloat(std::string name, double initial,
                            std::function<void(double)> set,
                            std::function<double()> get, bool alwaysStored) {
  properties_.push_back(
      {std::move(name), initial,
       [set = std::move(set)](const LayoutValue& value) {
         // Whole numbers are fine where a fraction may stand.
         if (const auto* whole = std::get_if<std::int64_t>(&value)) {
           set(static_cast<double>(*whole));
         } else {
           set(Expect<double>(value, "a number"));
         }
       },
       [get = std::move(get)] { return LayoutValue(get()); }, alwaysStored});
}

void PropertyList::AddText(std::string name, std::string initial,
                           std::function<void(const std::string&)> set,
                           std::function<std::string()> get) {
  properties_.push_back(
      {std::move(name), std::move(initial),
       [set = std::move(set)](const LayoutValue& value) {
         set(Expect<std::string>(value, "a text in quotes"));
       },
       [get = std::move(get)] { return LayoutValue(get()); }});
}

void PropertyList::AddColour(std::string name, Rgb initial,
                             std::function<void(Rgb)> set,
                             std::function<Rgb()> get) {
  properties_.push_back(
      {std::move(name), initial,
       [set = std::move(set)](const LayoutValue& value) {
         set(Expect<Rgb>(value, "a colour #RRGGBB"));
       },
       [get = std::move(get)] { return LayoutValue(get()); }});
}

void PropertyList::AddEnum(std::string name,
                           std::vector<std::string> valueNames, int initial,
                           std::function<void(int)> set,
                           std::function<int()> get, bool alwaysStored) {
  auto toValue = [valueNames](int v) {
    if (v < 0 || v >= static_cast<int>(valueNames.size())) {
      return LayoutValue(static_cast<std::int64_t>(v));
    }
    return LayoutValue(Identifier{valueNames[v]});
  };
  LayoutValue initialValue = toValue(initial);
  properties_.push_back(
      {std::move(name), std::move(initialValue),
       [set = std::move(set), valueNames](const LayoutValue& value) {
         const std::string& word =
             Expect<Identifier>(value, "a value name").name;
         for (std::size_t i = 0; i < valueNames.size(); ++i) {
           if (valueNames[i] == word) return set(static_cast<int>(i));
         }
         std::string known;
         for (const std::string& n : valueNames)
           known += (known.empty() ? "" : ", ") + n;
         throw std::invalid_argument("expected one of " + known);
       },
       [get = std::move(get), toValue] { return toValue(get()); },
       alwaysStored});
}

void PropertyList::AlwaysStore(std::string_view name) {
  for (PublishedProperty& property : properties_) {
    if (property.name == name) property.alwaysStored = true;
  }
}

const PublishedProperty* PropertyList::Find(std::string_view name) const {
  // A derived class may re-declare a property; the last declaration counts.
  for (auto it = properties_.rbegin(); it != properties_.rend(); ++it) {
    if (it->name == name) return &*it;
  }
  return nullptr;
}

void BinaryPropertyList::Define(
    std::string name, std::function<void(std::span<const std::uint8_t>)> read,
    std::function<Blob()> write) {
  properties_.push_back({std::move(name), std::move(read), std::move(write)});
}

const BinaryProperty* BinaryPropertyList::Find(std::string_view name) const {
  for (const BinaryProperty& property : properties_) {
    if (property.name == name) return &property;
  }
  return nullptr;
}

void ComponentRegistry::Register(std::string className, Creator creator) {
  creators_[std::move(className)] = std::move(creator);
}

std::unique_ptr<TComponent> ComponentRegistry::Create(
    std::string_view className, TComponent& owner) const {
  const auto it = creators_.find(className);
  if (it == creators_.end()) return nullptr;
  return it->second(owner);
}

namespace {

// Sets loading for the span of one component's load, even if it throws.
class LoadingScope {
 public:
  explicit LoadingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~LoadingScope() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

void LoadComponent(TComponent& root, const LayoutNode& node,
                   const ComponentRegistry& registry) {
  if (node.className != root.ClassName()) {
    throw LayoutError(node.line, "expected an object of class " +
                                     std::string(root.ClassName()) + ", not " +
                                     node.className);
  }
  root.SetName(node.name);
  {
    LoadingScope loading(root.loading_);
    PropertyList published;
    root.PublishProperties(published);
    BinaryPropertyList binary;
    root.DefineProperties(binary);
    // Published properties first, the component's own binary ones last.
    auto isBinary = [&](const LayoutProperty& p) {
      return published.Find(p.name) == nullptr &&
             binary.Find(p.name) != nullptr;
    };
    for (const bool binaryPass : {false, true}) {
      for (const LayoutProperty& property : node.properties) {
        if (isBinary(property) != binaryPass) continue;
        const std::string where = node.name + "." + property.name;
        try {
          if (const PublishedProperty* p = published.Find(property.name)) {
            p->set(property.value);
          } else if (const BinaryProperty* b = binary.Find(property.name)) {
            const Blob* blob = std::get_if<Blob>(&property.value);
            if (!blob)
              throw std::invalid_argument("expected binary data <...>");
            b->read(*blob);
          } else {
            throw LayoutError(property.line, std::string(root.ClassName()) +
                                                 " has no property " +
                                                 property.name);
          }
        } catch (const std::invalid_argument& e) {
          throw LayoutError(property.line, where + ": " + e.what());
        }
      }
    }
  }
  for (const LayoutNode& childNode : node.children) {
    if (root.FindComponent(childNode.name)) {
      throw LayoutError(childNode.line,
                        "a second component named " + childNode.name);
    }
    std::unique_ptr<TComponent> child =
        registry.Create(childNode.className, root);
    if (!child) {
      throw LayoutError(childNode.line, "unknown class " + childNode.className);
    }
    TComponent& adopted = *child;
    root.Adopt(std::move(child));
    LoadComponent(adopted, childNode, registry);
  }
  root.Loaded();
}

LayoutNode SaveComponent(const TComponent& root) {
  LayoutNode node;
  node.className = std::string(root.ClassName());
  node.name = root.Name();
  PropertyList published;
  const_cast<TComponent&>(root).PublishProperties(published);
  for (const PublishedProperty& property : published.All()) {
    // A re-declared property is stored once, by its last declaration.
    if (published.Find(property.name) != &property) continue;
    LayoutValue value = property.get();
    if (property.alwaysStored || value != property.initial) {
      node.properties.push_back({property.name, std::move(value), 0});
    }
  }
  BinaryPropertyList binary;
  const_cast<TComponent&>(root).DefineProperties(binary);
  for (const BinaryProperty& property : binary.All()) {
    node.properties.push_back({property.name, property.write(), 0});
  }
  for (const auto& child : root.Components()) {
    node.children.push_back(SaveComponent(*child));
  }
  return node;
}

}  // namespace quillora
