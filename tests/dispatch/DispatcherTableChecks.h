// Checks that every dispatcher table shares: what each entry resolved to, and
// that each entry is callable and refuses empty arguments.
#pragma once

#include <gtest/gtest.h>

#include "dispatch/IppTypes.h"

namespace qx::test {

// Calls `entry` with every argument value-initialised: null pointers, zero
// steps and sizes. Every entry must refuse that with an error status.
template <class... Args>
IppStatus CallWithEmptyArguments(IppStatus (*entry)(Args...)) {
  return entry(Args{}...);
}

// The address of `entry`'s fallback, as an untyped pointer for comparisons.
template <class Entry>
const void* Address(Entry entry) {
  return reinterpret_cast<const void*>(entry);
}

}  // namespace qx::test

// For use with a table's X-macro list inside a test body.
#define QX_EXPECT_FALLBACK(form, name) \
  EXPECT_EQ(::qx::test::Address(name), ::qx::test::Address(&::qx::fallback::name)) << #name;
#define QX_EXPECT_REFUSES_EMPTY_ARGUMENTS(form, name) \
  EXPECT_LT(::qx::test::CallWithEmptyArguments(name), 0) << #name;
