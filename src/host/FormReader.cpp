#include <fstream>
#include <iterator>
#include <vector>

#include "host/FormFile.h"
#include "host/FormReaderAccess.h"
#include "host/FormReferences.h"
#include "host/Identifiers.h"
#include "host/StoredValue.h"

namespace qx {
namespace detail {

// Reads one form document into a root component. One reader serves one read.
class TFormReader {
 public:
  explicit TFormReader(std::string sourceName) : FSourceName(std::move(sourceName)) {}

  // Reads `document` into `root`; when `newOwner` is given, the root is then
  // inserted into it. On success every component of the form has had its
  // `Loaded`; on failure the components created here are destroyed again.
  void Read(const nlohmann::json& document, TComponent& root, TComponent* newOwner);

  [[noreturn]] void Fail(const std::string& path, const std::string& reason) const {
    throw EFormFileError(FSourceName, path, reason);
  }

  void ApplyProperty(TPersistent& target, const TPropertyInfo& info, const nlohmann::json& value,
                     const std::string& path);

 private:
  // A component reference waiting for every component of the form to exist.
  struct TFixup {
    TPersistent* Target;
    const TPropertyInfo* Info;
    std::string Reference;
    std::string Path;
  };

  // Runs `action`; an exception other than EFormFileError becomes one for `path`.
  template <class F>
  void Guarded(const std::string& path, F&& action) {
    try {
      action();
    } catch (const EFormFileError&) {
      throw;
    } catch (const std::exception& error) {
      Fail(path, error.what());
    }
  }

  void CheckEntry(const nlohmann::json& entry, const std::string& path, bool isRoot) const;
  void ApplyProperties(TPersistent& target, const nlohmann::json& properties,
                       const std::string& path);
  TComponent& ReadChild(const nlohmann::json& entry, const std::string& path);
  void ResolveFixups();

  // How deep sub-objects and collection items may nest, so that a hostile
  // file cannot exhaust the stack through a recursive class structure.
  static constexpr int MaxDepth = 100;

