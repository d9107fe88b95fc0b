// The README's examples are the code that runs: the web page's <param> values load
// through the property bag as a browser hands them over (as text), and the C++ example
// is the file the Windows tests build.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "control/memory_property_bag.h"
#include "control/persistence.h"
#include "control/vantiq.h"
#include "support/control_rig.h"
#include "support/project_files.h"

namespace vantiq::testing {
namespace {

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TEST(ReadmeExamples, WebPageParametersLoadAsTheTextSays) {
  const std::string html = ReadmeBlock("html");
  ASSERT_FALSE(html.empty());
  MemoryPropertyBag bag;
  const std::regex param("<param name=\"(\\w+)\" value=\"([^\"]*)\">");
  int params = 0;
  for (std::sregex_iterator it(html.begin(), html.end(), param), end; it != end; ++it, ++params)
    bag.Set(Wide((*it)[1]), Wide((*it)[2]));  // a browser's bag holds text
  EXPECT_EQ(params, 6);

  ControlRig rig(300, 22);
  rig.Start();
  Vantiq& c = *rig.control;
  ReadProperties(c, bag);
  EXPECT_EQ(c.Style(), eProgXP);
  EXPECT_EQ(c.Max(), 200);
  EXPECT_EQ(c.Value(), 50);
  EXPECT_EQ(c.ForeColor(), Rgb(128, 0, 0));
  EXPECT_TRUE(c.Shadow());
  EXPECT_EQ(c.ComposeCaption(), u"25.0%");
}

TEST(ReadmeExamples, CppExampleIsTheBuiltFile) {
  const std::string block = ReadmeBlock("cpp");
  ASSERT_FALSE(block.empty());
  EXPECT_EQ(block, ReadSourceFile("docs/examples/readme_example.cpp"));
}

}  // namespace
}  // namespace vantiq::testing
