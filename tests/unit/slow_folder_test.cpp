// A picture folder that is slow to answer: both windows come at once and take their lists when
// the readings arrive; a reading that a newer one replaced is dropped.
#include <gtest/gtest.h>

#include <memory>

#include "saver_window/frmScreenSaver.h"
#include "settings_dialog/frmSetting.h"
#include "tests/unit/saver_harness.h"
#include "tests/unit/scripted_random.h"

namespace kivo::testing {
namespace {

using forms::headless::HeadlessBackend;
using forms::headless::MakeBmp;
using saver_window::frmScreenSaver;
using settings_dialog::frmSetting;

TEST(SlowFolderTest, TheShowCoversTheScreenAtOnceAndItsFirstTickAfterTheListingShowsAPicture) {
    SaverHarness saver;
    saver.backend.files().AddFolder("C:\\Pics");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        saver.backend.files().AddFile(std::string("C:\\Pics\\") + name, MakeBmp(8, 8));
    }
    saver.Store(settings::kFolderKey, "C:\\Pics");
    saver.backend.HoldReadings();
    frmScreenSaver& form = saver.Open<frmScreenSaver>("/s");
    EXPECT_TRUE(form.shown());
    EXPECT_TRUE(saver.system.Called("SetScreenSaverRunning 1"));
    saver.app.SetRandomSource(std::make_unique<ScriptedRandom>(std::vector<float>{0.0f, 0.7f}));

    saver.backend.Tick(saver.app, form.Timer);  // before the listing: an empty folder's tick
    EXPECT_EQ(form.Label.Caption.get(), "");
    EXPECT_EQ(saver.backend.pictures_loaded(), 0);
    EXPECT_FALSE(static_cast<bool>(form.Imager.Picture.get()));

    saver.backend.ReleaseReadings();
    saver.backend.Tick(saver.app, form.Timer);
    EXPECT_EQ(form.Label.Caption.get(), "c.bmp");
    EXPECT_EQ(saver.backend.loaded_picture_paths(), std::vector<std::string>{"C:\\Pics\\c.bmp"});
    EXPECT_TRUE(saver.backend.message_boxes().empty());
}

// Whether the system says so at once, or only when the reading fails, a missing folder ends the
// show with one message that names the setting and its value.
TEST(SlowFolderTest, AFolderFoundMissingLateEndsTheShowWithTheSameMessage) {
    std::vector<std::string> prompts;
    for (const bool slow : {false, true}) {
        SCOPED_TRACE(slow ? "slow" : "quick");
        SaverHarness saver;
        saver.Store(settings::kFolderKey, "C:\\gone");
        if (slow) {
            saver.backend.HoldReadings(false);
        }
        saver.Start("/s");
        const frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
        EXPECT_EQ(form != nullptr && form->shown(), slow) << "shown only when no answer came";
        EXPECT_EQ(saver.backend.program_ended(), !slow);
        saver.backend.ReleaseReadings();
        ASSERT_EQ(saver.backend.message_boxes().size(), 1u);
        prompts.push_back(saver.backend.message_boxes()[0].prompt);
        EXPECT_TRUE(saver.backend.program_ended());
    }
    EXPECT_EQ(prompts[0], prompts[1]);
    EXPECT_NE(prompts[0].find("パス"), std::string::npos) << prompts[0];
}

// The dialog on a slow drive C, with a drive D and a drive E without medium.
struct SlowDialog : SaverHarness {
    SlowDialog() {
        backend.files().AddFile("C:\\Kivo\\sample\\sea.bmp", MakeBmp(40, 30));
        backend.files().AddFile("C:\\Kivo\\sample\\sky.bmp", MakeBmp(20, 10));
        backend.files().AddFolder("C:\\Kivo\\sample\\old");
        backend.files().AddFile("C:\\Photos\\cat.bmp", MakeBmp(20, 20));
        backend.files().AddFolder("C:\\Photos\\2024");
        backend.files().AddDrive("D:\\", "DATA");
        backend.files().AddFolder("D:\\Pictures");
        backend.files().AddDrive("E:\\", "", false);
        backend.HoldReadings();
        dialog = &Open<frmSetting>("/c");
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const auto& line : dialog->Dir.entries()) {
            lines.push_back(line.label);
        }
        return lines;
    }
    frmSetting* dialog = nullptr;
};

