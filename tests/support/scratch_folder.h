// Scratch folders for tests that write files: one of the test process's own, so that runs
// of other builds at the same time cannot write over it, emptied when first asked for, and
// removed when the run ends with every test passed (a failed run keeps it to look at).
#ifndef KORVANE_TESTS_SUPPORT_SCRATCH_FOLDER_H
#define KORVANE_TESTS_SUPPORT_SCRATCH_FOLDER_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace test_support {

// <temporary folder>/korvane_test_<process id>.
inline std::filesystem::path ScratchFolder() {
  struct Cleanup {
    std::filesystem::path folder;
    ~Cleanup() {
      std::error_code ignored;
      if (testing::UnitTest::GetInstance()->Passed()) std::filesystem::remove_all(folder, ignored);
    }
  };
  static const Cleanup cleanup{std::filesystem::temp_directory_path() /
                               ("korvane_test_" + std::to_string(::getpid()))};
  static const bool emptied = [] {
    std::filesystem::remove_all(cleanup.folder);
    return std::filesystem::create_directories(cleanup.folder);
  }();
  static_cast<void>(emptied);
  return cleanup.folder;
}

}  // namespace test_support

#endif  // KORVANE_TESTS_SUPPORT_SCRATCH_FOLDER_H
