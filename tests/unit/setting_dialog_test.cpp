#include <gtest/gtest.h>

#include "forms_runtime/headless/headless_backend.h"
#include "settings_dialog/frmSetting.h"
#include "settings_store/settings_names.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using forms::headless::MakeBmp;
using settings_dialog::frmSetting;

constexpr const char* kNotANumber = "数字を入力してください。";
constexpr const char* kTooShort = "0.001以上でお願いします.";

// One run of the program in settings mode, with a few files and folders on drive C.
struct DialogRun {
    DialogRun() {
        auto& files = saver.backend.files();
        files.AddFile("C:\\Kivo\\sample\\sea.bmp", MakeBmp(40, 30));
        files.AddFile("C:\\Kivo\\sample\\readme.txt", "words");
        files.AddFile("C:\\Photos\\cat.bmp", MakeBmp(20, 20));
        files.AddFolder("C:\\Photos\\2024");
    }

    void Store(const char* key, const std::string& value) {
        saver.settings.Write(settings::kApplication, settings::kSection, key, value);
        stored_writes_ = saver.settings.writes().size();
    }

    frmSetting& Open() {
        saver.Start("/c");
        frmSetting* dialog = saver.Loaded<frmSetting>();
        if (dialog == nullptr) {
            throw std::runtime_error("no dialog");
        }
        return *dialog;
    }

    // The writes made by the program, in order, as key=value.
    std::vector<std::string> Written() const {
        std::vector<std::string> written;
        const auto& writes = saver.settings.writes();
        for (std::size_t i = stored_writes_; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i].application, "スライドショー(スクリーンセーバー）");
            EXPECT_EQ(writes[i].section, "設定");
            written.push_back(writes[i].key + "=" + writes[i].value);
        }
        return written;
    }

    void ExpectMessage(const std::string& prompt) const {
        ASSERT_EQ(saver.backend.message_boxes().size(), 1u);
        EXPECT_EQ(saver.backend.message_boxes()[0].prompt, prompt);
        EXPECT_EQ(saver.backend.message_boxes()[0].style, 0) << "OK only, no icon";
        EXPECT_EQ(saver.backend.message_boxes()[0].title, "Ostra'sSlideShowScreenSaver");
    }

    SaverHarness saver;
    std::size_t stored_writes_ = 0;
};

class SettingDialogTest : public ::testing::Test, public DialogRun {};

TEST_F(SettingDialogTest, FreshProfileShowsTheSampleFolderCheckedAndThree) {
    frmSetting& dialog = Open();
    EXPECT_EQ(dialog.Drive.Drive.get(), "C:\\");
    EXPECT_EQ(dialog.Dir.Path.get(), "C:\\Kivo\\sample");
    EXPECT_EQ(dialog.File.Path.get(), "C:\\Kivo\\sample");
    ASSERT_EQ(dialog.File.ListCount(), 2);
    EXPECT_EQ(dialog.File.List(0), "readme.txt");
    EXPECT_EQ(dialog.lblPath.Caption.get(), "C:\\Kivo\\sample\\") << "the stored text exactly";
    EXPECT_EQ(dialog.chkFile.Value.get(), 1);
    EXPECT_EQ(dialog.txtSecond.Text.get(), "3");
    EXPECT_TRUE(saver.settings.writes().empty()) << "nothing is written while open";
}

TEST_F(SettingDialogTest, OkAtOnceWritesTheThreeValuesInOrderAndEnds) {
    frmSetting& dialog = Open();
    saver.backend.Click(saver.app, dialog.cmdOK);
    EXPECT_EQ(Written(), (std::vector<std::string>{"切り替え時間=3", "パス=C:\\Kivo\\sample\\",
                                                   "ファイル名=1"}));
    EXPECT_TRUE(saver.backend.program_ended());
    EXPECT_TRUE(saver.backend.message_boxes().empty());
}

TEST_F(SettingDialogTest, OpeningAFolderFollowsItWithoutTrailingSeparator) {
    frmSetting& dialog = Open();
    saver.backend.OpenFolder(saver.app, dialog.Dir, "C:\\Photos\\");
    EXPECT_EQ(dialog.lblPath.Caption.get(), "C:\\Photos");
    EXPECT_EQ(dialog.File.ListCount(), 1);
    saver.backend.SetCheck(dialog.chkFile, 0);
    saver.backend.PressEnter(saver.app, dialog);
    EXPECT_EQ(Written(),
              (std::vector<std::string>{"切り替え時間=3", "パス=C:\\Photos", "ファイル名=0"}));
}

