#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <functional>

#include "forms_runtime/application.h"
#include "forms_runtime/basics/command_line.h"
#include "forms_runtime/basics/conversions.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/headless/headless_backend.h"
#include "forms_runtime/resume_next.h"

namespace kivo::forms {
namespace {

const NumberFormat kDot{};
const NumberFormat kComma{",", "."};

template <typename Action>
void ExpectError(ErrorKind kind, const std::string& named, Action action) {
    try {
        action();
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), kind);
        EXPECT_NE(std::string(error.what()).find(named), std::string::npos) << error.what();
    }
}

TEST(ConversionsTest, IntegersRoundHalvesToEvenAndOverflowOutsideTheirRange) {
    const std::vector<std::pair<double, int>> integers = {
        {2.5, 2},       {3.5, 4},         {-2.5, -2},        {101.5, 102},
        {2.5000001, 3}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, expected] : integers) {
        EXPECT_EQ(CInt(value), expected) << value;
        EXPECT_EQ(CLng(value), expected) << value;
    }
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    for (const double value : {32767.5, -32769.0}) {
        ExpectError(ErrorKind::Overflow, "", [&] { CInt(value); });
    }
    for (const double value : {2147483647.5, 1e300, std::nan("")}) {
        ExpectError(ErrorKind::Overflow, "", [&] { CLng(value); });
    }
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(Int(-2.1), -3);
}

TEST(ConversionsTest, NumbersAndBooleansFromTextFollowTheLocale) {
    for (const char* text : {"3", " 2.5 ", "-5", "+0.001", "1,000", "1e3", "2.50", ".5"}) {
        EXPECT_TRUE(IsNumeric(text, kDot)) << text;
    }
    for (const char* text : {"", " ", "abc", ".", "1.2.3", "1e", "--1", "3 秒", "0x10"}) {
        EXPECT_FALSE(IsNumeric(text, kDot)) << text;
    }
    EXPECT_TRUE(IsNumeric("2,5", kComma));
    EXPECT_EQ(CDbl("1.000,5", kComma), 1000.5);
    ExpectError(ErrorKind::TypeMismatch, "abc", [] { CDbl("abc", kDot); });

    const std::vector<std::pair<const char*, bool>> booleans = {
        {"True", true}, {"true", true}, {"FALSE", false}, {"1", true},
        {"-1", true},   {"0.5", true},  {"0", false}};
    for (const auto& [text, expected] : booleans) {
        EXPECT_EQ(CBool(text, kDot), expected) << text;
    }
    for (const char* text : {"yes", ""}) {
        ExpectError(ErrorKind::TypeMismatch, text, [&] { CBool(text, kDot); });
    }
}

TEST(TextTest, ArgumentTextDropsTheProgramNameAndTheBlanksAfterIt) {
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> lines = {
        {L"Kivo.scr /s", L"/s"},
        {L"\"C:\\Program Files\\Kivo.scr\"   /p 1234", L"/p 1234"},
        {L"\"C:\\a b\\Kivo.scr\"/s", L"/s"},
        {L"Kivo.scr \"two  words\" x", L"\"two  words\" x"},
        {L"\"Kivo.scr\"   ", L""},
        {L"\"unterminated quote /s", L""}};
    for (const auto& [line, arguments] : lines) {
        EXPECT_EQ(ArgumentText(line), arguments);
    }
}

using headless::HeadlessBackend;

constexpr std::array kControls{
    ControlSpec{.kind = ControlKind::Timer, .name = "Ticker", .interval = 100},
    ControlSpec{.kind = ControlKind::Image, .name = "Framed", .border = true},
    ControlSpec{.kind = ControlKind::FileList, .name = "Files"},
};
const FormSpec kTestLayout{.name = "frmTest",
                           .client_width = 3000,
                           .client_height = 2000,
                           .start_up_position = StartUpPosition::CenterScreen,
                           .controls = kControls};

// A form whose loading runs what the test gives it, and whose timer's ticks it records.
class TestForm : public Form {
  public:
    using Loading = std::function<void(TestForm&)>;
    explicit TestForm(
        Application& app, Loading load = [](TestForm&) {})
        : Form(app, kTestLayout), load_(std::move(load)) {
        Ticker.on_timer = [this] { events.push_back("tick"); };
    }

    Timer& Ticker = Find<Timer>("Ticker");
    Image& Framed = Find<Image>("Framed");
    FileList& Files = Find<FileList>("Files");
    std::vector<std::string> events;

    void Form_Load() override { load_(*this); }

  private:
    Loading load_;
};

class FormsRuntimeTest : public ::testing::Test {
  protected:
    HeadlessBackend backend;
    Application app{backend, "Title"};
};

