#include <gtest/gtest.h>

#include "settings_dialog/frmSetting.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using forms::headless::HeldBackground;
using forms::headless::MakeBmp;
using settings_dialog::frmSetting;

// The program in settings mode, with a few files and folders on drive C, a drive D and a drive E
// without medium.
struct DialogRun : SaverHarness {
    DialogRun() {
        backend.files().AddFile("C:\\Kivo\\sample\\sea.bmp", MakeBmp(40, 30));
        backend.files().AddFile("C:\\Kivo\\sample\\readme.txt", "words");
        backend.files().AddFile("C:\\Kivo\\sample\\sky.bmp", MakeBmp(20, 10));
        backend.files().AddFolder("C:\\Kivo\\sample\\old");
        backend.files().AddFile("C:\\Photos\\cat.bmp", MakeBmp(20, 20));
        backend.files().AddFolder("C:\\Photos\\2024");
        backend.files().AddDrive("D:\\", "DATA");
        backend.files().AddFolder("D:\\Pictures");
        backend.files().AddDrive("E:\\", "", false);
    }

    frmSetting& Open() {
        stored = settings.writes().size();
        return SaverHarness::Open<frmSetting>("/c");
    }

    // The writes the program made, in order, as key=value.
    std::vector<std::string> Written() const {
        std::vector<std::string> written;
        for (auto write = settings.writes().begin() + stored; write != settings.writes().end();
             ++write) {
            EXPECT_EQ(write->application + "\\" + write->section,
                      "スライドショー(スクリーンセーバー）\\設定");
            written.push_back(write->key + "=" + write->value);
        }
        return written;
    }

    std::size_t stored = 0;
};

// What opens from what is stored (nothing: a fresh profile), and what leaving writes: OK the
// interval as typed, the stored folder text unchanged and the flag; OK on an interval it refuses
// (with a message), Cancel or the close box nothing. A stored folder on a share that does not
// answer opens the dialog at the program's folder, its questions having held the loading a
// quarter second in all.
TEST(SettingDialogTest, OpensAtTheStoredFolderOrTheNearestPlaceAndOnlyOkWritesTheThreeValues) {
    constexpr const char* kNotANumber = "数字を入力してください。";
    constexpr const char* kTooShort = "0.001以上でお願いします.";
    constexpr const char* kGone = "C:\\Photos\\gone\\deeper";  // opens at what is left of it
    struct Case {
        const char* folder;  // stored, or nothing
        const char* flag;
        const char* typed;  // nothing: as opened
        const char* opens_at;
        int checked;
        const char* refusal = nullptr;  // OK's message instead of writing
        bool silent = false;            // the file system does not answer
        std::string leave = "OK";
    };
    // clang-format off
    const std::vector<Case> cases = {
        {nullptr,         nullptr, "0.001",  "C:\\Kivo\\sample", 1},  // a fresh profile
        {nullptr,         nullptr, " 7 ",    "C:\\Kivo\\sample", 1},
        {"D:\\Pictures",  "0",     "2.50",   "D:\\Pictures",     0},
        {kGone,           "abc",   "100000", "C:\\Photos",       1},  // the nearest
        {"Z:\\Photos",    "",      nullptr,  "C:\\Kivo",         1},  // absent drive
        {"E:\\Photos",    "99999", nullptr,  "C:\\Kivo",         1},  // without medium
        {"",              "0.5",   nullptr,  "C:\\Kivo",         0},  // halves to even
        {"relative",      "1.5",   nullptr,  "C:\\Kivo",         2},
        {"D:\\Pictures",  "1",     nullptr,  "C:\\Kivo",         1, nullptr, true},
        {"D:\\Pictures",  "0",     "0.0009", "D:\\Pictures",     0, kTooShort},
        {nullptr,         nullptr, "abc",    "C:\\Kivo\\sample", 1, kNotANumber},
        {nullptr,         nullptr, "5",      "C:\\Kivo\\sample", 1, nullptr, false, "Cancel"},
        {nullptr,         nullptr, "5",      "C:\\Kivo\\sample", 1, nullptr, false, "close box"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.folder != nullptr ? c.folder : "fresh profile")
                                          << ", " << (c.typed ? c.typed : "") << ", " << c.leave);
        DialogRun run;
        if (c.folder != nullptr) {
            run.Store(settings::kFolderKey, c.folder);
            run.Store(settings::kShowFileNameKey, c.flag);
        }
        if (c.silent) {
            run.backend.background().Hold(false);
        }
        frmSetting& dialog = run.Open();
        EXPECT_EQ(run.backend.background().Now().count(), c.silent ? 250 : 0);
        const std::string folder = c.folder != nullptr ? c.folder : "C:\\Kivo\\sample\\";
        EXPECT_EQ(dialog.Drive.Drive.get(), std::string(c.opens_at, 3));
        EXPECT_EQ(dialog.Dir.Path.get(), c.opens_at);
        EXPECT_EQ(dialog.File.Path.get(), c.opens_at);
        EXPECT_EQ(dialog.lblPath.Caption.get(), folder);
        EXPECT_EQ(dialog.chkFile.Value.get(), c.checked);
        EXPECT_EQ(dialog.txtSecond.Text.get(), "3");
        EXPECT_TRUE(run.Written().empty()) << "nothing is written while open";
        if (c.typed != nullptr) {
            run.backend.Type(dialog.txtSecond, c.typed);
        }
        if (c.leave == "close box") {
            run.backend.Close(run.app, dialog);
        } else {
            run.backend.Click(run.app, c.leave == "OK" ? dialog.cmdOK : dialog.cmdCancel);
        }
        const std::vector<std::string> written = {
            "切り替え時間=" + std::string(c.typed ? c.typed : "3"), "パス=" + folder,
            "ファイル名=" + std::to_string(c.checked)};
        EXPECT_EQ(run.Written(),
                  c.leave == "OK" && !c.refusal ? written : std::vector<std::string>{});
        EXPECT_TRUE(run.backend.program_ended());
        const auto& boxes = run.backend.message_boxes();
        ASSERT_EQ(boxes.size(), c.refusal ? 1u : 0u);
        if (c.refusal) {
            EXPECT_EQ(boxes[0].prompt, c.refusal);
            EXPECT_EQ(boxes[0].style, forms::MsgBoxStyle::kOkOnly) << "OK only, no icon";
            EXPECT_EQ(boxes[0].title, "Ostra'sSlideShowScreenSaver");
        }
    }
}