TEST_F(SettingDialogTest, PickingADriveMovesTheFolderListToIt) {
    saver.backend.files().AddDrive("D:\\", "DATA");
    saver.backend.files().AddFolder("D:\\Pictures");
    frmSetting& dialog = Open();
    saver.backend.PickDrive(saver.app, dialog.Drive, "D:\\");
    EXPECT_EQ(dialog.Dir.Path.get(), "D:\\");
    EXPECT_EQ(dialog.File.Path.get(), "D:\\");
    EXPECT_EQ(dialog.lblPath.Caption.get(), "D:\\");
}

TEST_F(SettingDialogTest, AcceptedIntervalsAreWrittenAsTyped) {
    for (const char* typed : {"0.001", "2.50", "100000", " 7 "}) {
        DialogRun run;
        frmSetting& dialog = run.Open();
        run.saver.backend.Type(dialog.txtSecond, typed);
        run.saver.backend.Click(run.saver.app, dialog.cmdOK);
        ASSERT_EQ(run.Written().size(), 3u) << typed;
        EXPECT_EQ(run.Written()[0], std::string("切り替え時間=") + typed);
        EXPECT_TRUE(run.saver.backend.message_boxes().empty());
        EXPECT_TRUE(run.saver.backend.program_ended());
    }
}

TEST_F(SettingDialogTest, RefusedIntervalsShowTheirMessageWriteNothingAndEnd) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"0.0009", kTooShort}, {"0", kTooShort},     {"-5", kTooShort},
        {"", kNotANumber},     {"abc", kNotANumber}, {"1.2.3", kNotANumber}};
    for (const auto& [typed, message] : cases) {
        DialogRun run;
        run.Store(settings::kIntervalKey, "9");
        frmSetting& dialog = run.Open();
        run.saver.backend.Type(dialog.txtSecond, typed);
        run.saver.backend.Click(run.saver.app, dialog.cmdOK);
        run.ExpectMessage(message);
        EXPECT_TRUE(run.Written().empty()) << typed;
        EXPECT_TRUE(run.saver.backend.program_ended());
        EXPECT_EQ(run.saver.settings.Read(settings::kApplication, settings::kSection,
                                          settings::kIntervalKey, ""),
                  "9");
    }
}

TEST_F(SettingDialogTest, CancelEscapeAndCloseWriteNothing) {
    {
        frmSetting& dialog = Open();
        saver.backend.Type(dialog.txtSecond, "5");
        saver.backend.Click(saver.app, dialog.cmdCancel);
        EXPECT_TRUE(Written().empty());
        EXPECT_TRUE(saver.backend.program_ended());
    }
    for (int way = 0; way < 2; ++way) {
        DialogRun run;
        frmSetting& dialog = run.Open();
        run.saver.backend.Type(dialog.txtSecond, "5");
        if (way == 0) {
            run.saver.backend.PressEscape(run.saver.app, dialog);
        } else {
            run.saver.backend.Close(run.saver.app, dialog);
        }
        EXPECT_TRUE(run.Written().empty());
        EXPECT_TRUE(run.saver.backend.program_ended());
    }
}

TEST_F(SettingDialogTest, ClickingAFilePreviewsItFromTheFolderList) {
    frmSetting& dialog = Open();
    saver.backend.SelectFile(saver.app, dialog.File, 1);  // sea.bmp
    EXPECT_EQ(dialog.Label1(0).Caption.get(), "sea.bmp");
    EXPECT_EQ(dialog.lblPreview.Caption.get(), "プレビュー");
    const forms::Picture preview = dialog.imgPreview.Picture;
    ASSERT_TRUE(preview);
    EXPECT_EQ(saver.backend.loaded_picture_paths().back(), "C:\\Kivo\\sample\\sea.bmp");
    EXPECT_EQ(dialog.imgPreview.Width.get(), 2235) << "stretched: the box keeps its size";
    EXPECT_EQ(dialog.imgPreview.Height.get(), 1635);

    saver.backend.SelectFile(saver.app, dialog.File, 0);  // readme.txt
    EXPECT_EQ(dialog.Label1(0).Caption.get(), "readme.txt");
    EXPECT_EQ(dialog.imgPreview.Picture.get(), preview) << "a non-picture leaves the preview";
    EXPECT_TRUE(saver.backend.message_boxes().empty());
    EXPECT_FALSE(saver.backend.program_ended());
}

