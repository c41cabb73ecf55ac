// The exceptions the host framework raises, and the base every platform error
// of the library derives from.
//
// Catch `qx::Exception` to handle any of them; each class below says which
// calls raise it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qx {

// Base of the library's exceptions: a message, nothing else.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message);
  // The message, as `what()` returns it.
  std::string GetMessage() const { return what(); }
};

// `TPersistent::Assign` was given a source it cannot take.
// The message reads "Cannot assign a <source class> to a <destination class>".
class EAssignError : public Exception {
 public:
  EAssignError(std::string_view sourceClass, std::string_view destinationClass);
};

// A text could not be converted: a malformed GUID, an unknown enumeration
// value name.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A component name or ownership rule was broken: an invalid or duplicate name,
// a component inserted into a second owner.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// A class name is not in the class registry, or the class cannot be created
// from a form file.
class EClassNotFound : public Exception {
 public:
  using Exception::Exception;
};

// Reflection failed: unknown property, value of the wrong type or out of
// range, a write to a read-only property.
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

// A form file could not be read or written. The message reads
// "<file>: <path>: <reason>", the path being the JSON pointer of the bad entry
// (for example "/components/2/properties/VideoSize/Width"); the three parts
// are also available separately.
class EFormFileError : public Exception {
 public:
  EFormFileError(std::string fileName, std::string path, std::string reason);

  const std::string& GetFileName() const noexcept { return FFileName; }
  // JSON pointer of the offending entry; empty when the problem is the whole
  // file (unreadable, malformed JSON).
  const std::string& GetPath() const noexcept { return FPath; }
  const std::string& GetReason() const noexcept { return FReason; }

 private:
  std::string FFileName;
  std::string FPath;
  std::string FReason;
};

// A thread was misused: started twice, or waited for from itself.
class EThreadError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace qx
