// Nothing lost: seeded random states of every saved property, fonts and pictures
// included, saved and loaded again through a property bag and through a stream, and
// streams saved by the other architecture's build (committed in data/) loaded here.
#include <olectl.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <tuple>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

struct FontState {
  std::wstring name;
  std::int64_t size = 0;  // CY units
  BOOL bold = FALSE, italic = FALSE, underline = FALSE, strike = FALSE;
  SHORT weight = 0, charset = 0;
  auto Tie() const { return std::tie(name, bold, italic, underline, strike, weight, charset); }
  // Wine's font reports the size of the face it realized (whole pixels of 3/4 point at
  // 96 dpi), and that same size realized again may land on the next pixel: within one.
  bool operator==(const FontState& o) const {
    return Tie() == o.Tie() && (size > o.size ? size - o.size : o.size - size) <= 7500;
  }
};

struct PictureState {
  bool present = false;
  SHORT type = 0;
  int width = 0, height = 0;
  std::vector<DWORD> pixels;  // 0x00RRGGBB, top row first
  auto Tie() const { return std::tie(present, type, width, height, pixels); }
  bool operator==(const PictureState& o) const { return Tie() == o.Tie(); }
};

// What a control reads back of every key it saves.
struct State {
  OLE_COLOR backColor = 0, foreColor = 0, alternateForeColor = 0, progressColor = 0,
            segmentBorderColor = 0, shadowColor = 0, alternateShadowColor = 0;
  std::wstring caption, searchCaption, percentFormat;
  VARIANT_BOOL captionCallBack = 0, rightToLeft = 0, segmentBorders = 0, shadow = 0, showCaption = 0;
  double max = 0, min = 0, value = 0;
  LONG orientation = 0, scrolling = 0, style = 0, textAlignment = 0, shadowIntensity = 0;
  FontState font;
  PictureState progressPicture, backgroundPicture;
  auto Tie() const {
    return std::tie(backColor, foreColor, alternateForeColor, progressColor, segmentBorderColor,
                    shadowColor, alternateShadowColor, caption, searchCaption, percentFormat,
                    captionCallBack, rightToLeft, segmentBorders, shadow, showCaption, max, min, value,
                    orientation, scrolling, style, textAlignment, shadowIntensity, font,
                    progressPicture, backgroundPicture);
  }
  bool operator==(const State& o) const { return Tie() == o.Tie(); }
};

std::wstring Text(BSTR text) { return std::wstring(text ? text : L"", SysStringLen(text)); }

PictureState ReadPicture(IPictureDisp* disp) {
  PictureState state;
  ComPtr<IPicture> picture;
  if (!disp || FAILED(disp->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.Put()))))
    return state;
  state.present = true;
  picture->get_Type(&state.type);
  OLE_HANDLE handle = 0;
  picture->get_Handle(&handle);
  BITMAP bitmap{};
  if (state.type != PICTYPE_BITMAP ||
      !GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap))
    return state;
  state.width = bitmap.bmWidth;
  state.height = bitmap.bmHeight;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB};
  state.pixels.resize(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), 0, bitmap.bmHeight,
            state.pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (DWORD& p : state.pixels) p &= 0xFFFFFF;
  return state;
}