// The preview box is 2235 x 1635 twips, 149 x 109 pixels: a picture is decoded just large enough
// to fill it both ways, however its proportions differ from the box's.
TEST_F(SettingDialogTest, PreviewPicturesAreDecodedJustLargeEnoughToFillTheBox) {
    frmSetting& dialog = Open();
    saver.backend.SelectFile(saver.app, dialog.File, 1);
    const auto& scale = saver.backend.last_decode_hint().shown_scale;
    ASSERT_TRUE(scale);
    // Narrower than the box in proportion, or taller than wide: the width decides.
    EXPECT_DOUBLE_EQ(scale(4000, 3000), 149.0 / 4000);
    EXPECT_DOUBLE_EQ(scale(3000, 4000), 149.0 / 3000);
    // A thin strip: the height decides, and the strip is stretched up.
    EXPECT_DOUBLE_EQ(scale(1000, 100), 109.0 / 100);
    EXPECT_GE(scale(40, 30), 1.0) << "small pictures keep their pixels";
}

TEST_F(SettingDialogTest, MissingStoredFolderOpensAtItsNearestAncestorAndKeepsTheSetting) {
    Store(settings::kFolderKey, "C:\\Photos\\gone\\deeper");
    frmSetting& dialog = Open();
    EXPECT_EQ(dialog.Dir.Path.get(), "C:\\Photos");
    EXPECT_EQ(dialog.lblPath.Caption.get(), "C:\\Photos\\gone\\deeper");
    saver.backend.Click(saver.app, dialog.cmdOK);
    EXPECT_EQ(Written()[1], "パス=C:\\Photos\\gone\\deeper");
}

TEST_F(SettingDialogTest, StoredFolderOnAnAbsentDriveOpensAtTheExecutablesFolder) {
    saver.backend.files().AddDrive("E:\\", "", false);
    for (const char* stored : {"Z:\\Photos", "E:\\Photos", "", "relative"}) {
        DialogRun run;
        run.saver.backend.files().AddDrive("E:\\", "", false);
        run.Store(settings::kFolderKey, stored);
        frmSetting& dialog = run.Open();
        EXPECT_FALSE(run.saver.backend.program_ended()) << stored;
        EXPECT_EQ(dialog.Dir.Path.get(), "C:\\Kivo") << stored;
        EXPECT_EQ(dialog.lblPath.Caption.get(), stored);
    }
}

TEST_F(SettingDialogTest, HandEditedFileNameFlagShowsTheDefault) {
    for (const char* stored : {"abc", "", "99999"}) {
        DialogRun run;
        run.Store(settings::kShowFileNameKey, stored);
        frmSetting& dialog = run.Open();
        EXPECT_EQ(dialog.chkFile.Value.get(), 1) << stored;
        EXPECT_FALSE(run.saver.backend.program_ended());
    }
    Store(settings::kShowFileNameKey, "0");
    EXPECT_EQ(Open().chkFile.Value.get(), 0);
}

TEST_F(SettingDialogTest, DriveWithoutMediumIsRefusedWithAMessageAndTheListGoesBack) {
    saver.backend.files().AddDrive("E:\\", "", false);
    frmSetting& dialog = Open();
    saver.backend.Type(dialog.txtSecond, "12");
    saver.backend.PickDrive(saver.app, dialog.Drive, "E:\\");

    EXPECT_FALSE(saver.backend.program_ended());
    ASSERT_EQ(saver.backend.message_boxes().size(), 1u);
    EXPECT_NE(saver.backend.message_boxes()[0].prompt.find("E:"), std::string::npos);
    EXPECT_EQ(dialog.Drive.Drive.get(), "C:\\");
    EXPECT_EQ(dialog.Dir.Path.get(), "C:\\Kivo\\sample");
    EXPECT_EQ(dialog.txtSecond.Text.get(), "12") << "what the user typed is kept";
}

}  // namespace
}  // namespace kivo::testing
