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
#include "packages/flowbus/FBStreamRegistry.h"

namespace qx::test {

inline constexpr TGUID StreamA = TGUID::Parse("{3CC5C88E-739E-492D-ACB3-A39C3FEFFDD2}");
inline constexpr TGUID StreamB = TGUID::Parse("{9920D76F-1C23-4D46-985B-0D931A553502}");
inline constexpr TGUID StreamC = TGUID::Parse("{8A875538-D1FF-4878-B256-6E93D237CF7B}");

inline void RegisterTestStreams() {
  FBRegisterStream(StreamA, "Test stream A");
  FBRegisterStream(StreamB, "Test stream B");
  FBRegisterStream(StreamC, "Test stream C");
}

class TNumberOperation : public TFBSuppliedOperation {
 public:
  explicit TNumberOperation(int number) : Number(number) {}
  const int Number;
};

inline TFBOperationPtr Number(int n) { return MakeRef<TNumberOperation>(n); }

// The number of a TNumberOperation, -1 for any other operation.
inline int NumberOf(const TFBOperationPtr& operation) {
  const auto* number = dynamic_cast<const TNumberOperation*>(operation.Get());
  return number ? number->Number : -1;
}

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
  explicit TNode(TComponent* owner = nullptr, const std::string& name = {}) : TComponent(owner) {
    RegisterTestStreams();
    if (!name.empty()) SetName(name);
  }
  ~TNode() override {
    FLock->BeginDestroy();
    FBShutdownPins(*this);
  }

  TFBSourcePin& AddSource(const std::string& name, const std::vector<TGUID>& types) {
    return Logged(*new TFBSourcePin(this, name, FLock), types);
  }
  TFBSinkPin& AddSink(const std::string& name, const std::vector<TGUID>& types) {
    return Logged(*new TFBSinkPin(this, name, FLock), types);
  }

  std::vector<TReceived> Received() const {
    std::lock_guard guard(FLogMutex);
    return FReceived;
  }
  // The numbers received on `pin`, in order.
  std::vector<int> Numbers(const std::string& pin) const {
    std::vector<int> numbers;
    for (const TReceived& received : Received()) {
      if (received.Pin == pin) numbers.push_back(NumberOf(received.Operation));
    }
    return numbers;
  }
  const TRefPtr<IFBLock>& GetLock() const noexcept { return FLock; }

  std::function<bool(TFBPin& pin, const TFBOperationPtr& operation)> Reaction;

 private:
  template <class TPin>
  TPin& Logged(TPin& pin, const std::vector<TGUID>& types) {
    for (const TGUID& type : types) pin.AddType(type);
    pin.OnOperation = [this](TFBPin& p, const TGUID& t, const TFBOperationPtr& o, TFBState s) {
      {
        std::lock_guard guard(FLogMutex);
        FReceived.push_back({p.GetName(), o, t, s, std::this_thread::get_id()});
      }
      return Reaction ? Reaction(p, o) : true;
    };
    return pin;
  }

  TRefPtr<IFBLock> FLock = FBCreateLock();
  mutable std::mutex FLogMutex;
  std::vector<TReceived> FReceived;
};

}  // namespace qx::test
