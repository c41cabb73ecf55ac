// The look-up against fake IPP libraries placed on LD_LIBRARY_PATH by CTest.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "FakeIpp.h"
#include "dispatch/NXIppLoader.h"

namespace {

using SwapEntry = int (*)(unsigned short*, int);

TEST(IppLoader, FindsExportedImageEntriesInTheImageLibrary) {
  void* entry = qx::GetIPPIProcAddress("ippiAdd_8u_C3RSfs");
  void* library = dlopen(FAKE_IPP_DIR "/libippi.so", RTLD_NOW);
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(entry, dlsym(library, "ippiAdd_8u_C3RSfs"));
  EXPECT_NE(entry, nullptr);
  for (const char* name : {"ippiSub_8u_C3RSfs", "ippiadd_8u_C3RSfs", "ippiAdd_8u_C3RSfs ", ""}) {
    EXPECT_EQ(qx::GetIPPIProcAddress(name), nullptr) << '"' << name << '"';
  }
  EXPECT_EQ(qx::GetIPPIProcAddress(nullptr), nullptr);
  EXPECT_EQ(qx::GetIPPSProcAddress(nullptr), nullptr);
}

// The image library exports the signal-domain name too; each loader finds
// its own library's copy.
TEST(IppLoader, EachDomainAnswersFromItsOwnLibrary) {
  auto swap = reinterpret_cast<SwapEntry>(qx::GetIPPSProcAddress("ippsSwapBytes_16u_I"));
  ASSERT_NE(swap, nullptr);
  EXPECT_EQ(swap(nullptr, 0), kFakeSignalStatus);
  auto decoy = reinterpret_cast<SwapEntry>(qx::GetIPPIProcAddress("ippsSwapBytes_16u_I"));
  ASSERT_NE(decoy, nullptr);
  EXPECT_EQ(decoy(nullptr, 0), kFakeImageStatus);
  EXPECT_EQ(qx::GetIPPSProcAddress("ippiAdd_8u_C3RSfs"), nullptr);
}

TEST(IppLoader, ConcurrentLookUpsAgree) {
  std::vector<void*> found(8);
  std::vector<std::thread> threads;
  for (void*& entry : found) {
    threads.emplace_back([&entry] { entry = qx::GetIPPIProcAddress("ippiMax_8u_C1R"); });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_NE(found.front(), nullptr);
  EXPECT_EQ(std::count(found.begin(), found.end(), found.front()), 8);
}

}  // namespace
