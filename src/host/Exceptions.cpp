#include "host/Exceptions.h"

namespace qx {
namespace {

std::string FormFileMessage(const std::string& fileName, const std::string& path,
                            const std::string& reason) {
  std::string message = fileName + ": ";
  if (!path.empty()) message += path + ": ";
  return message + reason;
}

}  // namespace

Exception::Exception(const std::string& message) : std::runtime_error(message) {}

EAssignError::EAssignError(std::string_view sourceClass, std::string_view destinationClass)
    : Exception("Cannot assign a " + std::string(sourceClass) + " to a " +
                std::string(destinationClass)) {}

EFormFileError::EFormFileError(std::string fileName, std::string path, std::string reason)
    : Exception(FormFileMessage(fileName, path, reason)),
      FFileName(std::move(fileName)),
      FPath(std::move(path)),
      FReason(std::move(reason)) {}

}  // namespace qx
