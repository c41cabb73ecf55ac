#include "TestNodes.h"

#include "packages/flowbus/FBStreamRegistry.h"

namespace qx::test {

void RegisterTestStreams() {
  FBRegisterStream(StreamA, "Test stream A");
  FBRegisterStream(StreamB, "Test stream B");
  FBRegisterStream(StreamC, "Test stream C");
  FBRegisterStream(StreamD, "Test stream D");
}

TFBOperationPtr Number(int n) { return MakeRef<TNumberOperation>(n); }

int NumberOf(const TFBOperationPtr& operation) {
  const auto* number = dynamic_cast<const TNumberOperation*>(operation.Get());
  return number ? number->Number : -1;
}

TNode::TNode(TComponent* owner, const std::string& name) : TComponent(owner) {
  RegisterTestStreams();
  if (!name.empty()) SetName(name);
}

TNode::~TNode() {
  FLock->BeginDestroy();
  FBShutdownPins(*this);
}

void TNode::Log(TFBPin& pin, const std::vector<TGUID>& types) {
  for (const TGUID& type : types) pin.AddType(type);
  pin.OnOperation = [this](TFBPin& p, const TGUID& t, const TFBOperationPtr& o, TFBState s) {
    {
      std::lock_guard guard(FLogMutex);
      FReceived.push_back({p.GetName(), o, t, s, std::this_thread::get_id()});
    }
    return Reaction ? Reaction(p, o) : true;
  };
}

TFBSourcePin& TNode::AddSource(const std::string& name, std::vector<TGUID> types) {
  auto* pin = new TFBSourcePin(this, name, FLock);
  Log(*pin, types);
  return *pin;
}

TFBSinkPin& TNode::AddSink(const std::string& name, std::vector<TGUID> types) {
  auto* pin = new TFBSinkPin(this, name, FLock);
  Log(*pin, types);
  return *pin;
}

std::vector<TReceived> TNode::Received() const {
  std::lock_guard guard(FLogMutex);
  return FReceived;
}

std::vector<int> TNode::Numbers(const std::string& pin) const {
  std::vector<int> numbers;
  for (const TReceived& received : Received()) {
    if (received.Pin == pin) numbers.push_back(NumberOf(received.Operation));
  }
  return numbers;
}

}  // namespace qx::test
