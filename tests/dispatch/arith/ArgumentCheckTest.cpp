// The argument checks of every entry: which status each bad argument gives,
// which check wins when several arguments are bad (the order differs by
// family), and that a refused call writes nothing. The SIMD kernel and its
// reference are both held to it.
#include <gtest/gtest.h>

#include <string_view>

#include "ArithTestSupport.h"

namespace qx::arithtest {
namespace {

using namespace fallback;

// The order in which an entry's family checks its arguments.
enum class Order {
  kNullSize,         // Add, Sub, Mul, AddC, SubC, MulC, Copy: steps are free
  kNullSizeStep,     // Set, Max, Sqr, Div, DivC: steps of at least 1
  kNullSizeRowStep,  // AbsDiff, AbsDiffC: steps of at least a row
  kNullStepSize,     // And, Or, Xor (and C forms), Not, shifts, MulScale, MulCScale
  kSizeNullStep,     // ... their C3 and C4 in-place forms
  kMirror,           // null, size, then the axis
  kVector,           // signal-domain entries: null, then the length
};

Order OrderOf(std::string_view name) {
  const auto is = [name](std::string_view prefix) { return name.starts_with(prefix); };
  if (is("ipps")) return Order::kVector;
  if (is("ippiMirror")) return Order::kMirror;
  if (is("ippiAbsDiff")) return Order::kNullSizeRowStep;
  if (is("ippiSet") || is("ippiMax") || is("ippiSqr") || is("ippiDiv")) return Order::kNullSizeStep;
  const bool bitwise = is("ippiAnd") || is("ippiOr") || is("ippiXor") || is("ippiNot") ||
                       is("ippiLShiftC") || is("ippiRShiftC") || is("ippiMulScale") ||
                       is("ippiMulCScale");
  if (!bitwise) return Order::kNullSize;
  const bool inPlaceC3OrC4 = name.ends_with("_C3IR") || name.ends_with("_C4IR");
  return inPlaceC3OrC4 ? Order::kSizeNullStep : Order::kNullStepSize;
}

// Forms with a pointer argument besides the images.
template <class Kernel>
constexpr bool kTakesConstants =
    std::is_same_v<Kernel, ConstInPlaceSfsKernel> || std::is_same_v<Kernel, ConstInPlaceKernel> ||
    std::is_same_v<Kernel, ConstSourceKernel> || std::is_same_v<Kernel, ShiftInPlaceKernel> ||
    std::is_same_v<Kernel, ShiftSourceKernel>;

// One call of an entry on small valid images, to be spoiled one argument at a
// time before it runs.
template <class Kernel>
class Call {
 public:
  static constexpr IppiSize kRoi{5, 3};

  Call(const char* name, Kernel* kernel) : fKernel(kernel), fLayout(LayoutOf(name)), fRandom(5) {
    fRoi = kVectorForm<Kernel> ? IppiSize{kRoi.width, 1} : kRoi;
    fImages = ImagesFor<Kernel>(fLayout, fRoi, {}, fRandom);
    fPristine = fImages;
    for (GuardedImage& image : fImages) fOperands.push_back(image.AsOperand());
    fArgs.constants = {3, 5, 7, 9};
    fArgs.counts = {1, 2, 3, 4};
  }

  int Operands() const { return static_cast<int>(fOperands.size()); }
  int RowBytes(int i) const { return fImages[i].RowBytes(); }
  Call& NullOperand(int i) {
    fOperands[i].origin = nullptr;
    return *this;
  }
  Call& NullEveryPointer() {
    for (Operand& operand : fOperands) operand.origin = nullptr;
    fArgs.nullConstants = fArgs.nullPlaneArray = fArgs.nullResult = true;
    return *this;
  }
  Call& Step(int i, int step) {
    fOperands[i].step = step;
    return *this;
  }
  Call& EveryStep(int step) {
    for (Operand& operand : fOperands) operand.step = step;
    return *this;
  }
  Call& Size(IppiSize size) {
    fRoi = size;
    return *this;
  }
  Call& Axis(int axis) {
    fArgs.axis = static_cast<IppiAxis>(axis);
    return *this;
  }
  Arguments& Args() { return fArgs; }

  IppStatus Run() { return Form<Kernel>::Call(fKernel, fOperands, fArgs, fRoi); }
  bool Untouched() const {
    for (std::size_t i = 0; i < fImages.size(); ++i)
      if (fImages[i].Buffer() != fPristine[i].Buffer()) return false;
    return true;
  }

