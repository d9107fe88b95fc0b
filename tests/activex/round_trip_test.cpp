// Saved state that must keep loading: the streams that the 32-bit and the 64-bit builds
// saved of 40 varied states (data/round_trip_<arch>.bin: odd fonts and sizes, pictures,
// long and unusual captions, values out of range) load in either build into the states
// of data/round_trip_states.txt, and each goes on unchanged through a stream and through
// property bags with and without its defaults. (Random states in bulk: the core's
// property-stream tests and the fuzz targets.)
#include <fstream>
#include <iterator>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

std::vector<std::vector<std::uint8_t>> ReadStreams(const std::string& arch) {
  std::string path = std::string(VANTIQ_DATA_DIR) + "/round_trip_" + arch + ".bin";
  for (char& c : path) c = c == '/' ? '\\' : c;
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::vector<std::uint8_t>> streams;  // each after its 32-bit little-endian length
  for (std::size_t at = 0; at + 4 <= all.size();) {
    const std::size_t n = all[at] | all[at + 1] << 8 | all[at + 2] << 16 | static_cast<std::size_t>(all[at + 3]) << 24;
    if (n > all.size() - (at += 4)) break;
    streams.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(at), all.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  }
  return streams;
}

template <typename Persist>
ComPtr<Persist> New(REFIID iid) {
  return NewControl().As<Persist>(iid);
}

std::wstring StateOf(IUnknown* control) {
  return SavedState(ComPtr<IUnknown>(control).As<_Vantiq>(IID__Vantiq).Get());
}

class RoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(OleInitialize(nullptr)); }
  void TearDown() override { OleUninitialize(); }
};

TEST_F(RoundTripTest, StreamsSavedByEitherArchitectureLoad) {
  for (const char* arch : {"win32", "win64"}) {
    SCOPED_TRACE(std::string("saved by ") + arch);
    const auto streams = ReadStreams(arch);
    ASSERT_EQ(streams.size(), 40u);
    std::wstring states;
    for (std::size_t i = 0; i < streams.size(); ++i) {
      auto loaded = New<IPersistStreamInit>(IID_IPersistStreamInit);
      ASSERT_EQ(loaded->Load(container::NewStream(streams[i]).Get()), S_OK) << i;
      const std::wstring state = StateOf(loaded.Get());
      states += L"state " + std::to_wstring(i) + L"\n" + state;

      // Saved again and loaded, through a stream and through bags with and without the
      // defaults: all alike, and as before unless the value's range is upside down, where
      // loading the value through its setter moves it.
      auto stream = container::NewStream();
      ASSERT_EQ(loaded->Save(stream.Get(), TRUE), S_OK);
      auto again = New<IPersistStreamInit>(IID_IPersistStreamInit);
      ASSERT_EQ(again->Load(container::NewStream(container::StreamBytes(stream.Get())).Get()), S_OK);
      const std::wstring reloaded = StateOf(again.Get());
      double min = 0, max = 0;
      again.As<_Vantiq>(IID__Vantiq)->get_Min(&min);
      again.As<_Vantiq>(IID__Vantiq)->get_Max(&max);
      if (min <= max) EXPECT_TRUE(SameText(state, reloaded)) << "state " << i << " saved again to a stream";
      for (BOOL saveAll : {TRUE, FALSE}) {
        auto bag = container::PropertyBag::Create();
        ASSERT_EQ(loaded.As<IPersistPropertyBag>(IID_IPersistPropertyBag)->Save(bag.Get(), TRUE, saveAll), S_OK);
        auto fromBag = New<IPersistPropertyBag>(IID_IPersistPropertyBag);
        ASSERT_EQ(fromBag->Load(bag.Get(), nullptr), S_OK);
        EXPECT_TRUE(SameText(reloaded, StateOf(fromBag.Get()))) << "state " << i << " through a bag, saveAll " << saveAll;
      }
    }
    EXPECT_TRUE(MatchesExpectedFile(states, "round_trip_states.txt"));
  }
}

}  // namespace
}  // namespace vantiq::activex::testing