// On a file system slow to list: the dialog opens before its lists, each handler runs within its
// assignment, and only the latest reading of each list is taken, however late the older one.
TEST(SettingDialogTest, ListsFollowTheFolderAndTheDriveTakingOnlyTheirLatestReadings) {
    DialogRun run;
    run.backend.background().Hold();
    frmSetting& dialog = run.Open();
    EXPECT_TRUE(dialog.modal()) << "shown";
    EXPECT_EQ(dialog.File.Path.get(), "C:\\Kivo\\sample");
    EXPECT_EQ(dialog.File.ListCount(), 0);
    EXPECT_EQ(dialog.Dir.entries().size(), 3u) << "C:\\, Kivo and sample: no subfolder yet";
    EXPECT_TRUE(dialog.Drive.drives().empty());
    run.backend.Type(dialog.txtSecond, "12");
    run.backend.OpenFolder(run.app, dialog.Dir, "C:\\Photos\\");
    EXPECT_EQ(dialog.File.Path.get(), "C:\\Photos");
    EXPECT_EQ(dialog.lblPath.Caption.get(), "C:\\Photos") << "without the trailing separator";
    run.backend.background().Release(HeldBackground::Order::NewestFirst);
    ASSERT_EQ(dialog.File.ListCount(), 1) << "the sample folder's names came last, and late";
    EXPECT_EQ(dialog.File.List(0), "cat.bmp");
    ASSERT_EQ(dialog.Dir.entries().size(), 3u) << "C:\\, Photos and 2024, not sample's old";
    EXPECT_EQ(dialog.Dir.entries().back().label, "2024");
    ASSERT_EQ(dialog.Drive.drives().size(), 3u);
    EXPECT_EQ(forms::DriveList::DisplayText(dialog.Drive.drives()[1]), "d: [DATA]");

    // While another folder is read, the list holds none of the old one's names to click.
    run.backend.background().Hold();
    run.backend.OpenFolder(run.app, dialog.Dir, "C:\\Kivo\\sample");
    EXPECT_EQ(dialog.File.ListCount(), 0);
    EXPECT_EQ(dialog.File.FileName(), "");
    run.backend.background().Release();
    EXPECT_EQ(dialog.File.ListCount(), 3);

    run.backend.background().Hold();
    run.backend.PickDrive(run.app, dialog.Drive, "E:\\");  // without medium
    run.backend.PickDrive(run.app, dialog.Drive, "D:\\");
    EXPECT_EQ(dialog.Drive.Drive.get(), "C:\\") << "until the drive answers";
    run.backend.background().Release(HeldBackground::Order::NewestFirst);
    EXPECT_EQ(dialog.File.Path.get(), "D:\\");
    EXPECT_TRUE(run.backend.message_boxes().empty()) << "the answer for E: came too late";
    run.backend.PickDrive(run.app, dialog.Drive, "E:\\");
    ASSERT_EQ(run.backend.message_boxes().size(), 1u);
    EXPECT_NE(run.backend.message_boxes()[0].prompt.find("E:"), std::string::npos);
    EXPECT_EQ(dialog.Drive.Drive.get(), "D:\\") << "the list goes back";
    run.backend.SetCheck(dialog.chkFile, 0);
    run.backend.Click(run.app, dialog.cmdOK);
    EXPECT_EQ(run.Written(),
              (std::vector<std::string>{"切り替え時間=12", "パス=D:\\", "ファイル名=0"}));
}

