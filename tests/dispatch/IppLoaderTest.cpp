// The look-up against fake IPP libraries placed on LD_LIBRARY_PATH by CTest.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "FakeIpp.h"
#include "dispatch/NXIppLoader.h"

namespace {

using ImageEntry = int (*)(const unsigned char*, int, const unsigned char*, int, unsigned char*,
                           int, qx::IppiSize, int);
using SwapEntry = int (*)(unsigned short*, int);

void* FakeSymbol(const char* library, const char* name) {
  const std::string path = std::string(FAKE_IPP_DIR) + "/" + library;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) handle = dlopen(path.c_str(), RTLD_NOW);
  return handle != nullptr ? dlsym(handle, name) : nullptr;
}

TEST(IppLoader, FindsExportedImageEntriesInTheImageLibrary) {
  void* entry = qx::GetIPPIProcAddress("ippiAdd_8u_C3RSfs");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry, FakeSymbol("libippi.so", "ippiAdd_8u_C3RSfs"));
  auto add = reinterpret_cast<ImageEntry>(entry);
  EXPECT_EQ(add(nullptr, 0, nullptr, 0, nullptr, 0, {1, 1}, 0), kFakeImageStatus);
  EXPECT_NE(qx::GetIPPIProcAddress("ippiMax_8u_C1R"), nullptr);
}

TEST(IppLoader, AnswersNullForNamesTheLibraryDoesNotExport) {
  for (const char* name : {"ippiSub_8u_C3RSfs", "ippiadd_8u_C3RSfs", "ippiAdd_8u_C3R",
                           "ippiAdd_8u_C3RSfs ", "IPPIADD_8U_C3RSFS", ""}) {
    EXPECT_EQ(qx::GetIPPIProcAddress(name), nullptr) << '"' << name << '"';
  }
  EXPECT_EQ(qx::GetIPPIProcAddress(nullptr), nullptr);
  EXPECT_EQ(qx::GetIPPSProcAddress(nullptr), nullptr);
}

TEST(IppLoader, EachDomainAnswersFromItsOwnLibrary) {
  auto swap = reinterpret_cast<SwapEntry>(qx::GetIPPSProcAddress("ippsSwapBytes_16u_I"));
  ASSERT_NE(swap, nullptr);
  EXPECT_EQ(swap(nullptr, 0), kFakeSignalStatus);
  // The image library exports the same name; the image loader finds its own copy.
  auto decoy = reinterpret_cast<SwapEntry>(qx::GetIPPIProcAddress("ippsSwapBytes_16u_I"));
  ASSERT_NE(decoy, nullptr);
  EXPECT_EQ(decoy(nullptr, 0), kFakeImageStatus);
  EXPECT_EQ(qx::GetIPPSProcAddress("ippiAdd_8u_C3RSfs"), nullptr);
}

TEST(IppLoader, ConcurrentLookUpsAgree) {
  constexpr int kThreads = 8;
  std::vector<void*> found(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&found, i] { found[i] = qx::GetIPPIProcAddress("ippiMax_8u_C1R"); });
  }
  for (auto& thread : threads) thread.join();
  for (void* entry : found) EXPECT_EQ(entry, found.front());
  EXPECT_NE(found.front(), nullptr);
}

}  // namespace