State Read(_Vantiq* c) {
  State s;
  BSTR text = nullptr;
  c->get_BackColor(&s.backColor);
  c->get_ForeColor(&s.foreColor);
  c->get_AlternateForeColor(&s.alternateForeColor);
  c->get_ProgressColor(&s.progressColor);
  c->get_SegmentBorderColor(&s.segmentBorderColor);
  c->get_ShadowColor(&s.shadowColor);
  c->get_AlternateShadowColor(&s.alternateShadowColor);
  c->get_Caption(&text), s.caption = Text(text), SysFreeString(text);
  c->get_SearchCaption(&text), s.searchCaption = Text(text), SysFreeString(text);
  c->get_PercentFormat(&text), s.percentFormat = Text(text), SysFreeString(text);
  c->get_CaptionCallBack(&s.captionCallBack);
  c->get_RightToLeft(&s.rightToLeft);
  c->get_SegmentBorders(&s.segmentBorders);
  c->get_Shadow(&s.shadow);
  c->get_ShowCaption(&s.showCaption);
  c->get_Max(&s.max);
  c->get_Min(&s.min);
  c->get_value(&s.value);
  ::eProgressBarOrientation orientation{};
  ::eProgressBarScroll scrolling{};
  ::eProgressBarStyle style{};
  ::eProgressBarTextAlign alignment{};
  c->get_Orientation(&orientation);
  c->get_Scrolling(&scrolling);
  c->get_style(&style);
  c->get_TextAlignment(&alignment);
  s.orientation = orientation, s.scrolling = scrolling, s.style = style, s.textAlignment = alignment;
  c->get_ShadowIntensity(&s.shadowIntensity);
  ComPtr<IFontDisp> fontDisp;
  ComPtr<IFont> font;
  if (SUCCEEDED(c->get_Font(fontDisp.Put())) && fontDisp &&
      SUCCEEDED(fontDisp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put())))) {
    // Realized first, as drawing would: the system may then report the size it chose.
    HFONT realized = nullptr;
    font->get_hFont(&realized);
    font->get_Name(&text), s.font.name = Text(text), SysFreeString(text);
    CY size{};
    font->get_Size(&size);
    s.font.size = size.int64;
    font->get_Bold(&s.font.bold);
    font->get_Italic(&s.font.italic);
    font->get_Underline(&s.font.underline);
    font->get_Strikethrough(&s.font.strike);
    font->get_Weight(&s.font.weight);
    font->get_Charset(&s.font.charset);
  }
  ComPtr<IPictureDisp> picture;
  c->get_ProgressPicture(picture.Put());
  s.progressPicture = ReadPicture(picture.Get());
  c->get_BackgroundPicture(picture.Put());
  s.backgroundPicture = ReadPicture(picture.Get());
  return s;
}

std::string Describe(const State& a, const State& b) {
  std::ostringstream out;
  const auto field = [&](const char* name, auto x, auto y) {
    if (!(x == y)) out << name << " differs; ";
  };
  field("BackColor", a.backColor, b.backColor);
  field("ForeColor", a.foreColor, b.foreColor);
  field("AlternateForeColor", a.alternateForeColor, b.alternateForeColor);
  field("ProgressColor", a.progressColor, b.progressColor);
  field("SegmentBorderColor", a.segmentBorderColor, b.segmentBorderColor);
  field("ShadowColor", a.shadowColor, b.shadowColor);
  field("AlternateShadowColor", a.alternateShadowColor, b.alternateShadowColor);
  field("Caption", a.caption, b.caption);
  field("SearchCaption", a.searchCaption, b.searchCaption);
  field("PercentFormat", a.percentFormat, b.percentFormat);
  field("CaptionCallBack", a.captionCallBack, b.captionCallBack);
  field("RightToLeft", a.rightToLeft, b.rightToLeft);
  field("SegmentBorders", a.segmentBorders, b.segmentBorders);
  field("Shadow", a.shadow, b.shadow);
  field("ShowCaption", a.showCaption, b.showCaption);
  if (!(a.max == b.max)) out << "Max " << a.max << " vs " << b.max << "; ";
  if (!(a.min == b.min)) out << "Min " << a.min << " vs " << b.min << "; ";
  if (!(a.value == b.value)) out << "Value " << a.value << " vs " << b.value << "; ";
  field("Orientation", a.orientation, b.orientation);
  field("Scrolling", a.scrolling, b.scrolling);
  field("Style", a.style, b.style);
  field("TextAlignment", a.textAlignment, b.textAlignment);
  field("ShadowIntensity", a.shadowIntensity, b.shadowIntensity);
  if (!(a.font == b.font))
    out << "Font " << std::string(a.font.name.begin(), a.font.name.end()) << "/" << a.font.size << "/"
        << a.font.weight << " vs " << std::string(b.font.name.begin(), b.font.name.end()) << "/"
        << b.font.size << "/" << b.font.weight << "; ";
  field("ProgressPicture", a.progressPicture, b.progressPicture);
  field("BackgroundPicture", a.backgroundPicture, b.backgroundPicture);
  return out.str();
}