// Each drive's label is read on its own: one that never comes leaves the others' and the lists.
TEST(SettingDialogTest, ADriveWhoseLabelNeverComesHoldsBackOnlyItsLabel) {
    DialogRun run;
    run.backend.files().AddDrive("C:\\", "SYSTEM");
    HeldBackground& files = run.backend.background();
    files.Hold();
    frmSetting& dialog = run.Open();
    while (dialog.Drive.drives().empty() && files.waiting() > 0) {
        files.ReleaseNext();
    }
    ASSERT_EQ(dialog.Drive.drives().size(), 3u) << "the drives, before any label";
    files.NeverAnswer(files.waiting() - 2);  // D:'s, asked for after C:'s
    files.Release();
    std::vector<std::string> shown;
    for (const forms::DriveInfo& drive : dialog.Drive.drives()) {
        shown.push_back(forms::DriveList::DisplayText(drive));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"c: [SYSTEM]", "d:", "e:"}));
    EXPECT_EQ(dialog.File.ListCount(), 3);
}

TEST(SettingDialogTest, ClickingAFilePreviewsItDecodedJustLargeEnoughToFillTheBox) {
    DialogRun run;
    frmSetting& dialog = run.Open();
    run.backend.SelectFile(run.app, dialog.File, 1);  // sea.bmp
    EXPECT_EQ(dialog.Label1(0).Caption.get(), "sea.bmp");
    const forms::Picture preview = dialog.imgPreview.Picture;
    ASSERT_TRUE(preview);
    EXPECT_EQ(run.backend.loaded_picture_paths().back(), "C:\\Kivo\\sample\\sea.bmp");
    EXPECT_EQ(dialog.imgPreview.Width.get(), 2235) << "stretched: the box keeps its size";
    // The box is 149 x 109 pixels: the side that needs the larger scale to fill it decides.
    const auto& scale = run.backend.last_decode_hint().shown_scale;
    ASSERT_TRUE(scale);
    EXPECT_DOUBLE_EQ(scale(4000, 3000), 149.0 / 4000);
    EXPECT_DOUBLE_EQ(scale(1000, 100), 109.0 / 100);

    run.backend.SelectFile(run.app, dialog.File, 0);  // readme.txt
    EXPECT_EQ(dialog.Label1(0).Caption.get(), "readme.txt");
    EXPECT_EQ(dialog.imgPreview.Picture.get(), preview) << "a non-picture leaves the preview";
    EXPECT_TRUE(run.backend.message_boxes().empty());
    EXPECT_FALSE(run.backend.program_ended());

    // Decoded late: the last file clicked is previewed, though an earlier one arrives after it.
    run.backend.background().Hold();
    run.backend.SelectFile(run.app, dialog.File, 1);  // sea.bmp, 40 x 30
    run.backend.SelectFile(run.app, dialog.File, 2);  // sky.bmp, 20 x 10
    EXPECT_EQ(dialog.imgPreview.Picture.get(), preview) << "nothing new yet";
    run.backend.background().Release(HeldBackground::Order::NewestFirst);
    EXPECT_EQ(run.backend.loaded_picture_paths().back(), "C:\\Kivo\\sample\\sea.bmp");
    EXPECT_EQ(dialog.imgPreview.Picture.get()->width_twips(), 20 * 15) << "the last clicked";
}

}  // namespace
}  // namespace kivo::testing