 private:
  Kernel* fKernel;
  Layout fLayout;
  std::mt19937 fRandom;
  IppiSize fRoi;
  std::vector<GuardedImage> fImages;
  std::vector<GuardedImage> fPristine;
  std::vector<Operand> fOperands;
  Arguments fArgs;
};

// Runs `call` and expects `status` with nothing written.
template <class Kernel>
void ExpectRefused(Call<Kernel>& call, IppStatus status) {
  EXPECT_EQ(call.Run(), status);
  EXPECT_TRUE(call.Untouched());
}

template <class Kernel>
void ExpectChecks(const char* name, Kernel* kernel) {
  SCOPED_TRACE(name);
  using C = Call<Kernel>;
  const Order order = OrderOf(name);
  const int operands = C(name, kernel).Operands();

  // Each pointer alone.
  for (int i = 0; i < operands; ++i) {
    C call(name, kernel);
    ExpectRefused(call.NullOperand(i), ippStsNullPtrErr);
  }
  if constexpr (kTakesConstants<Kernel>) {
    C call(name, kernel);
    call.Args().nullConstants = true;
    ExpectRefused(call, ippStsNullPtrErr);
  }
  if constexpr (std::is_same_v<Kernel, CopyPlanesKernel>) {
    C call(name, kernel);
    call.Args().nullPlaneArray = true;
    ExpectRefused(call, ippStsNullPtrErr);
  }
  if constexpr (std::is_same_v<Kernel, MaxKernel>) {
    C call(name, kernel);
    call.Args().nullResult = true;
    ExpectRefused(call, ippStsNullPtrErr);
  }

  // Sizes below 1, alone.
  for (IppiSize size : {IppiSize{0, 3}, IppiSize{5, 0}, IppiSize{-4, 3}, IppiSize{5, -1}}) {
    if (kVectorForm<Kernel> && size.height != 3) continue;  // a length has no height
    C call(name, kernel);
    ExpectRefused(call.Size(size), ippStsSizeErr);
  }

  if (order == Order::kVector) return;

  // Steps, alone: too small for the families that check them, accepted by the others.
  const bool checksSteps = order != Order::kNullSize && order != Order::kMirror;
  for (int i = 0; i < operands; ++i) {
    const int tooSmall = order == Order::kNullSizeRowStep ? C(name, kernel).RowBytes(i) - 1 : 0;
    C call(name, kernel);
    if (checksSteps) {
      ExpectRefused(call.Step(i, tooSmall), ippStsStepErr);
    } else {
      EXPECT_NE(call.Step(i, tooSmall).Run(), ippStsStepErr);
    }
  }
  if (order != Order::kNullSizeRowStep) {  // a step of 1 (overlapping rows) is no error
    C call(name, kernel);
    EXPECT_NE(call.EveryStep(1).Run(), ippStsStepErr);
  }

  // Everything bad at once: the family's first check answers.
  {
    C call(name, kernel);
    const IppStatus first = order == Order::kSizeNullStep ? ippStsSizeErr : ippStsNullPtrErr;
    ExpectRefused(call.NullEveryPointer().Size({0, 0}).EveryStep(0).Axis(7), first);
  }
  // Valid pointers, bad size and steps.
  {
    C call(name, kernel);
    const IppStatus first = order == Order::kNullStepSize ? ippStsStepErr : ippStsSizeErr;
    ExpectRefused(call.Size({0, 0}).EveryStep(0).Axis(7), first);
  }

  if (order == Order::kMirror) {
    for (int axis : {-1, 3, 1000}) {
      C call(name, kernel);
      ExpectRefused(call.Axis(axis), ippStsMirrorFlipErr);
    }
  }
}

template <class Kernel>
class ArgumentChecks : public ::testing::Test {};

using Forms =
    ::testing::Types<TwoSourceSfsKernel, TwoSourceKernel, OneSourceKernel, OneSourceSfsKernel,
                     InPlaceKernel, InPlaceSfsKernel, ConstInPlaceSfsKernel, ConstInPlaceKernel,
                     ByteInPlaceKernel, ConstSourceKernel, ShiftInPlaceKernel, ShiftSourceKernel,
                     MirrorKernel, MirrorInPlaceKernel, Mirror16uKernel, CopyPlanesKernel,
                     MaxKernel, SwapBytesInPlaceKernel, SwapBytesKernel, VectorCopyKernel,
                     Set16sKernel>;
TYPED_TEST_SUITE(ArgumentChecks, Forms);

TYPED_TEST(ArgumentChecks, InTheFamilysOrder) {
  for (const Entry<TypeParam>& entry : EntriesOf<TypeParam>()) {
    ExpectChecks(entry.name, entry.simd);
    ExpectChecks(entry.name, entry.reference);
  }
}

}  // namespace
}  // namespace qx::arithtest