// Draws values from a seed the same way on every system (std::mt19937 is exact; the
// standard's distributions are not).
class Draw {
 public:
  explicit Draw(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t Bits() { return engine_(); }
  std::uint32_t Below(std::uint32_t n) { return Bits() % n; }
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }
  OLE_COLOR Color() {
    return OneIn(3) ? 0x80000000u + Below(31) : Bits() & 0xFFFFFFu;
  }
  double Number() {
    switch (Below(6)) {
      case 0: return static_cast<double>(static_cast<std::int32_t>(Bits()));
      case 1: return (static_cast<std::int32_t>(Bits()) / 65536.0) * 1e300;
      case 2: return static_cast<std::int32_t>(Bits()) / 4294967296.0;
      case 3: return 0.1 * Below(1000);
      default: return static_cast<double>(Below(200)) - 50;
    }
  }
  LONG Enumeration(LONG members) {
    return OneIn(4) ? static_cast<LONG>(Bits()) : static_cast<LONG>(Below(members));
  }
  std::wstring Words() {
    std::wstring text;
    const std::uint32_t length = OneIn(4) ? 0 : OneIn(20) ? 2000 + Below(3000) : Below(40);
    static const wchar_t kChars[] = L"abc XYZ%#0.,;\"'<>&\t\r\n\x00e9\x4e2d\x0627\xfeff";
    for (std::uint32_t i = 0; i < length; ++i) {
      if (OneIn(50)) {
        text += L"\xd83d\xde00";  // a character outside the basic plane
      } else if (OneIn(200)) {
        text += L'\0';
      } else {
        text += kChars[Below(static_cast<std::uint32_t>(std::size(kChars) - 1))];
      }
    }
    return text;
  }

 private:
  std::mt19937 engine_;
};

// A bitmap picture of its own size and pixels.
ComPtr<IPictureDisp> RandomPicture(Draw& draw) {
  const int width = 1 + static_cast<int>(draw.Below(24)), height = 1 + static_cast<int>(draw.Below(24));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return {};
  for (int i = 0; i < width * height; ++i) static_cast<DWORD*>(bits)[i] = draw.Bits() & 0xFFFFFF;
  return NewPicture(bitmap);
}

