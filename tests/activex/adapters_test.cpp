// The COM layer's adapters on their own: the font and picture objects as the core sees
// them, and the host a control without a container gets. (Events and notifications
// through a real container: events_test.cpp; errors: dispatch_test.cpp.)
#include <olectl.h>

#include <string>
#include <vector>

#include "activex/com_font.h"
#include "activex/com_host.h"
#include "activex/com_picture.h"
#include "common/runtime_error.h"
#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

class RecordingSink : public FontChangeSink {
 public:
  void OnFontChanged(const std::u16string& attribute) override { changes.push_back(attribute); }
  std::vector<std::u16string> changes;
};

using Changes = std::vector<std::u16string>;

class AdaptersTest : public ComTest {};

TEST_F(AdaptersTest, FontReportsEveryAttributeChangeByName) {
  std::shared_ptr<ComFont> font = ComFont::CreateStandard();
  RecordingSink sink;
  font->Advise(&sink);
  font->SetName(u"Tahoma");
  font->SetSize(8);
  font->SetBold(true);
  font->SetItalic(true);
  font->SetUnderline(true);
  font->SetStrikethrough(true);
  font->SetCharset(1);
  EXPECT_EQ(sink.changes, (Changes{u"Name", u"Size", u"Bold", u"Italic", u"Underline",
                                   u"Strikethrough", u"Charset"}));
  EXPECT_EQ(font->Weight(), FW_BOLD) << "bold is a weight";

  // Changes made by others through the shared OLE font arrive too.
  sink.changes.clear();
  ASSERT_HRESULT_SUCCEEDED(font->Font()->put_Bold(FALSE));
  EXPECT_EQ(sink.changes, Changes{u"Bold"});

  font->Unadvise(&sink);
  font->SetItalic(false);
  EXPECT_EQ(sink.changes, Changes{u"Bold"});
}

TEST_F(AdaptersTest, WrappingTheHeldFontKeepsItsAdapter) {
  std::shared_ptr<ComFont> held = ComFont::CreateStandard();
  FontRef current = held;
  ComPtr<IFontDisp> disp = held->Disp();
  EXPECT_EQ(ComFont::WrapOrKeep(disp.Get(), current), current);
  std::shared_ptr<ComFont> other = ComFont::CreateStandard();
  FontRef wrapped = ComFont::WrapOrKeep(other->Disp().Get(), current);
  ASSERT_NE(wrapped, current);
  EXPECT_EQ(FontDispOf(wrapped).As<IUnknown>(IID_IUnknown).Get(),
            other->Disp().As<IUnknown>(IID_IUnknown).Get());
  EXPECT_EQ(ComFont::WrapOrKeep(nullptr, current), nullptr);
}

TEST_F(AdaptersTest, PictureHandleIsTheBitmap) {
  HBITMAP bitmap = CreateBitmap(3, 2, 1, 32, nullptr);
  ComPtr<IPictureDisp> disp = NewPicture(bitmap);
  ASSERT_TRUE(disp);
  std::shared_ptr<ComPicture> picture = ComPicture::Wrap(disp.Get());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Handle(), reinterpret_cast<std::uintptr_t>(bitmap));
  EXPECT_EQ(PictureDispOf(picture).Get(), disp.Get());
  EXPECT_EQ(ComPicture::Wrap(nullptr), nullptr);
}

TEST_F(AdaptersTest, HostWithoutAContainerRunsLeftToRight) {
  ComHost host;
  EXPECT_TRUE(host.AmbientUserMode());
  EXPECT_THROW(host.AmbientRightToLeft(), RuntimeError);  // so start-up keeps left-to-right
  EXPECT_THROW(host.ExtenderToolTipText(), RuntimeError);
  EXPECT_EQ(host.BaseWindowHandle(), 0u);
  EXPECT_EQ(host.BaseDeviceContext(), nullptr);
  EXPECT_EQ(host.ScaleWidth(), 0);
  EXPECT_TRUE(host.BaseEnabled());
}

TEST_F(AdaptersTest, HostAsksTheContainersAmbientProperties) {
  // A client site's ambient properties; RightToLeft -1 when the container does not know it.
  int rightToLeft = -1;
  TestDispatch ambients(
      [&](DISPID id, DISPPARAMS*, VARIANT* result) {
        if (id == DISPID_AMBIENT_USERMODE) {
          V_VT(result) = VT_BOOL;
          V_BOOL(result) = VARIANT_FALSE;
        } else if (id == DISPID_AMBIENT_RIGHTTOLEFT && rightToLeft >= 0) {
          V_VT(result) = VT_I4;  // any type that converts to a Boolean
          V_I4(result) = rightToLeft;
        } else {
          return DISP_E_MEMBERNOTFOUND;
        }
        return S_OK;
      },
      IID_IDispatch);
  ComHost host;
  host.SetAmbientDispatch(&ambients);
  EXPECT_FALSE(host.AmbientUserMode());
  EXPECT_THROW(host.AmbientRightToLeft(), RuntimeError);  // unknown to this container
  rightToLeft = 1;
  EXPECT_TRUE(host.AmbientRightToLeft());
  rightToLeft = 0;
  EXPECT_FALSE(host.AmbientRightToLeft());
}

TEST_F(AdaptersTest, HostMeasuresAndFormatsForTheCaption) {
  ComHost host;
  std::shared_ptr<ComFont> font = ComFont::CreateStandard();
  font->SetName(u"Tahoma");
  font->SetSize(20);
  host.SetBaseFont(font);
  const int one = host.TextWidth(u"M");
  EXPECT_GT(one, 0);
  EXPECT_EQ(host.TextWidth(u"MMMM"), 4 * one);
  EXPECT_EQ(host.TextWidth(u""), 0);
  // Twenty points are about 27 pixels at 96 dots per inch, whatever the text.
  EXPECT_GT(host.TextHeight(u"x"), 20);
  EXPECT_EQ(host.TextHeight(u"x"), host.TextHeight(u""));
  std::u16string text = u"left over";
  host.FormatNumber(42.4, u"#0", text);
  EXPECT_EQ(text, u"42");
  host.FormatNumber(12.5, u"0.00", text);
  EXPECT_EQ(text, u"12.50");
}

}  // namespace
}  // namespace vantiq::activex::testing