  std::string FSourceName;
  TComponent* FRoot = nullptr;
  std::vector<TFixup> FFixups;
  std::vector<TComponent*> FCreated;   // children created by this read, in file order
  std::vector<TComponent*> FChildren;  // every child read, in file order
  int FDepth = 0;
};

namespace {

std::string Child(const std::string& path, std::string_view key) {
  return (nlohmann::json::json_pointer(path) / std::string(key)).to_string();
}

std::string Child(const std::string& path, std::size_t index) {
  return (nlohmann::json::json_pointer(path) / index).to_string();
}

// The stored class matches `info` or one of its ancestors.
bool DescribesClass(const TClassInfo& info, std::string_view storedClass) {
  for (const TClassInfo* c = &info; c; c = c->GetParent()) {
    if (SameText(c->GetName(), storedClass)) return true;
  }
  return false;
}

}  // namespace

void TFormReader::CheckEntry(const nlohmann::json& entry, const std::string& path,
                             bool isRoot) const {
  if (!entry.is_object()) Fail(path, "expected a component object, found " + DescribeJson(entry));
  for (const auto& [key, value] : entry.items()) {
    if (key == "class" || key == "name") {
      if (!value.is_string())
        Fail(Child(path, key), "expected a string, found " + DescribeJson(value));
    } else if (key == "properties") {
      if (!value.is_object()) {
        Fail(Child(path, key), "expected an object of properties, found " + DescribeJson(value));
      }
    } else if (key == "components" && isRoot) {
      if (!value.is_array()) {
        Fail(Child(path, key), "expected an array of components, found " + DescribeJson(value));
      }
    } else {
      Fail(Child(path, key), "unexpected entry \"" + key + "\"");
    }
  }
  if (!entry.contains("class")) Fail(path, "the component has no \"class\"");
}

void TFormReader::ApplyProperties(TPersistent& target, const nlohmann::json& properties,
                                  const std::string& path) {
  if (!properties.is_object()) {
    Fail(path, "expected an object of properties, found " + DescribeJson(properties));
  }
  if (FDepth >= MaxDepth) Fail(path, "properties nested too deeply");
  ++FDepth;
  for (const auto& [name, value] : properties.items()) {
    const std::string valuePath = Child(path, name);
    if (const TPropertyInfo* info = target.ClassInfo().FindProperty(name)) {
      ApplyProperty(target, *info, value, valuePath);
      continue;
    }
    bool taken = false;
    Guarded(valuePath, [&] {
      taken =
          TPersistentAccess::ReadOlderProperty(target, TStoredValue(*this, name, value, valuePath));
    });
    if (!taken) Fail(valuePath, "unknown property " + name + " of " + target.ClassName());
  }
  --FDepth;
}

void TFormReader::ApplyProperty(TPersistent& target, const TPropertyInfo& info,
                                const nlohmann::json& value, const std::string& path) {
  switch (info.GetKind()) {
    case pkObject: {
      TPersistent* object = nullptr;
      Guarded(path, [&] { object = info.GetObject(target); });
      if (!object) Fail(path, "property " + info.GetName() + " has no object to read into");
      ApplyProperties(*object, value, path);
      return;
    }
    case pkCollection: {
      if (!value.is_array()) Fail(path, "expected an array of items, found " + DescribeJson(value));
      TCollection* collection = nullptr;
      Guarded(path, [&] { collection = static_cast<TCollection*>(info.GetObject(target)); });
      if (!collection) Fail(path, "property " + info.GetName() + " has no collection to read into");
      Guarded(path, [&] { collection->Clear(); });
      for (std::size_t i = 0; i < value.size(); ++i) {
        TCollectionItem* item = nullptr;
        Guarded(path, [&] { item = &collection->Add(); });
        ApplyProperties(*item, value[i], Child(path, i));
      }
      return;
    }
    case pkComponent:
      if (value.is_null()) {
        Guarded(path, [&] { info.SetReference(target, nullptr); });
      } else if (value.is_string()) {
        FFixups.push_back({&target, &info, value.get<std::string>(), path});
      } else {
        Fail(path, "expected a component name, found " + DescribeJson(value));
      }
      return;
    default:
      Guarded(path, [&] { info.SetJson(target, value); });
  }
}

TComponent& TFormReader::ReadChild(const nlohmann::json& entry, const std::string& path) {
  CheckEntry(entry, path, false);
  const auto& className = entry["class"].get_ref<const std::string&>();
  const std::string name = entry.value("name", std::string());
  const std::string namePath = Child(path, "name");
  for (const TComponent* previous : FChildren) {
    if (!name.empty() && SameText(previous->GetName(), name)) {
      Fail(namePath, "the form has two components named " + name);
    }
  }

  TComponent* component = FRoot->FindComponent(name);
  if (component) {
    if (!DescribesClass(component->ClassInfo(), className)) {
      Fail(Child(path, "class"),
           "the form's " + name + " is a " + component->ClassName() + ", not a " + className);
    }
  } else {
    const TClassInfo* info = FindClass(className);
    if (!info) Fail(Child(path, "class"), "unknown class " + className);
    Guarded(Child(path, "class"), [&] { component = info->CreateInstance(FRoot); });
    FCreated.push_back(component);
    Guarded(namePath, [&] { component->SetName(name); });
  }
  TComponentAccess::SetLoading(*component, true);
  FChildren.push_back(component);
  if (entry.contains("properties"))
    ApplyProperties(*component, entry["properties"], Child(path, "properties"));
  return *component;
}

void TFormReader::ResolveFixups() {
  for (const TFixup& fixup : FFixups) {
    TComponent* component = ResolveReference(*FRoot, fixup.Reference);
    if (!component) Fail(fixup.Path, "no component named " + fixup.Reference);
    Guarded(fixup.Path, [&] { fixup.Info->SetReference(*fixup.Target, component); });
  }
}

void TFormReader::Read(const nlohmann::json& document, TComponent& root, TComponent* newOwner) {
  FRoot = &root;
  TComponentAccess::SetLoading(root, true);
  try {
    CheckEntry(document, "", true);
    const auto& className = document["class"].get_ref<const std::string&>();
    if (!DescribesClass(root.ClassInfo(), className)) {
      Fail("/class", "the form is a " + root.ClassName() + ", not a " + className);
    }
    if (document.contains("name")) {
      Guarded("/name", [&] { root.SetName(document["name"].get<std::string>()); });
    }
    if (document.contains("properties"))
      ApplyProperties(root, document["properties"], "/properties");
    if (document.contains("components")) {
      const auto& components = document["components"];
      for (std::size_t i = 0; i < components.size(); ++i) {
        ReadChild(components[i], Child("/components", i));
      }
    }
    ResolveFixups();
    if (newOwner) Guarded("/name", [&] { newOwner->InsertComponent(root); });
  } catch (...) {
    TComponentAccess::SetLoading(root, false);
    for (TComponent* child : FChildren) TComponentAccess::SetLoading(*child, false);
    for (auto created = FCreated.rbegin(); created != FCreated.rend(); ++created) delete *created;
    throw;
  }

  TComponentAccess::SetLoading(root, false);
  for (TComponent* child : FChildren) TComponentAccess::SetLoading(*child, false);
  for (TComponent* child : FChildren) TComponentAccess::Loaded(*child);
  TComponentAccess::Loaded(root);
}

}  // namespace detail

void TStoredValue::ApplyTo(TPersistent& target, std::string_view propertyName) const {
  const TPropertyInfo* info = target.ClassInfo().FindProperty(propertyName);
  if (!info) {
    RaiseError(target.ClassName() + " has no property " + std::string(propertyName) + " to take " +
               FName);
  }
  FReader.ApplyProperty(target, *info, FValue, FPath);
}

void TStoredValue::RaiseError(const std::string& reason) const { FReader.Fail(FPath, reason); }

namespace {

nlohmann::json Parse(std::string_view text, const std::string& sourceName) {
  try {
    return nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& error) {
    // Drop the library's "[json.exception.parse_error.101] " prefix.
    std::string reason = error.what();
    if (auto end = reason.find("] ");
        reason.starts_with("[json.exception") && end != std::string::npos) {
      reason.erase(0, end + 2);
    }
    throw EFormFileError(sourceName, "", "malformed JSON: " + reason);
  }
}

std::string ReadText(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    throw EFormFileError(file.string(), "", "cannot read: no such file");
  }
  if (!std::filesystem::is_regular_file(file, error)) {
    throw EFormFileError(file.string(), "", "cannot read: not a regular file");
  }
  std::ifstream stream(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  if (!stream.is_open() || stream.bad())
    throw EFormFileError(file.string(), "", "cannot read the file");
  return text;
}

// Creates the root named by the document's class.
std::unique_ptr<TComponent> CreateRoot(const nlohmann::json& document,
                                       const std::string& sourceName) {
  if (!document.is_object()) {
    throw EFormFileError(sourceName, "",
                         "expected a component object, found " + detail::DescribeJson(document));
  }
  const auto found = document.find("class");
  if (found == document.end() || !found->is_string()) {
    throw EFormFileError(sourceName, "/class", "the form has no class name");
  }
  const TClassInfo* info = FindClass(found->get<std::string>());
  if (!info) {
    throw EFormFileError(sourceName, "/class", "unknown class " + found->get<std::string>());
  }
  try {
    return std::unique_ptr<TComponent>(info->CreateInstance(nullptr));
  } catch (const std::exception& error) {
    throw EFormFileError(sourceName, "/class", error.what());
  }
}

}  // namespace

std::unique_ptr<TComponent> LoadFormText(std::string_view text, std::string_view sourceName) {
  const std::string source(sourceName);
  const nlohmann::json document = Parse(text, source);
  std::unique_ptr<TComponent> root = CreateRoot(document, source);
  detail::TFormReader(source).Read(document, *root, nullptr);
  return root;
}

TComponent& LoadFormText(std::string_view text, TComponent& owner, std::string_view sourceName) {
  const std::string source(sourceName);
  const nlohmann::json document = Parse(text, source);
  std::unique_ptr<TComponent> root = CreateRoot(document, source);
  if (owner.IsDesigning()) root->SetDesigning(true);
  detail::TFormReader(source).Read(document, *root, &owner);
  return *root.release();  // now owned by `owner`
}

void ReadFormText(TComponent& root, std::string_view text, std::string_view sourceName) {
  const std::string source(sourceName);
  detail::TFormReader(source).Read(Parse(text, source), root, nullptr);
}

std::unique_ptr<TComponent> LoadForm(const std::filesystem::path& file) {
  return LoadFormText(ReadText(file), file.string());
}

TComponent& LoadForm(const std::filesystem::path& file, TComponent& owner) {
  return LoadFormText(ReadText(file), owner, file.string());
}

void ReadForm(TComponent& root, const std::filesystem::path& file) {
  ReadFormText(root, ReadText(file), file.string());
}

}  // namespace qx
