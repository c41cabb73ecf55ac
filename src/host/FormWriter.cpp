#include <fstream>

#include "host/FormFile.h"
#include "host/FormReferences.h"
#include "host/Properties.h"

namespace qx {
namespace {

std::string Child(const std::string& path, std::string_view key) {
  return (nlohmann::json::json_pointer(path) / std::string(key)).to_string();
}

std::string Child(const std::string& path, std::size_t index) {
  return (nlohmann::json::json_pointer(path) / index).to_string();
}

// Writes one form. Errors name `sourceName` and the path the bad value would
// have had in the file.
class TFormWriter {
 public:
  TFormWriter(const TComponent& root, std::string sourceName)
      : FRoot(root), FSourceName(std::move(sourceName)) {}

  nlohmann::json Write() const {
    nlohmann::json document = WriteComponent(FRoot, "");
    nlohmann::json components = nlohmann::json::array();
    for (int i = 0; i < FRoot.GetComponentCount(); ++i) {
      const TComponent& component = *FRoot.GetComponent(i);
      const std::string path = Child("/components", std::size_t(i));
      if (FindClass(component.ClassName()) != &component.ClassInfo()) {
        Fail(Child(path, "class"), "class " + component.ClassName() +
                                       " is not registered, so the form could not be read back");
      }
      components.push_back(WriteComponent(component, path));
    }
    if (!components.empty()) document["components"] = std::move(components);
    return document;
  }

 private:
  [[noreturn]] void Fail(const std::string& path, const std::string& reason) const {
    throw EFormFileError(FSourceName, path, reason);
  }

  nlohmann::json WriteComponent(const TComponent& component, const std::string& path) const {
    nlohmann::json entry = {{"class", component.ClassName()}};
    if (!component.GetName().empty()) entry["name"] = component.GetName();
    nlohmann::json properties = WriteProperties(component, Child(path, "properties"));
    if (!properties.empty()) entry["properties"] = std::move(properties);
    return entry;
  }

  nlohmann::json WriteProperties(const TPersistent& object, const std::string& path) const {
    nlohmann::json properties = nlohmann::json::object();
    for (const TPropertyInfo* info : object.ClassInfo().GetProperties()) {
      if (!info->IsStored(object) || info->IsDefault(object)) continue;
      const std::string& name = info->GetName();
      const std::string valuePath = Child(path, name);
      switch (info->GetKind()) {
        case pkObject:
          properties[name] = WriteProperties(*info->GetObject(object), valuePath);
          break;
        case pkCollection: {
          const auto& collection = static_cast<const TCollection&>(*info->GetObject(object));
          nlohmann::json items = nlohmann::json::array();
          for (int i = 0; i < collection.GetCount(); ++i) {
            items.push_back(
                WriteProperties(collection.GetItem(i), Child(valuePath, std::size_t(i))));
          }
          properties[name] = std::move(items);
          break;
        }
        case pkComponent: {
          const TComponent& target = *info->GetReference(object);
          auto reference = detail::ReferenceName(FRoot, target);
          if (!reference) {
            Fail(valuePath, "the referenced " + target.ClassName() +
                                " cannot be named from this form (it needs a name, and a named "
                                "form when it belongs to another one)");
          }
          properties[name] = *reference;
          break;
        }
        default:
          try {
            properties[name] = info->GetJson(object);
          } catch (const std::exception& error) {
            Fail(valuePath, error.what());
          }
      }
    }
    return properties;
  }

  const TComponent& FRoot;
  std::string FSourceName;
};

}  // namespace

std::string SaveFormText(const TComponent& root, std::string_view sourceName) {
  return TFormWriter(root, std::string(sourceName)).Write().dump(2) + "\n";
}

void SaveForm(const TComponent& root, const std::filesystem::path& file) {
  // The whole text first: a form that cannot be written leaves the file alone.
  const std::string text = SaveFormText(root, file.string());
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream << text;
  stream.close();
  if (!stream) throw EFormFileError(file.string(), "", "cannot write the file");
}

}  // namespace qx