// Puts state number `seed` into a new control through its setters.
void Apply(_Vantiq* c, std::uint32_t seed) {
  Draw d(seed * 2654435761u + 1);
  c->put_BackColor(d.Color());
  c->put_ForeColor(d.Color());
  c->put_AlternateForeColor(d.Color());
  c->put_ProgressColor(d.Color());
  c->put_SegmentBorderColor(d.Color());
  c->put_ShadowColor(d.Color());
  c->put_AlternateShadowColor(d.Color());
  const auto text = [&](HRESULT (STDMETHODCALLTYPE _Vantiq::*put)(BSTR)) {
    const std::wstring words = d.Words();
    BSTR b = SysAllocStringLen(words.data(), static_cast<UINT>(words.size()));
    (c->*put)(b);
    SysFreeString(b);
  };
  text(&_Vantiq::put_Caption);
  text(&_Vantiq::put_SearchCaption);
  text(&_Vantiq::put_PercentFormat);
  const auto flag = [&] { return d.OneIn(2) ? VARIANT_TRUE : VARIANT_FALSE; };
  c->put_CaptionCallBack(flag());
  c->put_RightToLeft(flag());
  c->put_SegmentBorders(flag());
  c->put_Shadow(flag());
  c->put_ShowCaption(flag());
  c->put_Max(d.Number());
  c->put_Min(d.Number());
  c->put_value(d.Number());
  c->put_Orientation(static_cast<::eProgressBarOrientation>(d.Enumeration(2)));
  c->put_Scrolling(static_cast<::eProgressBarScroll>(d.Enumeration(3)));
  c->put_style(static_cast<::eProgressBarStyle>(d.Enumeration(5)));
  c->put_TextAlignment(static_cast<::eProgressBarTextAlign>(d.Enumeration(3)));
  c->put_ShadowIntensity(d.OneIn(3) ? static_cast<LONG>(d.Bits()) : static_cast<LONG>(d.Below(256)));
  if (d.OneIn(3)) {
    ComPtr<IFontDisp> fontDisp;
    ComPtr<IFont> font;
    if (SUCCEEDED(c->get_Font(fontDisp.Put())) &&
        SUCCEEDED(fontDisp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put())))) {
      static const wchar_t* const kNames[] = {L"Arial", L"Courier New", L"Times New Roman",
                                              L"Tahoma", L"No Such Font", L"Symbol"};
      BSTR name = SysAllocString(kNames[d.Below(6)]);
      font->put_Name(name);
      SysFreeString(name);
      // A face the system does not have reads back as the one it chose; the size it
      // reports is that face's, so the state names the face itself.
      name = nullptr;
      if (SUCCEEDED(font->get_Name(&name))) font->put_Name(name);
      SysFreeString(name);
      CY size{};
      size.int64 = 10000 * (1 + d.Below(72)) + 2500 * d.Below(4);
      font->put_Size(size);
      font->put_Bold(d.OneIn(2));
      font->put_Italic(d.OneIn(2));
      font->put_Underline(d.OneIn(2));
      font->put_Strikethrough(d.OneIn(2));
      if (d.OneIn(2)) font->put_Weight(static_cast<SHORT>(100 * (1 + d.Below(9))));
      if (d.OneIn(3)) font->put_Charset(static_cast<SHORT>(d.OneIn(2) ? DEFAULT_CHARSET : ANSI_CHARSET));
    }
  }
  if (d.OneIn(12)) c->putref_ProgressPicture(RandomPicture(d).Get());
  if (d.OneIn(12)) c->putref_BackgroundPicture(RandomPicture(d).Get());
}

// What loading gives back of a saved state. A load stores Max, Min and then Value through
// their setters, so a value saved outside its range comes back as the setters of
// `control` make it (the last write of Value depends on nothing else).
State Loaded(State saved, _Vantiq* control) {
  control->put_Max(saved.max);
  control->put_Min(saved.min);
  control->put_value(saved.value);
  control->get_value(&saved.value);
  return saved;
}

std::vector<std::uint8_t> SaveStream(_Vantiq* c) {
  auto persist = ComPtr<IUnknown>(c).As<IPersistStreamInit>(IID_IPersistStreamInit);
  auto stream = container::NewStream();
  if (!persist || FAILED(persist->Save(stream.Get(), TRUE))) return {};
  return container::StreamBytes(stream.Get());
}

HRESULT LoadStream(_Vantiq* c, const std::vector<std::uint8_t>& bytes) {
  auto persist = ComPtr<IUnknown>(c).As<IPersistStreamInit>(IID_IPersistStreamInit);
  auto stream = container::NewStream(bytes);
  return persist ? persist->Load(stream.Get()) : E_NOINTERFACE;
}

class RoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(OleInitialize(nullptr)); }
  void TearDown() override { OleUninitialize(); }
};

