#include <gtest/gtest.h>

#include <array>

#include "forms_runtime/application.h"
#include "forms_runtime/errors.h"
#include "forms_runtime/headless/headless_backend.h"

namespace kivo::forms {
namespace {

using headless::HeadlessBackend;
using headless::MakeBmp;

constexpr std::array kControls{
    ControlSpec{.kind = ControlKind::Timer, .name = "Ticker", .interval = 100},
    ControlSpec{.kind = ControlKind::Image, .name = "Picture", .width = 10, .height = 10},
    ControlSpec{.kind = ControlKind::Image, .name = "Framed", .border = true},
    ControlSpec{.kind = ControlKind::FileList, .name = "Files", .visible = false},
    ControlSpec{.kind = ControlKind::DriveList, .name = "Drives"},
    ControlSpec{.kind = ControlKind::DirList, .name = "Folders"},
    ControlSpec{.kind = ControlKind::Label, .name = "Name", .auto_size = true},
};
const FormSpec kTestLayout{.name = "frmTest",
                           .client_width = 3000,
                           .client_height = 2000,
                           .start_up_position = StartUpPosition::CenterScreen,
                           .controls = kControls};

// A form that records what its handlers saw.
class TestForm : public Form {
  public:
    explicit TestForm(Application& app) : Form(app, kTestLayout) {
        Ticker.on_timer = [this] { events.push_back("tick"); };
        Folders.on_change = [this] { events.push_back("folder " + Folders.Path.get()); };
        Drives.on_change = [this] { events.push_back("drive " + Drives.Drive.get()); };
    }

    Timer& Ticker = Find<Timer>("Ticker");
    Image& Picture = Find<Image>("Picture");
    Image& Framed = Find<Image>("Framed");
    FileList& Files = Find<FileList>("Files");
    DriveList& Drives = Find<DriveList>("Drives");
    DirList& Folders = Find<DirList>("Folders");
    Label& Name = Find<Label>("Name");
    std::vector<std::string> events;
    std::function<void()> on_load;
    std::function<void(std::int16_t&)> on_unload;

