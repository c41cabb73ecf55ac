// Form files: components and their published properties stored as JSON.
//
// A form is a root component (usually a form class of the application) and
// the components it owns. Its file looks like this:
//
//   {
//     "class": "TMainForm",
//     "name": "MainForm",
//     "properties": { "Caption": "Capture" },
//     "components": [
//       { "class": "TQXDSCapture", "name": "Capture1",
//         "properties": { "Enabled": false,
//                         "VideoSize": { "Width": 640, "Height": 480 },
//                         "ClosedCaptions": { "Enabled": true } } },
//       { "class": "TQXImageDisplay", "name": "Display1",
//         "properties": { "Stretch": "smProportional",
//                         "Options": ["doCenter", "doAutoClear"],
//                         "Layers": [ { "Visible": false }, {} ],
//                         "Source": "Capture1" } }
//     ]
//   }
//
// - "properties" holds only the values that differ from their defaults (and
//   whose property is stored); it is left out when empty, as is "components".
// - Booleans, numbers and strings are JSON values; floating-point NaN and
//   infinities are the strings "NaN", "Infinity", "-Infinity"; enumerations
//   are value names; sets are arrays of value names.
// - A sub-object is a nested object of its own properties; a collection is
//   an array with one object of properties per item.
// - A component reference is the name of a component of the form, or the
//   form's own name, or a dotted path from a named component without owner
//   ("OtherForm.Display1") for a component of another form; null is stored as
//   no value.
// - Events are not stored: they are bound in code.
//
// Reading creates the root and the components by class name (each class must
// be registered, host/ClassInfo.h), or reuses an existing component of the
// root with the same name and class, applies the stored values, resolves the
// component references once every component exists, and then calls `Loaded`
// on each component in file order, the root last. While reading, every
// component of the form is in the loading state.
//
// A bad file (unreadable, malformed JSON, a missing or unknown class, an
// unknown property, a value of the wrong type or out of range, a reference to
// no component) raises one EFormFileError naming the file and the JSON pointer
// of the bad entry; the components created by the failed read are destroyed
// and the root of `LoadForm` with them. Values already applied to components
// that existed before `ReadForm` keep their new values. An exception raised by
// a `Loaded` propagates as it is.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "host/Component.h"

namespace qx {

// Creates the form stored in `file`; the caller owns it.
std::unique_ptr<TComponent> LoadForm(const std::filesystem::path& file);
// Creates the form stored in `file`, owned by `owner` (its name must be free
// there).
TComponent& LoadForm(const std::filesystem::path& file, TComponent& owner);
// Reads `file` into an existing root, whose class must be the stored class or
// derive from it.
void ReadForm(TComponent& root, const std::filesystem::path& file);
// Writes `root` and the components it owns to `file`, replacing it. Raises
// EFormFileError (and leaves the file alone) for a component whose class is
// not registered, or a reference that cannot be written.
void SaveForm(const TComponent& root, const std::filesystem::path& file);

// The same on text in memory; `sourceName` stands for the file name in errors.
std::unique_ptr<TComponent> LoadFormText(std::string_view text,
                                         std::string_view sourceName = "form");
TComponent& LoadFormText(std::string_view text, TComponent& owner,
                         std::string_view sourceName = "form");
void ReadFormText(TComponent& root, std::string_view text, std::string_view sourceName = "form");
std::string SaveFormText(const TComponent& root, std::string_view sourceName = "form");

}  // namespace qx