TEST_F(RoundTripTest, TenThousandRandomStatesThroughBagsAndStreams) {
  int fonts = 0, pictures = 0, failures = 0;
  ComPtr<_Vantiq> setters = NewControl();
  for (std::uint32_t seed = 0; seed < 10000 && failures < 5; ++seed) {
    ComPtr<_Vantiq> original = NewControl();
    ASSERT_TRUE(original);
    Apply(original.Get(), seed);
    const State expected = Loaded(Read(original.Get()), setters.Get());
    fonts += expected.font.name != L"Tahoma";
    pictures += expected.progressPicture.present + expected.backgroundPicture.present;

    // Every key written, defaults too, and only those that differ: both must load back.
    for (bool saveAll : {true, false}) {
      auto bag = container::PropertyBag::Create();
      auto save = ComPtr<IUnknown>(original.Get()).As<IPersistPropertyBag>(IID_IPersistPropertyBag);
      ASSERT_EQ(save->Save(bag.Get(), TRUE, saveAll), S_OK);
      ComPtr<_Vantiq> loaded = NewControl();
      auto load = ComPtr<IUnknown>(loaded.Get()).As<IPersistPropertyBag>(IID_IPersistPropertyBag);
      EXPECT_EQ(load->Load(bag.Get(), nullptr), S_OK);
      const State got = Read(loaded.Get());
      if (!(got == expected)) {
        ++failures;
        ADD_FAILURE() << "state " << seed << " through a bag (saveAll " << saveAll
                      << "): " << Describe(expected, got);
      }
    }
    const std::vector<std::uint8_t> bytes = SaveStream(original.Get());
    ASSERT_FALSE(bytes.empty());
    ComPtr<_Vantiq> loaded = NewControl();
    EXPECT_EQ(LoadStream(loaded.Get(), bytes), S_OK);
    const State got = Read(loaded.Get());
    if (!(got == expected)) {
      ++failures;
      ADD_FAILURE() << "state " << seed << " through a stream: " << Describe(expected, got);
    }
  }
  // The seeds reach the font and both pictures often enough to mean something.
  EXPECT_GT(fonts, 2000);
  EXPECT_GT(pictures, 1000);
}

// Streams saved by each architecture's build, for the same states. With
// VANTIQ_WRITE_STREAMS set to a folder, this build writes its own file there.
constexpr std::uint32_t kSharedStates = 40;

#ifdef _WIN64
constexpr const char* kThisArch = "win64";
#else
constexpr const char* kThisArch = "win32";
#endif

std::wstring DataFile(const std::string& folder, const std::string& arch) {
  std::wstring path;
  for (char ch : folder + "/round_trip_" + arch + ".bin") path.push_back(ch == '/' ? L'\\' : ch);
  return path;
}

std::vector<std::vector<std::uint8_t>> ReadStreams(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::vector<std::uint8_t> all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::vector<std::uint8_t>> streams;
  for (std::size_t at = 0; at + 4 <= all.size();) {
    const std::uint32_t n = all[at] | all[at + 1] << 8 | all[at + 2] << 16 | static_cast<std::uint32_t>(all[at + 3]) << 24;
    at += 4;
    if (n > all.size() - at) break;
    streams.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(at), all.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  }
  return streams;
}

TEST_F(RoundTripTest, StreamsSavedByEitherArchitectureLoad) {
  if (const char* folder = std::getenv("VANTIQ_WRITE_STREAMS")) {
    std::ofstream out(DataFile(folder, kThisArch).c_str(), std::ios::binary);
    for (std::uint32_t seed = 0; seed < kSharedStates; ++seed) {
      ComPtr<_Vantiq> c = NewControl();
      Apply(c.Get(), 100000 + seed);
      const std::vector<std::uint8_t> bytes = SaveStream(c.Get());
      const std::uint32_t n = static_cast<std::uint32_t>(bytes.size());
      const char size[4] = {char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
      out.write(size, 4);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(n));
    }
  }
  for (const char* arch : {"win32", "win64"}) {
    SCOPED_TRACE(std::string("saved by ") + arch);
    const auto streams = ReadStreams(DataFile(VANTIQ_DATA_DIR, arch));
    ASSERT_EQ(streams.size(), kSharedStates);
    int pictures = 0;
    ComPtr<_Vantiq> setters = NewControl();
    for (std::uint32_t seed = 0; seed < kSharedStates; ++seed) {
      ComPtr<_Vantiq> original = NewControl();
      Apply(original.Get(), 100000 + seed);
      const State expected = Loaded(Read(original.Get()), setters.Get());
      pictures += expected.progressPicture.present + expected.backgroundPicture.present;
      ComPtr<_Vantiq> loaded = NewControl();
      EXPECT_EQ(LoadStream(loaded.Get(), streams[seed]), S_OK);
      const State got = Read(loaded.Get());
      EXPECT_TRUE(got == expected) << "state " << seed << ": " << Describe(expected, got);
    }
    EXPECT_GT(pictures, 0);
  }
}

}  // namespace
}  // namespace vantiq::activex::testing
