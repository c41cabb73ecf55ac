#include "TestNodes.h"

#include "packages/flowbus/FBStreamRegistry.h"

namespace qx::test {

void RegisterTestStreams() {
  FBRegisterStream(StreamA, "Test stream A");
  FBRegisterStream(StreamB, "Test stream B");
  FBRegisterStream(StreamC, "Test stream C");
  FBRegisterStream(StreamD, "Test stream D");
}

int NumberOf(const TFBOperationPtr& operation) {
  const auto* number = dynamic_cast<const TNumberOperation*>(operation.Get());
  return number ? number->GetNumber() : -1;
}

TNode::TNode(TComponent* owner, const std::string& name) : TComponent(owner) {
  RegisterTestStreams();
  if (!name.empty()) SetName(name);
}

TNode::~TNode() {
  FLock->BeginDestroy();
  FBShutdownPins(*this);
}

TFBSourcePin& TNode::AddSource(const std::string& name, std::vector<TGUID> types) {
  auto* pin = new TFBSourcePin(this, name, FLock);
  for (const TGUID& type : types) pin->AddType(type);
  pin->OnOperation = [this](TFBPin& p, const TGUID& t, const TFBOperationPtr& o, TFBState s) {
    return Log(p, t, o, s);
  };
  return *pin;
}

TFBSinkPin& TNode::AddSink(const std::string& name, std::vector<TGUID> types) {
  auto* pin = new TFBSinkPin(this, name, FLock);
  for (const TGUID& type : types) pin->AddType(type);
  pin->OnOperation = [this](TFBPin& p, const TGUID& t, const TFBOperationPtr& o, TFBState s) {
    return Log(p, t, o, s);
  };
  return *pin;
}

bool TNode::Log(TFBPin& pin, const TGUID& dataType, const TFBOperationPtr& operation,
                TFBState state) {
  {
    std::lock_guard guard(FLogMutex);
    FReceived.push_back({pin.GetName(), operation, dataType, state, std::this_thread::get_id()});
  }
  return Reaction ? Reaction(pin, operation) : true;
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

void TNode::ClearReceived() {
  std::lock_guard guard(FLogMutex);
  FReceived.clear();
}

}  // namespace qx::test
