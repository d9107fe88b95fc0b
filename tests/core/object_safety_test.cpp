#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "control/object_safety.h"
#include "support/control_rig.h"

namespace vantiq::testing {
namespace {

const std::u16string kIDispatch = u"{00020400-0000-0000-C000-000000000046}";
const std::u16string kIPersistStreamInit = u"{7FD52380-4E07-101B-AE2D-08002B2EC713}";
const std::u16string kIUnknown = u"{00000000-0000-0000-C000-000000000046}";

TEST(ObjectSafety, GetDeclaresScriptingForIDispatchAndInitialisationForPersistence) {
  ControlRig rig;
  rig.Start();
  const struct {
    std::u16string iid;
    HResult hr;
    std::uint32_t enabled;
  } rows[] = {
      {kIDispatch, kSOk, 1},
      {u"{00020400-0000-0000-c000-000000000046}", kSOk, 1},
      {kIDispatch + std::u16string(1, u'\0') + u"junk", kSOk, 1},  // the text ends at a NUL
      {u"{0000010A-0000-0000-C000-000000000046}", kSOk, 2},        // IPersistStorage
      {u"{00000109-0000-0000-C000-000000000046}", kSOk, 2},        // IPersistStream
      {u"{7fd52380-4e07-101b-ae2d-08002b2ec713}", kSOk, 2},        // IPersistStreamInit
      {u"{37D84F60-42CB-11CE-8135-00AA004BB851}", kSOk, 2},        // IPersistPropertyBag
      {kIUnknown, kENoInterface, 0xDEAD},
      {u"00020400-0000-0000-C000-000000000046", kENoInterface, 0xDEAD},  // no braces
  };
  for (const auto& row : rows) {
    std::uint32_t supported = 0, enabled = 0xDEAD;
    EXPECT_EQ(GetInterfaceSafetyOptions(*rig.control, &row.iid, supported, enabled), row.hr) << &row - rows;
    EXPECT_EQ(std::tie(supported, enabled), std::make_tuple(3u, row.enabled)) << &row - rows;
  }
  std::uint32_t supported = 0, enabled = 0xBEEF;  // a null identifier leaves the enabled options alone
  EXPECT_EQ(GetInterfaceSafetyOptions(*rig.control, nullptr, supported, enabled), kSOk);
  EXPECT_EQ(std::tie(supported, enabled), std::make_tuple(3u, 0xBEEFu));
}

TEST(ObjectSafety, SetAcceptsExactlyTheOptionThatApplies) {
  ControlRig rig;  // not started yet: nothing is declared safe
  std::uint32_t supported = 0, enabled = 0xDEAD;
  EXPECT_EQ(GetInterfaceSafetyOptions(*rig.control, &kIDispatch, supported, enabled), kSOk);
  EXPECT_EQ(enabled, 0u);
  EXPECT_EQ(SetInterfaceSafetyOptions(*rig.control, &kIDispatch, 1, 1), kEFail);
  EXPECT_EQ(SetInterfaceSafetyOptions(*rig.control, &kIPersistStreamInit, 2, 2), kEFail);
  rig.Start();
  const struct {
    const std::u16string* iid;
    std::uint32_t mask, enabled;
    HResult hr;
  } rows[] = {
      {&kIDispatch, 1, 1, kSOk}, {&kIDispatch, 3, 1, kSOk}, {&kIDispatch, 3, 3, kEFail}, {&kIDispatch, 0, 1, kEFail},
      {&kIDispatch, 2, 2, kEFail}, {&kIPersistStreamInit, 2, 2, kSOk}, {&kIPersistStreamInit, 2, 0, kEFail},
      {&kIPersistStreamInit, 1, 1, kEFail}, {&kIUnknown, 1, 1, kENoInterface}, {&kIUnknown, 0, 0, kENoInterface},
      {nullptr, 3, 3, kSOk},
  };
  for (const auto& row : rows)
    EXPECT_EQ(SetInterfaceSafetyOptions(*rig.control, row.iid, row.mask, row.enabled), row.hr) << &row - rows;
}

}  // namespace
}  // namespace vantiq::testing