TEST(SlowFolderTest, TheDialogOpensBeforeItsListsAndTakesOnlyTheLatestReadings) {
    SlowDialog run;
    frmSetting& dialog = *run.dialog;
    EXPECT_TRUE(dialog.modal()) << "shown";
    EXPECT_EQ(dialog.Dir.Path.get(), "C:\\Kivo\\sample");
    EXPECT_EQ(dialog.File.Path.get(), "C:\\Kivo\\sample");
    EXPECT_EQ(dialog.lblPath.Caption.get(), "C:\\Kivo\\sample\\");
    EXPECT_EQ(dialog.File.ListCount(), 0);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"C:\\", "Kivo", "sample"}));
    EXPECT_TRUE(dialog.Drive.drives().empty());

    // Opened before the first readings arrive: the change handler runs within the assignment.
    run.backend.OpenFolder(run.app, dialog.Dir, "C:\\Photos");
    EXPECT_EQ(dialog.File.Path.get(), "C:\\Photos");
    EXPECT_EQ(dialog.lblPath.Caption.get(), "C:\\Photos");
    run.backend.ReleaseReadings(HeadlessBackend::Order::NewestFirst);
    ASSERT_EQ(dialog.File.ListCount(), 1) << "the sample folder's names came last, and late";
    EXPECT_EQ(dialog.File.List(0), "cat.bmp");
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"C:\\", "Photos", "2024"}));
    ASSERT_EQ(dialog.Drive.drives().size(), 3u);
    EXPECT_EQ(forms::DriveList::DisplayText(dialog.Drive.drives()[1]), "d: [DATA]");

    run.backend.Click(run.app, dialog.cmdOK);
    EXPECT_EQ(run.settings.writes().at(1).value, "C:\\Photos") << "what the label shows";
}

TEST(SlowFolderTest, ALaterPreviewOrDrivePickReplacesAnEarlierOneThatHasNotAnswered) {
    SlowDialog run;
    frmSetting& dialog = *run.dialog;
    run.backend.ReleaseReadings();
    run.backend.HoldReadings();
    run.backend.SelectFile(run.app, dialog.File, 0);  // sea.bmp, 40 x 30
    run.backend.SelectFile(run.app, dialog.File, 1);  // sky.bmp, 20 x 10
    EXPECT_EQ(dialog.Label1(0).Caption.get(), "sky.bmp");
    EXPECT_FALSE(static_cast<bool>(dialog.imgPreview.Picture.get())) << "nothing yet";
    run.backend.ReleaseReadings(HeadlessBackend::Order::NewestFirst);
    ASSERT_TRUE(dialog.imgPreview.Picture.get());
    EXPECT_EQ(dialog.imgPreview.Picture.get()->width_twips(), 20 * 15) << "the last clicked";

    run.backend.HoldReadings();
    run.backend.PickDrive(run.app, dialog.Drive, "E:\\");  // without medium
    run.backend.PickDrive(run.app, dialog.Drive, "D:\\");
    EXPECT_EQ(dialog.Drive.Drive.get(), "C:\\") << "until the drive answers";
    run.backend.ReleaseReadings(HeadlessBackend::Order::NewestFirst);
    EXPECT_EQ(dialog.Drive.Drive.get(), "D:\\");
    EXPECT_EQ(dialog.File.Path.get(), "D:\\");
    EXPECT_TRUE(run.backend.message_boxes().empty()) << "the answer for E: came too late";
    EXPECT_FALSE(run.backend.program_ended());
}

}  // namespace
}  // namespace kivo::testing
