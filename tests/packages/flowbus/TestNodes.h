// Components and operations shared by the pin framework suites: a node with
// one lock whose pins log what they receive, and numbered operations.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/Component.h"
#include "packages/flowbus/FBLock.h"
#include "packages/flowbus/FBOperations.h"
#include "packages/flowbus/FBSinkPin.h"
#include "packages/flowbus/FBSourcePin.h"

namespace qx::test {

// Test stream types, registered by RegisterTestStreams().
inline constexpr TGUID StreamA = TGUID::Parse("{3CC5C88E-739E-492D-ACB3-A39C3FEFFDD2}");
inline constexpr TGUID StreamB = TGUID::Parse("{9920D76F-1C23-4D46-985B-0D931A553502}");
inline constexpr TGUID StreamC = TGUID::Parse("{8A875538-D1FF-4878-B256-6E93D237CF7B}");
inline constexpr TGUID StreamD = TGUID::Parse("{DC59E990-6B7A-410E-82B9-F9F47325EA14}");
void RegisterTestStreams();

class TNumberOperation : public TFBSuppliedOperation {
 public:
  explicit TNumberOperation(int number) : Number(number) {}
  const int Number;
};

TFBOperationPtr Number(int n);
// The number of a TNumberOperation, -1 for any other operation.
int NumberOf(const TFBOperationPtr& operation);

struct TReceived {
  std::string Pin;
  TFBOperationPtr Operation;
  TGUID DataType;
  TFBState State = 0;
  std::thread::id Thread;
};

// A component whose pins share its lock and log every operation they
// receive; `Reaction` (when set) decides the result and may act.
class TNode : public TComponent {
 public:
  explicit TNode(TComponent* owner = nullptr, const std::string& name = {});
  ~TNode() override;

  TFBSourcePin& AddSource(const std::string& name, std::vector<TGUID> types);
  TFBSinkPin& AddSink(const std::string& name, std::vector<TGUID> types);
  std::vector<TReceived> Received() const;
  // The numbers received on `pin`, in order.
  std::vector<int> Numbers(const std::string& pin) const;
  const TRefPtr<IFBLock>& GetLock() const noexcept { return FLock; }

  std::function<bool(TFBPin& pin, const TFBOperationPtr& operation)> Reaction;

 private:
  void Log(TFBPin& pin, const std::vector<TGUID>& types);

  TRefPtr<IFBLock> FLock = FBCreateLock();
  mutable std::mutex FLogMutex;
  std::vector<TReceived> FReceived;
};

}  // namespace qx::test
