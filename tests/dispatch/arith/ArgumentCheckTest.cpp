// The argument checks of every entry: which status each bad argument gives,
// which check wins when several arguments are bad (the order differs by
// family), and that a refused call writes nothing. The SIMD kernel and its
// reference are both held to it.
#include <gtest/gtest.h>

#include <string_view>

#include "ArithTestSupport.h"

namespace qx::arithtest {
namespace {

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

template <class Kernel>
constexpr bool kTakesArgumentPointer = std::is_same_v<Kernel, fallback::ConstInPlaceSfsKernel> ||
                                       std::is_same_v<Kernel, fallback::ConstInPlaceKernel> ||
                                       std::is_same_v<Kernel, fallback::ConstSourceKernel> ||
                                       std::is_same_v<Kernel, fallback::ShiftInPlaceKernel> ||
                                       std::is_same_v<Kernel, fallback::ShiftSourceKernel> ||
                                       std::is_same_v<Kernel, fallback::CopyPlanesKernel> ||
                                       std::is_same_v<Kernel, fallback::MaxKernel>;

// One call of an entry on small valid images, to be spoiled before it runs.
template <class Kernel>
struct Call {
  Call(const char* name, Kernel* kernel) : kernel(kernel) {
    std::mt19937 random(5);
    images = ImagesFor<Kernel>(name, roi, random);
    pristine = images;
    for (GuardedImage& image : images) operands.push_back(image.AsOperand());
    args.constants = {3, 5, 7, 9};
    args.counts = {1, 2, 3, 4};
  }

  IppStatus Run() { return Form<Kernel>::Call(kernel, operands, args, roi); }
  // Runs the call and expects `status` with nothing written.
  void ExpectRefused(IppStatus status) {
    EXPECT_EQ(Run(), status);
    for (std::size_t i = 0; i < images.size(); ++i)
      EXPECT_TRUE(images[i].Buffer() == pristine[i].Buffer()) << "operand " << i;
  }
  Call& EveryStep(int step) {
    for (Operand& operand : operands) operand.step = step;
    return *this;
  }
  // The size empty, every step 0, the axis invalid, and the pointers null too.
  Call& AllBad(bool pointers) {
    for (Operand& operand : operands) operand.origin = pointers ? nullptr : operand.origin;
    args.nullPointer = pointers;
    roi = {0, 0};
    args.axis = static_cast<IppiAxis>(7);
    return EveryStep(0);
  }

  Kernel* kernel;
  IppiSize roi = kVectorForm<Kernel> ? IppiSize{5, 1} : IppiSize{5, 3};
  std::vector<GuardedImage> images;
  std::vector<GuardedImage> pristine;
  std::vector<Operand> operands;
  Arguments args;
};

template <class Kernel>
void ExpectChecks(const char* name, Kernel* kernel) {
  SCOPED_TRACE(name);
  using C = Call<Kernel>;
  const Order order = OrderOf(name);
  const int operands = static_cast<int>(Form<Kernel>::kRoles.size());

  // Each pointer alone, the images' and the argument's the form takes.
  for (int i = 0; i < operands; ++i) {
    C call(name, kernel);
    call.operands[i].origin = nullptr;
    call.ExpectRefused(ippStsNullPtrErr);
  }
  if (kTakesArgumentPointer<Kernel>) {
    C call(name, kernel);
    call.args.nullPointer = true;
    call.ExpectRefused(ippStsNullPtrErr);
  }
  // Sizes below 1, alone (a length has no height).
  for (IppiSize size : {IppiSize{0, 3}, kVectorForm<Kernel> ? IppiSize{-4, 1} : IppiSize{5, -1}}) {
    C call(name, kernel);
    call.roi = size;
    call.ExpectRefused(ippStsSizeErr);
  }
  if (order == Order::kVector) return;

  // Steps, alone: too small for the families that check them, accepted by the others.
  const bool checksSteps = order != Order::kNullSize && order != Order::kMirror;
  for (int i = 0; i < operands; ++i) {
    C call(name, kernel);
    call.operands[i].step = order == Order::kNullSizeRowStep ? call.images[i].RowBytes() - 1 : 0;
    if (checksSteps) {
      call.ExpectRefused(ippStsStepErr);
    } else {
      EXPECT_NE(call.Run(), ippStsStepErr);
    }
  }
  if (order != Order::kNullSizeRowStep) {  // a step of 1 (overlapping rows) is no error
    EXPECT_NE(C(name, kernel).EveryStep(1).Run(), ippStsStepErr);
  }

  // Everything bad at once: the family's first check answers; then valid pointers.
  C(name, kernel)
      .AllBad(true)
      .ExpectRefused(order == Order::kSizeNullStep ? ippStsSizeErr : ippStsNullPtrErr);
  C(name, kernel)
      .AllBad(false)
      .ExpectRefused(order == Order::kNullStepSize ? ippStsStepErr : ippStsSizeErr);
  if (order == Order::kMirror) {
    for (int axis : {-1, 3}) {
      C call(name, kernel);
      call.args.axis = static_cast<IppiAxis>(axis);
      call.ExpectRefused(ippStsMirrorFlipErr);
    }
  }
}

TEST(ArgumentChecks, InTheFamilysOrder) {
  ForEachEntry([](const char* name, auto* simd, auto* reference) {
    ExpectChecks(name, simd);
    ExpectChecks(name, reference);
  });
}

}  // namespace
}  // namespace qx::arithtest