    void Form_Load() override {
        events.push_back(shown() ? "load after show" : "load");
        if (on_load) {
            on_load();
        }
    }
    void Form_Unload(std::int16_t& cancel) override {
        events.push_back("unload");
        if (on_unload) {
            on_unload(cancel);
        }
    }
};

class FormsRuntimeTest : public ::testing::Test {
  protected:
    HeadlessBackend backend;
    Application app{backend, "Title"};
};

TEST_F(FormsRuntimeTest, LoadRunsFormLoadBeforeShowAndCentresTheDesignSize) {
    TestForm& form = app.Load<TestForm>();
    EXPECT_EQ(form.events, std::vector<std::string>{"load"});
    EXPECT_FALSE(form.shown());
    EXPECT_EQ(form.Left.get(), (15360 - 3000) / 2);
    EXPECT_EQ(form.Top.get(), (11520 - 2000) / 2);
}

TEST_F(FormsRuntimeTest, IntervalZeroStopsTheTimer) {
    TestForm& form = app.Load<TestForm>();
    backend.Tick(app, form.Ticker);
    form.Ticker.Interval = 0;
    backend.Tick(app, form.Ticker);
    form.Ticker.Interval = 5;
    form.Ticker.Enabled = false;
    backend.Tick(app, form.Ticker);
    EXPECT_EQ(form.events, (std::vector<std::string>{"load", "tick"}));
}

TEST_F(FormsRuntimeTest, TicksDuringFormLoadAreDropped) {
    class Ticking : public TestForm {
      public:
        Ticking(Application& app, HeadlessBackend& backend) : TestForm(app), backend_(backend) {}
        void Form_Load() override { backend_.Tick(app(), Ticker); }
        HeadlessBackend& backend_;
    };
    Ticking& ticking = app.Load<Ticking>(backend);
    EXPECT_TRUE(ticking.events.empty());
    backend.Tick(app, ticking.Ticker);
    EXPECT_EQ(ticking.events, std::vector<std::string>{"tick"});
}

TEST_F(FormsRuntimeTest, UncaughtErrorShowsOneMessageAndEndsTheProgram) {
    TestForm* form = nullptr;
    app.Run([&] { form = &app.Load<TestForm>(); });
    form->Ticker.on_timer = [&] {
        form->Files.Path = "C:\\nowhere";
        form->events.push_back("after the error");
    };
    backend.Tick(app, form->Ticker);

    ASSERT_EQ(backend.message_boxes().size(), 1u);
    EXPECT_EQ(backend.message_boxes()[0].title, "Title");
    EXPECT_NE(backend.message_boxes()[0].prompt.find("C:\\nowhere"), std::string::npos);
    EXPECT_NE(backend.message_boxes()[0].prompt.find("フォルダが見つかりません"),
              std::string::npos);
    EXPECT_TRUE(backend.program_ended());
    EXPECT_EQ(form->events, std::vector<std::string>{"load"});

    backend.Tick(app, form->Ticker);
    EXPECT_EQ(backend.message_boxes().size(), 1u) << "no event runs after the end";
}

TEST_F(FormsRuntimeTest, ErrorInStartUpEndsBeforeAnyWindow) {
    app.Run([&] {
        app.Load<TestForm>();
        throw RuntimeError(ErrorKind::TypeMismatch, "x");
    });
    EXPECT_TRUE(app.ended());
    EXPECT_EQ(backend.message_boxes().size(), 1u);
}

TEST_F(FormsRuntimeTest, UnloadRunsFormUnloadAndMayBeCancelled) {
    TestForm& form = app.Load<TestForm>();
    std::int16_t answer = 1;
    form.on_unload = [&](std::int16_t& cancel) { cancel = answer; };
    backend.Close(app, form);
    EXPECT_TRUE(form.loaded());
    answer = 0;
    backend.Close(app, form);
    EXPECT_FALSE(app.AnyFormLoaded());
}

TEST_F(FormsRuntimeTest, ImageTakesItsPicturesNaturalSizeUnlessStretched) {
    backend.files().AddFile("C:\\p\\wide.bmp", MakeBmp(400, 300));
    TestForm& form = app.Load<TestForm>();
    form.Picture.Picture = backend.LoadPicture("C:\\p\\wide.bmp", {});
    EXPECT_EQ(form.Picture.Width.get(), 6000);
    EXPECT_EQ(form.Picture.Height.get(), 4500);

    form.Picture.Stretch = true;
    form.Picture.Width = 1000;
    form.Picture.Height = 500;
    EXPECT_EQ(form.Picture.Width.get(), 1000);
    form.Picture.Stretch = false;
    EXPECT_EQ(form.Picture.Width.get(), 6000) << "switching stretch off restores the size";

    form.Framed.Picture = backend.LoadResourcePicture("BANNER");
    EXPECT_EQ(form.Framed.Width.get(), 258 * 15) << "two pixels of border on each side";
    EXPECT_EQ(form.Framed.Height.get(), 28 * 15);
}

TEST_F(FormsRuntimeTest, PicturesThatCannotLoadRaiseErrors) {
    backend.files().AddFile("C:\\p\\notes.txt", "hello");
    EXPECT_THROW(backend.LoadPicture("C:\\p\\notes.txt", {}), RuntimeError);
    EXPECT_THROW(backend.LoadPicture("C:\\p\\gone.bmp", {}), RuntimeError);
}

TEST_F(FormsRuntimeTest, FileListSkipsHiddenSystemAndFoldersAndSortsWithoutCase) {
    auto& files = backend.files();
    files.AddFile("C:\\p\\b.jpg");
    files.AddFile("C:\\p\\A.png");
    files.AddFile("C:\\p\\c.txt");
    files.AddFile("C:\\p\\Thumbs.db", {}, true, true);
    files.AddFile("C:\\p\\desktop.ini", {}, true, false);
    files.AddFile("C:\\p\\sys.bin", {}, false, true);
    files.AddFolder("C:\\p\\sub");
    TestForm& form = app.Load<TestForm>();

    form.Files.Path = "C:\\p\\";
    EXPECT_EQ(form.Files.Path.get(), "C:\\p");
    ASSERT_EQ(form.Files.ListCount(), 3);
    EXPECT_EQ(form.Files.List(0), "A.png");
    EXPECT_EQ(form.Files.List(1), "b.jpg");
    EXPECT_EQ(form.Files.List(2), "c.txt");
    EXPECT_EQ(form.Files.List(3), "");
    EXPECT_EQ(form.Files.List(-1), "");

    files.AddFile("C:\\p\\later.jpg");
    EXPECT_EQ(form.Files.ListCount(), 3) << "the folder is read once, when the path is set";
    EXPECT_THROW(form.Files.Path = "C:\\missing", RuntimeError);
    EXPECT_EQ(form.Files.ListCount(), 3) << "a failed assignment keeps the list";
}

TEST_F(FormsRuntimeTest, FolderListRaisesChangeOnlyForAnotherFolder) {
    backend.files().AddFolder("C:\\Photos\\2024");
    backend.files().AddFolder("C:\\Photos\\2023");
    TestForm& form = app.Load<TestForm>();

    form.Folders.Path = "c:\\photos\\";
    form.Folders.Path = "C:\\Photos";
    ASSERT_EQ(form.events.size(), 2u);
    EXPECT_EQ(form.events[1], "folder C:\\photos");

    const auto& entries = form.Folders.entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].path, "C:\\");
    EXPECT_TRUE(entries[1].is_open);
    EXPECT_EQ(entries[2].label, "2023");
    EXPECT_EQ(entries[3].path, "C:\\photos\\2024");

