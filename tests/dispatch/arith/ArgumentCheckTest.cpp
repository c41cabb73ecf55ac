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
  // The size empty, every step 0, the axis invalid, and the pointers null too.
  Call& AllBad(bool pointers) {
    for (Operand& operand : operands) {
      operand.origin = pointers ? nullptr : operand.origin;
      operand.step = 0;
    }
    args.nullPointer = pointers;
    roi = {0, 0};
    args.axis = static_cast<IppiAxis>(7);
    return *this;
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
  // Each image pointer alone, then each step alone: too small for the
  // families that check steps, accepted by the others.
  const bool checksSteps = order != Order::kNullSize && order != Order::kMirror;
  for (std::size_t i = 0; i < Form<Kernel>::kRoles.size(); ++i) {
    C nullImage(name, kernel);
    nullImage.operands[i].origin = nullptr;
    nullImage.ExpectRefused(ippStsNullPtrErr);
    if (order == Order::kVector) continue;
    C call(name, kernel);
    call.operands[i].step = order == Order::kNullSizeRowStep ? call.images[i].RowBytes() - 1 : 0;
    if (checksSteps) {
      call.ExpectRefused(ippStsStepErr);
    } else {
      EXPECT_NE(call.Run(), ippStsStepErr);
    }
  }
  // A null constants, counts, plane array or result pointer is refused where
  // the form takes one (reading it would crash), ignored elsewhere.
  C nullArgument(name, kernel);
  nullArgument.args.nullPointer = true;
  const IppStatus status = nullArgument.Run();
  EXPECT_TRUE(status == ippStsNoErr || status == ippStsNullPtrErr) << status;
  C emptySize(name, kernel);
  emptySize.roi.width = 0;
  emptySize.ExpectRefused(ippStsSizeErr);

  // Everything bad at once: the family's first check answers; then valid pointers.
  C(name, kernel)
      .AllBad(true)
      .ExpectRefused(order == Order::kSizeNullStep ? ippStsSizeErr : ippStsNullPtrErr);
  C(name, kernel)
      .AllBad(false)
      .ExpectRefused(order == Order::kNullStepSize ? ippStsStepErr : ippStsSizeErr);
  if (order == Order::kMirror) {
    C call(name, kernel);
    call.args.axis = static_cast<IppiAxis>(3);
    call.ExpectRefused(ippStsMirrorFlipErr);
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