TEST_F(FormsRuntimeTest, LoadCentresTheDesignSizeAndTimersTickOnlyLoadedEnabledWithAnInterval) {
    TestForm& form = app.Load<TestForm>([&](TestForm& loading) {
        loading.events.push_back("load");
        backend.Tick(app, loading.Ticker);  // no tick while loading
    });
    EXPECT_FALSE(form.shown());
    EXPECT_EQ(form.Left.get(), (15360 - 3000) / 2);
    EXPECT_EQ(form.Top.get(), (11520 - 2000) / 2);
    backend.Tick(app, form.Ticker);
    form.Ticker.Interval = 0;
    backend.Tick(app, form.Ticker);
    form.Ticker.Interval = 5;
    form.Ticker.Enabled = false;
    backend.Tick(app, form.Ticker);
    EXPECT_EQ(form.events, (std::vector<std::string>{"load", "tick"}));
}

TEST_F(FormsRuntimeTest, UncaughtErrorShowsOneMessageAndEndsTheProgram) {
    TestForm* form = nullptr;
    app.Run([&] { form = &app.Load<TestForm>(); });
    form->Ticker.on_timer = [] { throw RuntimeError(ErrorKind::PathNotFound, "C:\\nowhere"); };
    backend.Tick(app, form->Ticker);
    ASSERT_EQ(backend.message_boxes().size(), 1u);
    EXPECT_EQ(backend.message_boxes()[0].title, "Title");
    for (const char* named : {"フォルダが見つかりません", "C:\\nowhere"}) {
        EXPECT_NE(backend.message_boxes()[0].prompt.find(named), std::string::npos) << named;
    }
    EXPECT_TRUE(backend.program_ended());
    backend.Tick(app, form->Ticker);
    EXPECT_EQ(backend.message_boxes().size(), 1u) << "no event runs after the end";
}

// The file system's quick answers may hold a loading form back a quarter second in all, on the
// backend's clock; a form loaded within that load takes part of the same quarter second.
TEST_F(FormsRuntimeTest, QuickQuestionsShareAQuarterSecondOfTheLoadANestedLoadIncluded) {
    using std::chrono::milliseconds;
    std::vector<bool> answered;
    const auto ask = [&] { answered.push_back(app.AskBriefly([] {})); };
    app.Load<TestForm>([&](TestForm&) {
        ask();
        backend.background().Step(milliseconds(200));
        app.Load<TestForm>([&](TestForm&) { ask(); });
        ask();  // after the nested load, the outer one's time is left
        backend.background().Step(milliseconds(50));
        ask();
    });
    ask();  // no form loads
    EXPECT_EQ(answered, (std::vector<bool>{true, true, true, false, false}));
}

// A form unloaded while its list is read: the reading, failed here, touches nothing and says
// nothing, whether it arrives before the form is freed or after.
TEST(FormsRuntimeReadingTest, AReadingForAnUnloadedFormIsDropped) {
    for (const bool freed : {false, true}) {
        SCOPED_TRACE(freed ? "after the form is freed" : "within the unloading event");
        HeadlessBackend backend;
        Application app{backend, "Title"};
        app.Load<TestForm>();  // keeps the program running
        TestForm& goes = app.Load<TestForm>();
        backend.background().Hold(false);  // the folder is found missing late
        app.RaiseEvent([&] {
            goes.Files.Path = "C:\\gone";
            app.Unload(goes);
            if (!freed) {
                backend.background().Release();
            }
        });
        backend.background().Release();
        EXPECT_TRUE(backend.message_boxes().empty());
        EXPECT_FALSE(backend.program_ended());
    }
}

TEST_F(FormsRuntimeTest, ImageTakesItsPicturesSizePlusBorderUnlessStretched) {
    TestForm& form = app.Load<TestForm>();
    form.Framed.Picture = backend.LoadResourcePicture("BANNER");  // 254 x 24 pixels
    EXPECT_EQ(form.Framed.Width.get(), 258 * 15) << "two pixels of border on each side";
    EXPECT_EQ(form.Framed.Height.get(), 28 * 15);
    form.Framed.Stretch = true;
    form.Framed.Width = 1000;
    EXPECT_EQ(form.Framed.Width.get(), 1000);
    form.Framed.Stretch = false;
    EXPECT_EQ(form.Framed.Width.get(), 258 * 15) << "switching stretch off restores the size";
}

// A failing step is skipped (the slide show's test of a non-picture sees that); the end is not.
TEST(ResumeNextTest, NeverAbsorbsTheEnd) {
    EXPECT_THROW(ResumeNext()([] { throw ProgramEnded{}; }), ProgramEnded);
}

}  // namespace
}  // namespace kivo::forms