    EXPECT_THROW(form.Folders.Path = "C:\\Photos\\1999", RuntimeError);
    EXPECT_EQ(form.Folders.Path.get(), "C:\\photos");
}

TEST_F(FormsRuntimeTest, DriveListSelectsByFirstLetterAndRefusesDrivesWithoutMedium) {
    backend.files().AddDrive("D:\\", "DATA");
    backend.files().AddDrive("E:\\", "", false);
    TestForm& form = app.Load<TestForm>();
    EXPECT_EQ(form.Drives.Drive.get(), "C:\\") << "the executable's drive";

    form.Drives.Drive = "d:\\photos";
    EXPECT_EQ(form.Drives.Drive.get(), "D:\\");
    EXPECT_EQ(form.events.back(), "drive D:\\");
    EXPECT_EQ(DriveList::DisplayText(form.Drives.drives()[1]), "d: [DATA]");

    try {
        form.Drives.Drive = "E:\\";
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::DeviceUnavailable);
    }
    EXPECT_EQ(form.Drives.Drive.get(), "D:\\");
    EXPECT_THROW(form.Drives.Drive = "Q:", RuntimeError);
}

TEST_F(FormsRuntimeTest, AutoSizedLabelFollowsItsText) {
    TestForm& form = app.Load<TestForm>();
    form.Name.Caption = "ab壁";
    EXPECT_EQ(form.Name.Width.get(), 90 + 90 + 180);
    EXPECT_EQ(form.Name.Height.get(), 180);
}

TEST_F(FormsRuntimeTest, ResumeNextSkipsFailingStepsButNotTheEnd) {
    std::vector<int> ran;
    ResumeNext steps;
    steps([&] { ran.push_back(1); })([&] { throw RuntimeError(ErrorKind::InvalidPicture, "x"); })(
        [&] { ran.push_back(3); });
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    EXPECT_EQ(steps.failures().size(), 1u);

    EXPECT_THROW(ResumeNext()([] { throw ProgramEnded{}; }), ProgramEnded);
}

}  // namespace
}  // namespace kivo::forms
