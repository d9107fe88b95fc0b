// The committed fuzz corpus replayed through each target's entry point, natively under
// the sanitizers, so every input that once reached new code is checked on every run.
#ifdef VANTIQ_FUZZ_CORPUS
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "support/control_rig.h"

// The targets' LLVMFuzzerTestOneInput, renamed per target by tests/CMakeLists.txt.
extern "C" {
int control_ops_fuzz_entry(const std::uint8_t*, std::size_t);
int number_format_fuzz_entry(const std::uint8_t*, std::size_t);
int property_bag_fuzz_entry(const std::uint8_t*, std::size_t);
int property_stream_fuzz_entry(const std::uint8_t*, std::size_t);
int utf8_fuzz_entry(const std::uint8_t*, std::size_t);
}

namespace vantiq::testing {
namespace {

namespace fs = std::filesystem;

const struct {
  const char* name;
  int (*entry)(const std::uint8_t*, std::size_t);
} kTargets[] = {
    {"control_ops_fuzz", control_ops_fuzz_entry},     {"number_format_fuzz", number_format_fuzz_entry},
    {"property_bag_fuzz", property_bag_fuzz_entry},   {"property_stream_fuzz", property_stream_fuzz_entry},
    {"utf8_fuzz", utf8_fuzz_entry},
};

TEST(FuzzCorpus, EveryCommittedInputPassesItsTargetsChecks) {
  std::set<std::string> folders, targets;
  for (const fs::directory_entry& e : fs::directory_iterator(VANTIQ_FUZZ_CORPUS))
    if (e.is_directory()) folders.insert(e.path().filename().string());
  for (const auto& target : kTargets) {
    targets.insert(target.name);
    int inputs = 0;
    // On a thread of its own, as a fuzzing process has: the version answers are per thread.
    OnNewThread([&] {
      for (const fs::directory_entry& e : fs::directory_iterator(fs::path(VANTIQ_FUZZ_CORPUS) / target.name)) {
        std::ifstream in(e.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ++inputs;
        try {
          target.entry(bytes.data(), bytes.size());
        } catch (const std::exception& error) {
          ADD_FAILURE() << e.path().string() << ": " << error.what();
        }
      }
    });
    EXPECT_GT(inputs, 0) << target.name << " has no committed corpus";
  }
  EXPECT_EQ(folders, targets) << "a corpus folder without its target here, or the other way round";
}

}  // namespace
}  // namespace vantiq::testing
#endif  // VANTIQ_FUZZ_CORPUS
